object fmDemo: TDemoForm
  OldCreateOrder = 1.5e3
  Scaled = [a, b]
  OldCreateOrder = ('a' 1 x)
  Scaled = {0A0B}
  Scaled = <item A = 1 end>
  Scaled = 'x' + #13#10
  Scaled.Below = $FF
  Caption = 'Kept'
end
