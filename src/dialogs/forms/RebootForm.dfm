inherited RebootForm: TRebootForm
  Caption = 'Reboot windows'
  ClientWidth = 475
  FormStyle = fsNormal
  inherited pnlButtons: TPanel
    Width = 475
    inherited bvlButtons: TBevel
      Width = 475
    end
  end
  inherited pnlContent: TPanel
    Width = 339
    object Label1: TTranslateLabel
      Left = 5
      Top = 5
      Width = 329
      Height = 70
      Align = alTop
      Caption = 'Several components could not be installed on your system because' +
        ' they were in use. For the installation to proceed, you will need' +
        ' to reboot your computer. If you decide not to reboot now, the so' +
        'ftware will probably not work until you do reboot.'
      WordWrap = True
      GLID = 52
    end
    object lblSpacer: TLabel
      Left = 5
      Top = 75
      Width = 329
      Height = 7
      Align = alTop
      AutoSize = False
    end
    object RG: TRadioGroup
      Left = 5
      Top = 82
      Width = 329
      Height = 73
      Align = alTop
      Items.Strings = (
        'Yes, I would like to reboot windows'
        'No, I would not like to reboot windows')
      TabOrder = 0
      OnClick = RGClick
    end
  end
end
