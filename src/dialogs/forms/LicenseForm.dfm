inherited LicenseForm: TLicenseForm
  Caption = 'Software license agreement'
  inherited pnlContent: TPanel
    object lblReadLicense: TTranslateLabel
      Left = 8
      Top = 8
      Width = 318
      Height = 14
      Align = alTop
      Caption = 'Please read the following License Agreement.'
      WordWrap = True
      GLID = 2
    end
    object lblSpacer1: TTranslateLabel
      Left = 8
      Top = 22
      Width = 318
      Height = 6
      Align = alTop
      AutoSize = False
    end
    object lblAgree: TTranslateLabel
      Left = 8
      Top = 28
      Width = 318
      Height = 42
      Align = alTop
      Caption = 
        'By clicking on the Next button below, you agree to all terms sta' +
        'ted in the License Agreement. You may cancel the installation by' +
        ' clicking on the Cancel button.'
      WordWrap = True
      GLID = 3
    end
    object lblSpacer2: TTranslateLabel
      Left = 8
      Top = 70
      Width = 318
      Height = 8
      Align = alTop
      AutoSize = False
    end
    object Agreement: TRichEdit
      Left = 8
      Top = 78
      Width = 318
      Height = 237
      Align = alClient
      Font.Charset = GB2312_CHARSET
      Font.Color = clBlack
      Font.Height = -12
      Font.Name = 'Arial'
      Font.Style = []
      Lines.Strings = (
        'This box holds the licence agreement of the product.'
        'Replace these lines with your own licence text in the Agreement lines of this page before you build the setup.')
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
