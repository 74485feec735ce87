inherited BadInstallForm: TBadInstallForm
  Caption = 'Setup incomplete'
  inherited pnlContent: TPanel
    object TopLabel: TTranslateLabel
      Left = 5
      Top = 5
      Width = 324
      Height = 28
      Align = alTop
      Caption = 'This software has not been properly installed and will not work ' +
        'correctly if you try to use it.'
      WordWrap = True
      GLID = 60
    end
  end
end
