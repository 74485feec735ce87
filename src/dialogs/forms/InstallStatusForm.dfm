inherited InstallStatusForm: TInstallStatusForm
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsNone
  ClientHeight = 58
  ClientWidth = 428
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Arial'
  Font.Style = []
  object pnlBack: TPanel
    Left = 0
    Top = 0
    Width = 428
    Height = 58
    Align = alClient
    BevelOuter = bvNone
    TabOrder = 0
    object Image1: TImage
      Left = 0
      Top = 0
      Width = 49
      Height = 58
      Align = alLeft
      Center = True
    end
    object pnlMessage: TPanel
      Left = 49
      Top = 0
      Width = 379
      Height = 58
      Align = alClient
      BevelOuter = bvNone
      BorderWidth = 5
      TabOrder = 0
      object lblMessage: TLabel
        Left = 6
        Top = 22
        Width = 367
        Height = 14
        WordWrap = True
      end
    end
  end
end
