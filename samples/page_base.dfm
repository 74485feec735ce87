object fmPage: TDemoForm
  Width = 474
  Height = 336
  Caption = 'Setup'
  object TitleLabel: TDemoLabel
    Left = 16
    Top = 8
    Caption = 'Page title'
    Font.Style = [fsBold]
  end
  object ButtonPanel: TDemoPanel
    Align = alBottom
    Height = 41
    object BackButton: TDemoButton
      Left = 216
      Top = 8
      Caption = '< &Back'
    end
    object NextButton: TDemoButton
      Left = 296
      Top = 8
      Caption = '&Next >'
      Default = True
    end
  end
end
