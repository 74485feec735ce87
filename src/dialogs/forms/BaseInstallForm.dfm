inherited BaseInstallForm: TBaseInstallForm
  Caption = 'BaseInstallForm'
end
