inherited SelectFolderForm: TSelectFolderForm
  Caption = 'Select folder in start menu'
  OnResize = FormResize
  inherited pnlButtons: TPanel
    object CancelBtn: TTranslateBitBtn
      Left = 368
      Top = 15
      Width = 89
      Height = 25
      Cancel = True
      Caption = 'Cancel'
      TabOrder = 2
      OnClick = CancelBtnClick
      GLID = 6
    end
  end
  inherited pnlContent: TPanel
    object lblFolderInfo: TTranslateLabel
      Left = 8
      Top = 8
      Width = 318
      Height = 42
      Align = alTop
      Caption = 'Setup will add program icons to the Program Folder listed below. ' +
        'You may type a new folder name, or select from the E&xisting Folders list.'
      WordWrap = True
      GLID = 41
    end
    object lblSpacer1: TTranslateLabel
      Left = 8
      Top = 50
      Width = 318
      Height = 18
      Align = alTop
      AutoSize = False
    end
    object lblProgramFolder: TTranslateLabel
      Left = 8
      Top = 68
      Width = 318
      Height = 14
      Align = alTop
      Caption = '&Program Folder'
      FocusControl = FolderEdit
      WordWrap = True
      GLID = 42
    end
    object lblSpacer4: TTranslateLabel
      Left = 8
      Top = 82
      Width = 318
      Height = 3
      Align = alTop
      AutoSize = False
    end
    object FolderEdit: TEdit
      Left = 8
      Top = 85
      Width = 318
      Height = 21
      Align = alTop
      TabOrder = 0
      OnChange = FolderEditChange
    end
    object lblSpacer2: TTranslateLabel
      Left = 8
      Top = 106
      Width = 318
      Height = 8
      Align = alTop
      AutoSize = False
    end
    object lblExistingFolders: TTranslateLabel
      Left = 8
      Top = 114
      Width = 318
      Height = 14
      Align = alTop
      Caption = 'E&xisting Folders'
      FocusControl = FolderListBox
      WordWrap = True
      GLID = 43
    end
    object lblSpacer3: TTranslateLabel
      Left = 8
      Top = 307
      Width = 318
      Height = 8
      Align = alBottom
      AutoSize = False
    end
    object FolderListBox: TListBox
      Left = 8
      Top = 128
      Width = 318
      Height = 179
      Align = alClient
      ItemHeight = 14
      Sorted = True
      TabOrder = 1
      OnClick = FolderListBoxClick
    end
  end
end
