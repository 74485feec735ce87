object DemoForm: TForm
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Quenby Database Engine setup'
  ClientHeight = 240
  ClientWidth = 400
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Arial'
  Font.Style = []
  Position = poScreenCenter
  object pnlTitle: TPanel
    Left = 0
    Top = 0
    Width = 400
    Height = 40
    Align = alTop
    BevelOuter = bvNone
    Caption = 'Welcome'
    Color = clNavy
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clYellow
    Font.Height = -16
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object pnlButtons: TPanel
    Left = 0
    Top = 195
    Width = 400
    Height = 45
    Align = alBottom
    BevelOuter = bvNone
    object btnBack: TButton
      Left = 128
      Top = 10
      Width = 75
      Height = 25
      Caption = '< &Previous'
      Enabled = False
    end
    object btnNext: TButton
      Left = 208
      Top = 10
      Width = 75
      Height = 25
      Caption = '&Next >'
      Default = True
      ModalResult = mrOk
    end
    object btnCancel: TButton
      Left = 296
      Top = 10
      Width = 89
      Height = 25
      Cancel = True
      Caption = 'Cancel'
      ModalResult = mrCancel
    end
  end
  object pnlBody: TPanel
    Left = 0
    Top = 40
    Width = 400
    Height = 155
    Align = alClient
    BevelOuter = bvNone
    BorderWidth = 8
    object lblIntro: TLabel
      Left = 8
      Top = 8
      Width = 384
      Height = 28
      Align = alTop
      Caption = 
        'This program will install the Quenby Database Engine on your co' +
        'mputer.'
      WordWrap = True
    end
    object lblFolder: TLabel
      Left = 8
      Top = 48
      Caption = 'Destination &folder:'
    end
    object edFolder: TEdit
      Left = 8
      Top = 64
      Width = 260
      Height = 21
      TabOrder = 0
      Text = 'C:\Program Files\Quenby'
    end
    object chkShortcut: TCheckBox
      Left = 8
      Top = 96
      Width = 200
      Height = 17
      Caption = 'Create a program &group'
      Checked = True
      State = cbChecked
    end
    object rgType: TRadioGroup
      Left = 220
      Top = 90
      Width = 170
      Height = 57
      Caption = 'Setup type'
      ItemIndex = 0
      Items.Strings = (
        'Typical'
        'Custom')
    end
  end
end
