inherited GoodInstallForm: TGoodInstallForm
  Caption = 'Setup complete'
  inherited pnlContent: TPanel
    object Label1: TTranslateLabel
      Left = 5
      Top = 5
      Width = 324
      Height = 28
      Align = alTop
      Caption = 'The software has been properly installed. You may start the soft' +
        'ware by clicking on the icon.'
      WordWrap = True
      GLID = 38
    end
  end
end
