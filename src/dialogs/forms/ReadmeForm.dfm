inherited ReadmeForm: TReadmeForm
  Caption = 'Readme information'
  inherited pnlContent: TPanel
    object lblReadInformation: TTranslateLabel
      Left = 8
      Top = 8
      Width = 318
      Height = 28
      Align = alTop
      Caption = 
        'Please read the information below before you install this softwa' +
        're on your computer.'
      WordWrap = True
      GLID = 8
    end
    object lblSpacer1: TTranslateLabel
      Left = 8
      Top = 36
      Width = 318
      Height = 8
      Align = alTop
      AutoSize = False
    end
    object Information: TRichEdit
      Left = 8
      Top = 44
      Width = 318
      Height = 271
      Align = alClient
      Font.Charset = GB2312_CHARSET
      Font.Color = clBlack
      Font.Height = -12
      Font.Name = 'Arial'
      Font.Style = []
      Lines.Strings = (
        'This box holds what a user should know before installing: release notes, requirements and known problems.'
        'Replace these lines with your own text in the Information lines of this page before you build the setup.')
      ParentFont = False
      ReadOnly = True
      ScrollBars = ssVertical
      TabOrder = 0
    end
  end
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
end
