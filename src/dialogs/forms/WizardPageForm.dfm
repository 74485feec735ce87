inherited WizardPageForm: TWizardPageForm
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'WizardPageForm'
  ClientHeight = 368
  ClientWidth = 470
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clBlack
  Font.Height = -11
  Font.Name = 'Arial'
  Font.Style = []
  FormStyle = fsStayOnTop
  Position = poScreenCenter
  object pnlButtons: TPanel
    Left = 0
    Top = 323
    Width = 470
    Height = 45
    Align = alBottom
    BevelOuter = bvNone
    TabOrder = 1
    object bvlButtons: TBevel
      Left = 0
      Top = 0
      Width = 470
      Height = 2
      Align = alTop
      Shape = bsTopLine
    end
    object BackBtn: TTranslateBitBtn
      Left = 208
      Top = 15
      Width = 75
      Height = 25
      Caption = '< Previous'
      TabOrder = 0
      OnClick = BackBtnClick
      GLID = 4
    end
    object ProceedBtn: TTranslateBitBtn
      Left = 288
      Top = 15
      Width = 75
      Height = 25
      Caption = 'Next >'
      Default = True
      TabOrder = 1
      OnClick = ProceedBtnClick
      GLID = 5
    end
  end
  object pnlLeft: TPanel
    Left = 0
    Top = 0
    Width = 136
    Height = 323
    Align = alLeft
    BevelOuter = bvNone
    TabOrder = 2
    object ThemeBitmap: TImage
      Left = 0
      Top = 0
      Width = 136
      Height = 323
      Align = alClient
      Center = True
    end
  end
  object pnlContent: TPanel
    Left = 136
    Top = 0
    Width = 334
    Height = 323
    Align = alClient
    BevelOuter = bvNone
    BorderWidth = 8
    TabOrder = 0
  end
end
