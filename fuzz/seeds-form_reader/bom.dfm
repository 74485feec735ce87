object fmDemo: TDemoForm
  Caption = 'Demo'
  OldCreateOrder = False
  Scaled = False
  object Label1: TDemoLabel
    Caption = 'Name'
    FocusControl = Button1
  end
  object Button1: TDemoButton
    Caption = 'OK'
    OnClick = ButtonClick
  end
end
