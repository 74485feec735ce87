object fmDemo: TDemoForm
  Left = 0
  Top = 0
  Width = 480
  Height = 435
  Caption = 'Quenby Database Engine 8.2.0 '#23433#35013
  Color = clNavy
  Font.Charset = GB2312_CHARSET
  Font.Name = 'SimSun'
  Font.Size = 9
  OnCreate = FormCreate
  object BackDrop: TDemoPanel
    Align = alClient
    Color = clBlue
    object ProductLabel: TDemoLabel
      Left = 24
      Top = 16
      Width = 420
      Height = 40
      Alignment = taCenter
      Caption = 'Quenby Database Engine'
      Font.Color = clYellow
      Font.Size = 24
      Font.Style = [fsBold, fsItalic]
    end
  end
  object InfoPanel: TDemoPanel
    Left = 40
    Top = 80
    Width = 400
    Height = 260
    Caption = ''
    object Readme: TDemoMemo
      Align = alTop
      Height = 120
      Lines.Strings = (
        'This setup installs the Quenby Database Engine.'
        'Close every program that uses the engine before you continue.'
        ''
        'Tab'#9'separated'#9'text, and a quote: '''
        'The engine''s files go to ' +
          'C:\Program Files\Common Files\Quenby')
    end
    object Files: TDemoListView
      Top = 130
      Width = 400
      Height = 90
      Columns = <
        item
          Caption = 'File'
          Width = 200
        end
        item
          Caption = 'Size'
        end>
    end
    object Logo: TDemoImage
      Left = 4
      Top = 224
      Width = 32
      Height = 32
      Zoom = 0.5
      Picture.Data = {
        424D3E000000000000003E00000028000000020000000200000001000100
        00000000000000000000000000000000000000000000000000000000FFFFFF00
        80000000C0000000}
    end
    object NextButton: TDemoButton
      Left = 320
      Top = 228
      Width = 75
      Height = 25
      Caption = '&Next >'
      Default = True
      ModalResult = 1
      OnClick = ButtonClick
    end
    object NextLabel: TDemoLabel
      Left = 200
      Top = 232
      Caption = 'Press Next to start'
      FocusControl = NextButton
    end
  end
  object MainTranslator: TDemoComponent
    Strings.Strings = (
      '1;Next'
      '2;Back'
      '#3'
      'A memo line'
      '#')
    Link = Install1
  end
  object Install1: TDemoComponent
    Order = 0
    Link = InfoPanel
  end
end
