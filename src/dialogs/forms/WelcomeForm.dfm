inherited WelcomeForm: TWelcomeForm
  Caption = 'Welcome'
  inherited pnlContent: TPanel
    object lblWelcome: TTranslateLabel
      Left = 8
      Top = 8
      Width = 318
      Height = 28
      Align = alTop
      Caption = 'This program will install the software on your computer.'
      WordWrap = True
      GLID = 10
    end
    object lblSpacer1: TTranslateLabel
      Left = 8
      Top = 36
      Width = 318
      Height = 14
      Align = alTop
      AutoSize = False
    end
    object lblCloseOthers: TTranslateLabel
      Left = 8
      Top = 50
      Width = 318
      Height = 56
      Align = alTop
      Caption = 
        'It is strongly recommended that you exit all Windows programs be' +
        'fore running this setup. If you need to close any programs, clic' +
        'k Cancel to quit the setup and then close the programs.'
      WordWrap = True
      GLID = 11
    end
    object lblSpacer2: TTranslateLabel
      Left = 8
      Top = 106
      Width = 318
      Height = 14
      Align = alTop
      AutoSize = False
    end
    object lblClickNext: TTranslateLabel
      Left = 8
      Top = 120
      Width = 318
      Height = 14
      Align = alTop
      Caption = 'Click Next to continue with the installation.'
      WordWrap = True
      GLID = 12
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
