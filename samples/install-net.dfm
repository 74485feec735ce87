object fmMain: TfmMain
  Left = 0
  Top = 0
  Width = 640
  Height = 480
  Caption = 'Quenby Database Engine 8.2.0 Setup'
  OnCreate = FormCreate
  object psQDEDLL: TpsQDEDLL
  end
  object psCommonFiles: TpsCommonFiles
  end
  object psContainerArchiveFile: TpsContainerArchiveFile
  end
  object psContainerDestDir: TpsContainerDestDir
  end
  object psDesktopMenu: TpsDesktopMenu
  end
  object psInstallSource: TpsInstallSource
  end
  object psMainInstall: TpsMainInstall
  end
  object psProgramFiles: TpsProgramFiles
  end
  object psProgramMenu: TpsProgramMenu
  end
  object psStartMenu: TpsStartMenu
  end
  object psStartupMenu: TpsStartupMenu
  end
  object psSystem: TpsSystem
  end
  object psMainArchiveFile: TpsMainArchiveFile
  end
  object psWindow: TpsWindow
  end
  object CopyFileDlg: TCopyFileDlg
    Container = Install1
    DialogManager = DialogManager3
  end
  object InstallStatusDlg: TInstallStatusDlg
    Container = Install1
  end
  object GoodInstallationDlg: TGoodInstallationDlg
    Container = Install1
    DialogManager = DialogManager1
    Order = 10
  end
  object DialogManager5: TDialogManager
    Container = Install1
    ManagerType = dmReboot
  end
  object DialogManager4: TDialogManager
    Container = Install1
    ManagerType = dmChangeDisk
  end
  object DialogManager3: TDialogManager
    Container = Install1
    ManagerType = dmDuringCopyFiles
  end
  object DialogManager2: TDialogManager
    Container = Install1
    ManagerType = dmAfterBadInstall
  end
  object DialogManager1: TDialogManager
    Container = Install1
    ManagerType = dmAfterGoodInstall
  end
  object DialogManager: TDialogManager
    Container = Install1
  end
  object NetLocation1: TNetInstallLocation
    LoginInformation.Directory = 'quenby/8.2'
    LoginInformation.Hostname = 'localhost:8080'
  end
  object Install1: TInstall
    ArchiveFileType = psMainArchiveFile
    AutoMaximizeWindow = False
    DestDirType = psProgramFiles
    DestDir = '\Quenby'
    DistributeType = dtWeb
    GroupName = 'Quenby Database Engine'
    Information.CompanyName = 'Quenby'
    Information.ProductName = 'Quenby Database Engine'
    Information.Version = '8.2.0'
    InstallTypes = [itCustom]
    NetLocation = NetLocation1
    OnUserAbort = ConfirmCancel
    RunAutomatic = True
    UseLoadingProgram = True
  end
  object RebootDlg: TRebootDlg
    Container = Install1
    DialogManager = DialogManager5
    Order = 10
  end
  object grpEngine: TInstallFileGroup
    ArchiveFileType = psContainerArchiveFile
    Container = Install1
    DestDirType = psContainerDestDir
    DestDir = '\Engine'
    GroupName = 'Engine files'
    Description.Strings = (
      'The engine''s libraries, locale files, manager and help')
  end
  object ifQDENG32_DLL: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'QDENG32.DLL'
    FileName = 'QDENG32.DLL'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 1
    OverwriteMode = owVersionDate
    UniqueID = 1
  end
  object ifQDLOC32_DLL: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'QDLOC32.DLL'
    FileName = 'QDLOC32.DLL'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 2
    OverwriteMode = owVersionDate
    UniqueID = 2
  end
  object ifQDDRV32_DLL: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'QDDRV32.DLL'
    FileName = 'QDDRV32.DLL'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 3
    OverwriteMode = owVersionDate
    UniqueID = 3
  end
  object ifQDBMV32_DLL: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'QDBMV32.DLL'
    FileName = 'QDBMV32.DLL'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 4
    OverwriteMode = owVersionDate
    UniqueID = 4
  end
  object ifQDENG32_CNF: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'QDENG32.CNF'
    FileName = 'QDENG32.CNF'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 5
    UniqueID = 5
  end
  object iflceast_qlt: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'lceast.qlt'
    FileName = 'lceast.qlt'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 6
    UniqueID = 6
  end
  object iflcwest_qlt: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'lcwest.qlt'
    FileName = 'lcwest.qlt'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 7
    UniqueID = 7
  end
  object iflcasia_qlt: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'lcasia.qlt'
    FileName = 'lcasia.qlt'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 8
    UniqueID = 8
  end
  object iflcjpn_qlt: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'lcjpn.qlt'
    FileName = 'lcjpn.qlt'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 9
    UniqueID = 9
  end
  object iflcmisc_qlt: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'lcmisc.qlt'
    FileName = 'lcmisc.qlt'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 10
    UniqueID = 10
  end
  object iflcus_qlt: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'lcus.qlt'
    FileName = 'lcus.qlt'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 11
    UniqueID = 11
  end
  object ifcharset_qcv: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'charset.qcv'
    FileName = 'charset.qcv'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 12
    UniqueID = 12
  end
  object ifqdcvt_dll: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'qdcvt.dll'
    FileName = 'qdcvt.dll'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 13
    OverwriteMode = owVersionDate
    UniqueID = 13
  end
  object ifQDRS0009_DLL: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'QDRS0009.DLL'
    FileName = 'QDRS0009.DLL'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 14
    OverwriteMode = owVersionDate
    UniqueID = 14
  end
  object ifQDMGR_EXE: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'QDMGR.EXE'
    FileName = 'QDMGR.EXE'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 15
    OverwriteMode = owVersionDate
    UniqueID = 15
  end
  object ifQDMGR_HLP: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'QDMGR.HLP'
    FileName = 'QDMGR.HLP'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 16
    UniqueID = 16
  end
  object ifQDMGR_CNT: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'QDMGR.CNT'
    FileName = 'QDMGR.CNT'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 17
    UniqueID = 17
  end
  object ifQDMGR_CPL: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'QDMGR.CPL'
    FileName = 'QDMGR.CPL'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 18
    OverwriteMode = owVersionDate
    UniqueID = 18
  end
  object ifQDVLT32_DLL: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'QDVLT32.DLL'
    FileName = 'QDVLT32.DLL'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 19
    OverwriteMode = owVersionDate
    UniqueID = 19
  end
  object ifQDVOB32_DLL: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'QDVOB32.DLL'
    FileName = 'QDVOB32.DLL'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 20
    OverwriteMode = owVersionDate
    UniqueID = 20
  end
  object ifQDTXT32_DLL: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'QDTXT32.DLL'
    FileName = 'QDTXT32.DLL'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 21
    OverwriteMode = owVersionDate
    UniqueID = 21
  end
  object ifQDFOL32_DLL: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'QDFOL32.DLL'
    FileName = 'QDFOL32.DLL'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 22
    OverwriteMode = owVersionDate
    UniqueID = 22
  end
  object ifQDOBR32_DLL: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'QDOBR32.DLL'
    FileName = 'QDOBR32.DLL'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 23
    OverwriteMode = owVersionDate
    UniqueID = 23
  end
  object ifQDTAB32_DLL: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'QDTAB32.DLL'
    FileName = 'QDTAB32.DLL'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 24
    OverwriteMode = owVersionDate
    UniqueID = 24
  end
  object ifQDLSQ32_DLL: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'QDLSQ32.DLL'
    FileName = 'QDLSQ32.DLL'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 25
    OverwriteMode = owVersionDate
    UniqueID = 25
  end
  object ifQDQBF32_DLL: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'QDQBF32.DLL'
    FileName = 'QDQBF32.DLL'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 26
    OverwriteMode = owVersionDate
    UniqueID = 26
  end
  object ifQLKKST32_DLL: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'QLKKST32.DLL'
    FileName = 'QLKKST32.DLL'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 27
    OverwriteMode = owVersionDate
    UniqueID = 27
  end
  object ifQLKHCL32_DLL: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'QLKHCL32.DLL'
    FileName = 'QLKHCL32.DLL'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 28
    OverwriteMode = owVersionDate
    UniqueID = 28
  end
  object ifQLKOSP32_DLL: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'QLKOSP32.DLL'
    FileName = 'QLKOSP32.DLL'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 29
    OverwriteMode = owVersionDate
    UniqueID = 29
  end
  object ifSRVLNK32_HLP: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'SRVLNK32.HLP'
    FileName = 'SRVLNK32.HLP'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 30
    UniqueID = 30
  end
  object ifSRVLNK32_CNT: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpEngine
    DestDirType = psContainerDestDir
    DestName = 'SRVLNK32.CNT'
    FileName = 'SRVLNK32.CNT'
    IncludeFromDir = 'C:\Authoring\Engine82'
    Order = 31
    UniqueID = 31
  end
  object UninstallProgram: TUninstallEXE
    ArchiveFileType = psContainerArchiveFile
    Container = Install1
    DestDirType = psContainerDestDir
    DestName = 'uninstall.exe'
    FileName = 'uninstall.exe'
    IncludeFromDir = 'C:\Pellmore'
    UniqueID = 32
  end
  object psObjectLink: TpsObjectLink
  end
  object MainFolder: TMainLinkGroup
    Container = Install1
    DestDir = '\Quenby Database Engine'
  end
  object lnkAdministrator: TInstallShellLink
    Container = MainFolder
    DestDirType = psContainerDestDir
    LinkName = 'Engine Administrator.lnk'
    ObjectLink = ifQDMGR_EXE
    TargetType = psObjectLink
  end
  object lnkUninstall: TInstallShellLink
    Container = MainFolder
    DestDirType = psContainerDestDir
    LinkName = 'Uninstall Quenby Database Engine.lnk'
    ObjectLink = UninstallProgram
    TargetType = psObjectLink
  end
end
