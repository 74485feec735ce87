object fmMain: TfmMain
  Left = 0
  Top = 0
  Width = 640
  Height = 480
  Caption = 'Larkspur Notes 1.0 Setup'
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
  object psObjectLink: TpsObjectLink
  end
  object WelcomeDlg: TWelcomeDlg
    Container = Install1
    DialogManager = DialogManager
    Order = 5
  end
  object LicenseDlg: TLicenseDlg
    Container = Install1
    DialogManager = DialogManager
    Order = 20
    Agreement.Strings = (
      'LARKSPUR NOTES LICENCE AGREEMENT'
      ''
      'Larkspur Notes is made by Larkspur Software. You may install it on any number of computers that you use yourself, and make copies of it for backup. You may not sell it or pass it on as part of another product.'
      ''
      'Larkspur Notes comes as it is, without any warranty. Larkspur Software is not liable for anything lost through its use.')
  end
  object SelectFolderDlg: TSelectFolderDlg
    Container = Install1
    DialogManager = DialogManager
    Order = 60
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
  object RebootDlg: TRebootDlg
    Container = Install1
    DialogManager = DialogManager5
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
  object Install1: TInstall
    ArchiveFileType = psMainArchiveFile
    AutoMaximizeWindow = False
    DestDirType = psProgramFiles
    DestDir = '\Larkspur\Notes'
    GroupName = 'Larkspur Notes'
    Information.CompanyName = 'Larkspur Software'
    Information.ProductName = 'Larkspur Notes'
    Information.Version = '1.0'
    InstallTypes = [itCustom]
    OnUserAbort = ConfirmCancel
    RunAutomatic = True
    UseLoadingProgram = True
  end
  object grpProgram: TInstallFileGroup
    ArchiveFileType = psContainerArchiveFile
    Container = Install1
    DestDirType = psMainInstall
    GroupName = 'Larkspur Notes'
    Description.Strings = (
      'The two programs, their help and the licence')
  end
  object ifLARKNOTE_EXE: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpProgram
    DestDirType = psContainerDestDir
    DestName = 'LARKNOTE.EXE'
    FileName = 'LARKNOTE.EXE'
    IncludeFromDir = 'C:\Larkspur\Release'
    Order = 1
    OverwriteMode = owVersionDate
    UniqueID = 1
  end
  object ifLARKSYNC_EXE: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpProgram
    DestDirType = psContainerDestDir
    DestName = 'LARKSYNC.EXE'
    FileName = 'LARKSYNC.EXE'
    IncludeFromDir = 'C:\Larkspur\Release'
    Order = 2
    OverwriteMode = owVersionDate
    UniqueID = 2
  end
  object ifNOTES_HTM: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpProgram
    DestDirType = psContainerDestDir
    DestName = 'NOTES.HTM'
    FileName = 'NOTES.HTM'
    IncludeFromDir = 'C:\Larkspur\Release'
    Order = 3
    UniqueID = 3
  end
  object ifLICENSE_TXT: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpProgram
    DestDirType = psContainerDestDir
    DestName = 'LICENSE.TXT'
    FileName = 'LICENSE.TXT'
    IncludeFromDir = 'C:\Larkspur\Release'
    Order = 4
    UniqueID = 4
  end
  object grpShared: TInstallFileGroup
    ArchiveFileType = psContainerArchiveFile
    Container = Install1
    DestDirType = psCommonFiles
    DestDir = '\Larkspur Shared'
    GroupName = 'Larkspur shared files'
    Description.Strings = (
      'The library all Larkspur products share')
  end
  object ifLARKCORE_DLL: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grpShared
    DestDirType = psContainerDestDir
    DestName = 'LARKCORE.DLL'
    FileName = 'LARKCORE.DLL'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Larkspur\Release'
    Order = 1
    OverwriteMode = owVersionDate
    UpdateDLLCounter = True
    UniqueID = 5
  end
  object UninstallProgram: TUninstallEXE
    ArchiveFileType = psContainerArchiveFile
    Container = Install1
    DestDirType = psContainerDestDir
    DestName = 'uninstall.exe'
    FileName = 'uninstall.exe'
    IncludeFromDir = 'C:\Pellmore'
    UniqueID = 6
  end
  object MainFolder: TMainLinkGroup
    Container = Install1
    DestDir = '\Larkspur Notes'
  end
  object lnkNotes: TInstallShellLink
    Container = MainFolder
    DestDirType = psContainerDestDir
    LinkName = 'Larkspur Notes.lnk'
    ObjectLink = ifLARKNOTE_EXE
    TargetType = psObjectLink
  end
  object lnkSync: TInstallShellLink
    Container = MainFolder
    DestDirType = psContainerDestDir
    LinkName = 'Larkspur Sync.lnk'
    ObjectLink = ifLARKSYNC_EXE
    TargetType = psObjectLink
  end
  object lnkHelp: TInstallShellLink
    Container = MainFolder
    DestDirType = psContainerDestDir
    LinkName = 'Larkspur Notes Help.lnk'
    ObjectLink = ifNOTES_HTM
    TargetType = psObjectLink
  end
  object lnkUninstall: TInstallShellLink
    Container = MainFolder
    DestDirType = psContainerDestDir
    LinkName = 'Uninstall Larkspur Notes.lnk'
    ObjectLink = UninstallProgram
    TargetType = psObjectLink
  end
end
