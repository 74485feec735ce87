inherited BaseChangeDiskForm: TBaseChangeDiskForm
  Caption = 'BaseChangeDiskForm'
end
