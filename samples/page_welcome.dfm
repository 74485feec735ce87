inherited fmWelcome: TDemoPage
  Caption = 'Welcome'
  inherited TitleLabel: TDemoLabel
    Caption = 'Welcome to the Quenby Database Engine setup'
  end
  inherited ButtonPanel: TDemoPanel
    inherited BackButton: TDemoButton
      Visible = False
      OnClick = BackClick
    end
    inherited NextButton: TDemoButton
      OnClick = NextClick
    end
  end
  object WelcomeText: TDemoMemo
    Top = 40
    Height = 200
    Lines.Strings = (
      'This program installs the engine on your computer.')
  end
end
