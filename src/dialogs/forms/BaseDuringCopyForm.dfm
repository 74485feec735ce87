inherited BaseDuringCopyForm: TBaseDuringCopyForm
  Caption = 'BaseDuringCopyForm'
end
