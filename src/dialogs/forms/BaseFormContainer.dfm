inherited BaseFormContainer: TBaseFormContainer
  Width = 478
  Height = 395
  Caption = 'Setup'
  object TabStrip: TPageControl
    Left = 0
    Top = 0
    Width = 472
    Height = 0
    Align = alTop
    Visible = False
  end
  object DisplayPanel: TPanel
    Left = 0
    Top = 0
    Width = 472
    Height = 374
    Align = alClient
    BevelOuter = bvNone
    Caption = ''
  end
end
