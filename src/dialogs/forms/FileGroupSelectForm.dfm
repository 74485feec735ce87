inherited FileGroupSelectForm: TFileGroupSelectForm
  Caption = 'Select components to install'
  inherited pnlButtons: TPanel
    object CancelBtn: TTranslateBitBtn
      Left = 368
      Top = 15
      Width = 89
      Height = 25
      Caption = 'Cancel'
      Cancel = True
      TabOrder = 2
      OnClick = CancelBtnClick
      GLID = 6
    end
  end
  inherited pnlContent: TPanel
    BorderWidth = 5
    object TopDescriptionLabel: TTranslateLabel
      Left = 5
      Top = 5
      Width = 324
      Height = 42
      Align = alTop
      Caption = 
        'Select the components you want to install, clear the components' +
        ' you do not want to install. Double click on a group to see all ' +
        'of its subgroups.'
      WordWrap = True
      GLID = 28
    end
    object lblSpacer1: TLabel
      Left = 5
      Top = 47
      Width = 324
      Height = 7
      Align = alTop
      AutoSize = False
    end
    object lblSpacer2: TLabel
      Left = 5
      Top = 54
      Width = 324
      Height = 7
      Align = alTop
      AutoSize = False
    end
    object pnlGroups: TPanel
      Left = 5
      Top = 61
      Width = 324
      Height = 120
      Align = alTop
      BevelOuter = bvNone
      TabOrder = 0
      object pnlIncludeBack: TPanel
        Left = 0
        Top = 0
        Width = 20
        Height = 120
        Align = alLeft
        BevelOuter = bvNone
        TabOrder = 0
        object pnlInclude: TPanel
          Left = 0
          Top = 0
          Width = 20
          Height = 120
          Align = alClient
          BevelOuter = bvNone
          TabOrder = 0
          object pnIncludeRightDivider: TPanel
            Left = 17
            Top = 0
            Width = 3
            Height = 120
            Align = alRight
            BevelOuter = bvNone
            TabOrder = 0
          end
        end
        object pnlIncludeSpacer: TPanel
          Left = 0
          Top = 104
          Width = 20
          Height = 16
          Align = alBottom
          BevelOuter = bvNone
          TabOrder = 1
          Visible = False
        end
      end
      object pnlSizeBack: TPanel
        Left = 214
        Top = 0
        Width = 110
        Height = 120
        Align = alRight
        BevelOuter = bvNone
        TabOrder = 1
        object pnlSize: TPanel
          Left = 0
          Top = 0
          Width = 110
          Height = 120
          Align = alClient
          BevelOuter = bvNone
          TabOrder = 0
          object pnlSizeRightDivider: TPanel
            Left = 107
            Top = 0
            Width = 3
            Height = 120
            Align = alRight
            BevelOuter = bvNone
            TabOrder = 0
          end
        end
        object pnlSizeSpacer: TPanel
          Left = 0
          Top = 104
          Width = 110
          Height = 16
          Align = alBottom
          BevelOuter = bvNone
          TabOrder = 1
          Visible = False
        end
      end
    end
    object pnlGroupDesc: TPanel
      Left = 5
      Top = 181
      Width = 324
      Height = 18
      Align = alTop
      BevelOuter = bvNone
      TabOrder = 1
      object GroupDescLabel: TTranslateLabel
        Left = 0
        Top = 3
        Width = 54
        Height = 14
        Caption = 'Description'
        Visible = False
        GLID = 29
      end
    end
    object pnlDescriptionMemo: TPanel
      Left = 5
      Top = 199
      Width = 324
      Height = 35
      Align = alClient
      BevelOuter = bvNone
      TabOrder = 2
      Visible = False
      object DescriptionMemo: TMemo
        Left = 0
        Top = 0
        Width = 324
        Height = 35
        Align = alClient
        ReadOnly = True
        ScrollBars = ssVertical
        TabOrder = 0
        Visible = False
      end
    end
    object DirectoryGroupBox: TGroupBox
      Left = 5
      Top = 234
      Width = 324
      Height = 42
      Align = alBottom
      Caption = 'Destination Directory'
      TabOrder = 3
      object DirectoryLabel: TEdit
        Left = 8
        Top = 15
        Width = 209
        Height = 21
        TabOrder = 0
        OnChange = DirectoryLabelChange
      end
      object BrowseBtn: TTranslateBitBtn
        Left = 225
        Top = 14
        Width = 91
        Height = 23
        Caption = '&Browse...'
        TabOrder = 1
        OnClick = BrowseBtnClick
        GLID = 48
      end
    end
    object pnlDriveSpace: TPanel
      Left = 5
      Top = 276
      Width = 324
      Height = 42
      Align = alBottom
      BevelOuter = bvNone
      BorderWidth = 1
      TabOrder = 4
    end
  end
  object ilDriveSpace: TImageList
  end
end
