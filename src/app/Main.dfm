object fmMain: TfmMain
  Left = 0
  Top = 0
  Width = 640
  Height = 480
  Caption = 'Quenby Database Engine 8.2.0 安装'
  OnCreate = FormCreate
  object BackDrop: TBackdrop
    Align = alClient
    Tag = -1
    EndColor = 8421440
    object ProductLabel: TRotate3DLabel
      Align = alTop
      Height = 65
      Tag = -1
      Caption = 'Quenby Database Engine 8.2.0 安装'
      Font.Charset = GB2312_CHARSET
      Font.Color = clYellow
      Font.Height = -35
      Font.Name = '宋体'
      Font.Style = [fsBold, fsItalic]
      LabelStyle.AShadeLTSet = False
    end
  end
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
  object MainTranslator: TTranslator
    TranslateIntoLanguage = vlChineseSimplified
    lgChineseSimplified.Strings.Strings = (
      '* Pellmore setup kit, ChineseSimplified string table (translations of the English table, same ids in the same order).'
      '* One entry per line as <id>;<text>; lines starting with * are comments.'
      ''
      '* Common buttons and words'
      '4;< 上一步'
      '5;下一步 >'
      '6;取消'
      '26;浏览(&B)'
      '72;完成'
      '71;默认'
      '49;继续'
      ''
      '* Welcome page'
      '9;欢迎'
      '10;本程序将在您的计算机上安装该软件。'
      '11;强烈建议您在运行本安装程序之前退出所有 Windows 程序。如果需要关闭某些程序，请单击“取消”退出安装程序，然后关闭这些程序。'
      '12;单击“下一步”继续安装。'
      ''
      '* Licence page'
      '1;软件许可协议'
      '2;请阅读以下许可协议。'
      '3;单击下面的“下一步”按钮，即表示您同意许可协议中的所有条款。单击“取消”按钮可以取消安装。'
      ''
      '* Readme page'
      '7;自述信息'
      '8;在计算机上安装本软件之前，请阅读下面的信息。'
      ''
      '* Install type page'
      '17;典型'
      '18;将使用最常用的选项安装程序。'
      '19;精简'
      '20;将使用所需的最少选项安装程序。'
      '21;自定义'
      '22;您可以选择要安装的选项。建议高级用户使用。'
      '23;完全'
      '24;将使用所有选项安装程序。'
      '25;目标目录'
      '58;安装类型'
      '59;请单击您需要的安装类型，然后单击“下一步”按钮。'
      ''
      '* Select folder page'
      '40;选择开始菜单中的文件夹'
      '41;安装程序将把程序图标添加到下面列出的程序文件夹中。您可以输入新的文件夹名称，或从“现有文件夹(&X)”列表中选择。'
      '42;程序文件夹(&P)'
      '43;现有文件夹(&X)'
      ''
      '* File group selection page'
      '27;选择要安装的组件'
      '28;选择要安装的组件，清除不想安装的组件。双击某个组可以查看其所有子组。'
      '29;描述'
      '30;目标目录'
      '31;所需空间：'
      '32;可用空间：'
      '33;字节'
      '34;排除/包含选定的组(&E)'
      ''
      '* Copy progress dialog'
      '13;正在复制安装文件'
      '14;正在处理'
      '15;文件进度'
      '16;总进度'
      ''
      '* Successful completion'
      '37;安装完成'
      '38;软件已正确安装。您可以单击图标启动该软件。'
      '39;完成(&F)'
      ''
      '* Change disk dialog'
      '44;安装程序需要下一张磁盘'
      '45;请插入第 %d 张磁盘'
      '46;如果可以在其他位置（例如其他驱动器）找到此磁盘上的文件，请输入其完整路径，或单击“浏览”按钮选择路径。'
      '47;路径(&P):'
      '48;浏览(&B)...'
      ''
      '* Reboot dialog'
      '51;重新启动 Windows'
      '52;有些组件正在使用中，因此无法安装到您的系统上。要继续安装，您需要重新启动计算机。如果您决定现在不重新启动，那么在重新启动之前该软件可能无法正常工作。'
      '53;是，我要重新启动 Windows'
      '54;否，我不想重新启动 Windows'
      '55;关闭(&C)'
      ''
      '* Unsuccessful completion'
      '60;该软件未能正确安装，如果尝试使用，它将无法正常工作。'
      '61;安装未完成'
      ''
      '* Language names (kept in the table, no dialog shows them)'
      '62;选择语言'
      '63;英语'
      '64;法语'
      '65;德语'
      '66;意大利语'
      '67;日语'
      '68;韩语'
      '69;俄语'
      '70;西班牙语'
      ''
      '* Installer messages'
      '56;无法重新启动 Windows。请手动重新启动 Windows。'
      ''
      '* Database engine installation'
      '57;将安装 Quenby Database Engine。'
      ''
      '* Status messages'
      '75;正在读取文件信息...'
      '76;正在登录远程服务器')
    lgCzech.Strings.Strings = (
      '* Pellmore setup kit, Czech string table (translations of the English table, same ids in the same order).'
      '* One entry per line as <id>;<text>; lines starting with * are comments.'
      ''
      '* Common buttons and words'
      '4;< Zpět'
      '5;Další >'
      '6;Storno'
      '26;&Procházet'
      '72;Dokončit'
      '71;Výchozí'
      '49;Pokračovat'
      ''
      '* Welcome page'
      '9;Vítejte'
      '10;Tento program nainstaluje software do vašeho počítače.'
      '11;Před spuštěním instalace důrazně doporučujeme ukončit všechny programy systému Windows. Pokud potřebujete některé programy zavřít, klikněte na tlačítko Storno, ukončete instalaci a potom programy zavřete.'
      '12;Klikněte na tlačítko Další a pokračujte v instalaci.'
      ''
      '* Licence page'
      '1;Licenční smlouva k softwaru'
      '2;Přečtěte si prosím následující licenční smlouvu.'
      '3;Kliknutím na tlačítko Další souhlasíte se všemi podmínkami licenční smlouvy. Instalaci můžete zrušit kliknutím na tlačítko Storno.'
      ''
      '* Readme page'
      '7;Důležité informace'
      '8;Před instalací tohoto softwaru do počítače si přečtěte následující informace.'
      ''
      '* Install type page'
      '17;Typická'
      '18;Program bude nainstalován s nejběžnějšími volbami.'
      '19;Minimální'
      '20;Program bude nainstalován jen s minimálními požadovanými volbami.'
      '21;Vlastní'
      '22;Můžete si zvolit, které volby chcete nainstalovat. Doporučeno pro zkušené uživatele.'
      '23;Úplná'
      '24;Program bude nainstalován se všemi volbami.'
      '25;Cílová složka'
      '58;Typ instalace'
      '59;Klikněte na požadovaný typ instalace a potom na tlačítko Další.'
      ''
      '* Select folder page'
      '40;Výběr složky v nabídce Start'
      '41;Instalační program přidá ikony programu do níže uvedené složky programu. Můžete zadat nový název složky nebo vybrat složku ze seznamu E&xistující složky.'
      '42;Složka &programu'
      '43;E&xistující složky'
      ''
      '* File group selection page'
      '27;Výběr součástí k instalaci'
      '28;Vyberte součásti, které chcete nainstalovat, a zrušte výběr součástí, které instalovat nechcete. Dvojitým kliknutím na skupinu zobrazíte všechny její podskupiny.'
      '29;Popis'
      '30;Cílová složka'
      '31;Požadované místo:'
      '32;Volné místo:'
      '33;bajtů'
      '34;&Vyloučit/zahrnout vybranou skupinu'
      ''
      '* Copy progress dialog'
      '13;Kopírování instalačních souborů'
      '14;Zpracování'
      '15;Průběh souboru'
      '16;Celkový průběh'
      ''
      '* Successful completion'
      '37;Instalace dokončena'
      '38;Software byl správně nainstalován. Můžete jej spustit kliknutím na jeho ikonu.'
      '39;&Dokončit'
      ''
      '* Change disk dialog'
      '44;Instalační program potřebuje další disk'
      '45;Vložte disk číslo %d'
      '46;Pokud lze soubory z tohoto disku najít v jiném umístění, například na jiné jednotce, zadejte úplnou cestu nebo klikněte na tlačítko Procházet a cestu vyberte.'
      '47;&Cesta:'
      '48;&Procházet...'
      ''
      '* Reboot dialog'
      '51;Restartování systému Windows'
      '52;Některé součásti nebylo možné nainstalovat, protože byly používány. Aby instalace mohla pokračovat, je nutné restartovat počítač. Pokud počítač nyní nerestartujete, software pravděpodobně nebude fungovat, dokud jej nerestartujete.'
      '53;Ano, chci restartovat systém Windows'
      '54;Ne, nechci restartovat systém Windows'
      '55;&Zavřít'
      ''
      '* Unsuccessful completion'
      '60;Tento software nebyl správně nainstalován a nebude správně fungovat, pokud se jej pokusíte použít.'
      '61;Instalace nebyla dokončena'
      ''
      '* Language names (kept in the table, no dialog shows them)'
      '62;Vyberte jazyk'
      '63;Angličtina'
      '64;Francouzština'
      '65;Němčina'
      '66;Italština'
      '67;Japonština'
      '68;Korejština'
      '69;Ruština'
      '70;Španělština'
      ''
      '* Installer messages'
      '56;Systém Windows nelze restartovat. Restartujte jej prosím ručně.'
      ''
      '* Database engine installation'
      '57;Bude nainstalován Quenby Database Engine.'
      ''
      '* Status messages'
      '75;Načítání informací o souborech...'
      '76;Přihlašování ke vzdálenému serveru')
    lgDanish.Strings.Strings = (
      '* Pellmore setup kit, Danish string table (translations of the English table, same ids in the same order).'
      '* One entry per line as <id>;<text>; lines starting with * are comments.'
      ''
      '* Common buttons and words'
      '4;< Tilbage'
      '5;Næste >'
      '6;Annuller'
      '26;&Gennemse'
      '72;Udfør'
      '71;Standard'
      '49;Fortsæt'
      ''
      '* Welcome page'
      '9;Velkommen'
      '10;Dette program installerer softwaren på computeren.'
      '11;Det anbefales kraftigt, at du afslutter alle Windows-programmer, før du kører denne installation. Hvis du skal lukke nogle programmer, skal du klikke på Annuller for at afslutte installationen og derefter lukke programmerne.'
      '12;Klik på Næste for at fortsætte installationen.'
      ''
      '* Licence page'
      '1;Licensaftale for software'
      '2;Læs følgende licensaftale.'
      '3;Når du klikker på knappen Næste nedenfor, accepterer du alle betingelserne i licensaftalen. Du kan annullere installationen ved at klikke på knappen Annuller.'
      ''
      '* Readme page'
      '7;Vigtige oplysninger'
      '8;Læs oplysningerne nedenfor, før du installerer denne software på computeren.'
      ''
      '* Install type page'
      '17;Typisk'
      '18;Programmet installeres med de mest almindelige indstillinger.'
      '19;Kompakt'
      '20;Programmet installeres kun med de nødvendige indstillinger.'
      '21;Brugerdefineret'
      '22;Du kan selv vælge, hvilke indstillinger der skal installeres. Anbefales til erfarne brugere.'
      '23;Komplet'
      '24;Programmet installeres med alle indstillinger.'
      '25;Destinationsmappe'
      '58;Installationstype'
      '59;Klik på den ønskede installationstype, og klik derefter på knappen Næste.'
      ''
      '* Select folder page'
      '40;Vælg mappe i menuen Start'
      '41;Installationsprogrammet tilføjer programikoner til programmappen nedenfor. Du kan skrive et nyt mappenavn eller vælge en mappe på listen &Eksisterende mapper.'
      '42;&Programmappe'
      '43;&Eksisterende mapper'
      ''
      '* File group selection page'
      '27;Vælg de komponenter, der skal installeres'
      '28;Marker de komponenter, du vil installere, og fjern markeringen ud for dem, du ikke vil installere. Dobbeltklik på en gruppe for at se alle dens undergrupper.'
      '29;Beskrivelse'
      '30;Destinationsmappe'
      '31;Krævet plads:'
      '32;Ledig plads:'
      '33;byte'
      '34;&Udelad/medtag den markerede gruppe'
      ''
      '* Copy progress dialog'
      '13;Kopierer installationsfiler'
      '14;Behandler'
      '15;Filforløb'
      '16;Samlet forløb'
      ''
      '* Successful completion'
      '37;Installationen er fuldført'
      '38;Softwaren er installeret korrekt. Du kan starte softwaren ved at klikke på ikonet.'
      '39;&Udfør'
      ''
      '* Change disk dialog'
      '44;Installationsprogrammet skal bruge den næste disk'
      '45;Indsæt disk nummer %d'
      '46;Hvis filerne på denne disk findes et andet sted, for eksempel på et andet drev, skal du angive den fulde sti eller klikke på knappen Gennemse for at vælge stien.'
      '47;&Sti:'
      '48;&Gennemse...'
      ''
      '* Reboot dialog'
      '51;Genstart Windows'
      '52;Nogle komponenter kunne ikke installeres, fordi de var i brug. Du skal genstarte computeren, for at installationen kan fortsætte. Hvis du vælger ikke at genstarte nu, vil softwaren sandsynligvis ikke fungere, før du genstarter.'
      '53;Ja, jeg vil genstarte Windows'
      '54;Nej, jeg vil ikke genstarte Windows'
      '55;&Luk'
      ''
      '* Unsuccessful completion'
      '60;Softwaren er ikke installeret korrekt og vil ikke fungere korrekt, hvis du forsøger at bruge den.'
      '61;Installationen er ikke fuldført'
      ''
      '* Language names (kept in the table, no dialog shows them)'
      '62;Vælg et sprog'
      '63;Engelsk'
      '64;Fransk'
      '65;Tysk'
      '66;Italiensk'
      '67;Japansk'
      '68;Koreansk'
      '69;Russisk'
      '70;Spansk'
      ''
      '* Installer messages'
      '56;Windows kunne ikke genstartes. Genstart Windows manuelt.'
      ''
      '* Database engine installation'
      '57;Dette installerer Quenby Database Engine.'
      ''
      '* Status messages'
      '75;Læser filoplysninger...'
      '76;Logger på fjernserveren')
    lgEnglish.Strings.Strings = (
      '* Pellmore setup kit, English string table (source table: the kit writes its texts in English and finds their ids here).'
      '* One entry per line as <id>;<text>; lines starting with * are comments.'
      ''
      '* Common buttons and words'
      '4;< Previous'
      '5;Next >'
      '6;Cancel'
      '26;&Browse'
      '72;Finish'
      '71;Default'
      '49;Proceed'
      ''
      '* Welcome page'
      '9;Welcome'
      '10;This program will install the software on your computer.'
      '11;It is strongly recommended that you exit all Windows programs before running this setup. If you need to close any programs, click Cancel to quit the setup and then close the programs.'
      '12;Click Next to continue with the installation.'
      ''
      '* Licence page'
      '1;Software license agreement'
      '2;Please read the following License Agreement.'
      '3;By clicking on the Next button below, you agree to all terms stated in the License Agreement. You may cancel the installation by clicking on the Cancel button.'
      ''
      '* Readme page'
      '7;Readme information'
      '8;Please read the information below before you install this software on your computer.'
      ''
      '* Install type page'
      '17;Typical'
      '18;Program will be installed with the most common options.'
      '19;Compact'
      '20;Program will be installed with minimum required options.'
      '21;Custom'
      '22;You may choose the options you want to install. Recommended for advanced users.'
      '23;Full'
      '24;Program will be installed with all options.'
      '25;Destination directory'
      '58;Setup type'
      '59;Click the type of Setup you prefer, then click the Next button.'
      ''
      '* Select folder page'
      '40;Select folder in start menu'
      '41;Setup will add program icons to the Program Folder listed below. You may type a new folder name, or select from the E&xisting Folders list.'
      '42;&Program Folder'
      '43;E&xisting Folders'
      ''
      '* File group selection page'
      '27;Select components to install'
      '28;Select the components you want to install, clear the components you do not want to install. Double click on a group to see all of its subgroups.'
      '29;Description'
      '30;Destination directory'
      '31;Space Required:'
      '32;Space Available:'
      '33;bytes'
      '34;&Exclude/Include highlighted group'
      ''
      '* Copy progress dialog'
      '13;Copying installation files'
      '14;Processing'
      '15;File progress'
      '16;Total progress'
      ''
      '* Successful completion'
      '37;Setup complete'
      '38;The software has been properly installed. You may start the software by clicking on the icon.'
      '39;&Finish'
      ''
      '* Change disk dialog'
      '44;Setup needs the next disk'
      '45;Please insert disk number %d'
      '46;If the files on this disk can be found in another location, for example, in another drive, enter its full path or click the Browse button to select its path.'
      '47;&Path:'
      '48;&Browse...'
      ''
      '* Reboot dialog'
      '51;Reboot windows'
      '52;Several components could not be installed on your system because they were in use. For the installation to proceed, you will need to reboot your computer. If you decide not to reboot now, the software will probably not work until you do reboot.'
      '53;Yes, I would like to reboot windows'
      '54;No, I would not like to reboot windows'
      '55;&Close'
      ''
      '* Unsuccessful completion'
      '60;This software has not been properly installed and will not work correctly if you try to use it.'
      '61;Setup incomplete'
      ''
      '* Language names (kept in the table, no dialog shows them)'
      '62;Select a language'
      '63;English'
      '64;French'
      '65;German'
      '66;Italian'
      '67;Japanese'
      '68;Korean'
      '69;Russian'
      '70;Spanish'
      ''
      '* Installer messages'
      '56;Could not reboot windows. Please manually reboot windows.'
      ''
      '* Database engine installation'
      '57;This will install the Quenby Database Engine.'
      ''
      '* Status messages'
      '75;Reading file information...'
      '76;Logging onto remote server')
    lgFrench.Strings.Strings = (
      '* Pellmore setup kit, French string table (translations of the English table, same ids in the same order).'
      '* One entry per line as <id>;<text>; lines starting with * are comments.'
      ''
      '* Common buttons and words'
      '4;< Précédent'
      '5;Suivant >'
      '6;Annuler'
      '26;&Parcourir'
      '72;Terminer'
      '71;Par défaut'
      '49;Continuer'
      ''
      '* Welcome page'
      '9;Bienvenue'
      '10;Ce programme va installer le logiciel sur votre ordinateur.'
      '11;Il est vivement recommandé de quitter tous les programmes Windows avant d''exécuter ce programme d''installation. Si vous devez fermer des programmes, cliquez sur Annuler pour quitter l''installation, puis fermez ces programmes.'
      '12;Cliquez sur Suivant pour poursuivre l''installation.'
      ''
      '* Licence page'
      '1;Contrat de licence du logiciel'
      '2;Veuillez lire le contrat de licence suivant.'
      '3;En cliquant sur le bouton Suivant ci-dessous, vous acceptez toutes les conditions du contrat de licence. Vous pouvez annuler l''installation en cliquant sur le bouton Annuler.'
      ''
      '* Readme page'
      '7;Informations Lisez-moi'
      '8;Veuillez lire les informations ci-dessous avant d''installer ce logiciel sur votre ordinateur.'
      ''
      '* Install type page'
      '17;Typique'
      '18;Le programme sera installé avec les options les plus courantes.'
      '19;Compacte'
      '20;Le programme sera installé avec les options minimales requises.'
      '21;Personnalisée'
      '22;Vous pouvez choisir les options à installer. Recommandé pour les utilisateurs expérimentés.'
      '23;Complète'
      '24;Le programme sera installé avec toutes les options.'
      '25;Répertoire de destination'
      '58;Type d''installation'
      '59;Cliquez sur le type d''installation souhaité, puis sur le bouton Suivant.'
      ''
      '* Select folder page'
      '40;Sélection d''un dossier du menu Démarrer'
      '41;Le programme d''installation va ajouter les icônes du programme au dossier indiqué ci-dessous. Vous pouvez saisir un nouveau nom de dossier ou en choisir un dans la liste Dossiers e&xistants.'
      '42;Dossier du &programme'
      '43;Dossiers e&xistants'
      ''
      '* File group selection page'
      '27;Sélection des composants à installer'
      '28;Sélectionnez les composants que vous voulez installer et désélectionnez ceux que vous ne voulez pas installer. Double-cliquez sur un groupe pour afficher tous ses sous-groupes.'
      '29;Description'
      '30;Répertoire de destination'
      '31;Espace requis :'
      '32;Espace disponible :'
      '33;octets'
      '34;&Exclure/inclure le groupe sélectionné'
      ''
      '* Copy progress dialog'
      '13;Copie des fichiers d''installation'
      '14;Traitement en cours'
      '15;Progression du fichier'
      '16;Progression totale'
      ''
      '* Successful completion'
      '37;Installation terminée'
      '38;Le logiciel a été correctement installé. Vous pouvez le démarrer en cliquant sur son icône.'
      '39;&Terminer'
      ''
      '* Change disk dialog'
      '44;Le programme d''installation a besoin du disque suivant'
      '45;Veuillez insérer le disque numéro %d'
      '46;Si les fichiers de ce disque se trouvent à un autre emplacement, par exemple sur un autre lecteur, entrez leur chemin complet ou cliquez sur le bouton Parcourir pour le sélectionner.'
      '47;&Chemin :'
      '48;&Parcourir...'
      ''
      '* Reboot dialog'
      '51;Redémarrage de Windows'
      '52;Certains composants n''ont pas pu être installés car ils étaient en cours d''utilisation. Pour poursuivre l''installation, vous devez redémarrer l''ordinateur. Sinon, le logiciel ne fonctionnera probablement pas avant le prochain redémarrage.'
      '53;Oui, je souhaite redémarrer Windows'
      '54;Non, je ne souhaite pas redémarrer Windows'
      '55;&Fermer'
      ''
      '* Unsuccessful completion'
      '60;Ce logiciel n''a pas été correctement installé et ne fonctionnera pas correctement si vous essayez de l''utiliser.'
      '61;Installation incomplète'
      ''
      '* Language names (kept in the table, no dialog shows them)'
      '62;Sélectionnez une langue'
      '63;Anglais'
      '64;Français'
      '65;Allemand'
      '66;Italien'
      '67;Japonais'
      '68;Coréen'
      '69;Russe'
      '70;Espagnol'
      ''
      '* Installer messages'
      '56;Impossible de redémarrer Windows. Veuillez redémarrer Windows manuellement.'
      ''
      '* Database engine installation'
      '57;Ce programme va installer Quenby Database Engine.'
      ''
      '* Status messages'
      '75;Lecture des informations sur les fichiers...'
      '76;Connexion au serveur distant')
    lgGerman.Strings.Strings = (
      '* Pellmore setup kit, German string table (translations of the English table, same ids in the same order).'
      '* One entry per line as <id>;<text>; lines starting with * are comments.'
      ''
      '* Common buttons and words'
      '4;< Zurück'
      '5;Weiter >'
      '6;Abbrechen'
      '26;&Durchsuchen'
      '72;Fertig stellen'
      '71;Voreinstellung'
      '49;Fortfahren'
      ''
      '* Welcome page'
      '9;Willkommen'
      '10;Dieses Programm installiert die Software auf Ihrem Computer.'
      '11;Es wird dringend empfohlen, alle Windows-Programme zu beenden, bevor Sie dieses Setup ausführen. Wenn Sie Programme schließen müssen, klicken Sie auf „Abbrechen“, um das Setup zu verlassen, und schließen Sie dann die Programme.'
      '12;Klicken Sie auf „Weiter“, um mit der Installation fortzufahren.'
      ''
      '* Licence page'
      '1;Software-Lizenzvertrag'
      '2;Bitte lesen Sie den folgenden Lizenzvertrag.'
      '3;Wenn Sie unten auf „Weiter“ klicken, stimmen Sie allen Bedingungen des Lizenzvertrags zu. Sie können die Installation abbrechen, indem Sie auf „Abbrechen“ klicken.'
      ''
      '* Readme page'
      '7;Liesmich-Informationen'
      '8;Bitte lesen Sie die folgenden Informationen, bevor Sie diese Software auf Ihrem Computer installieren.'
      ''
      '* Install type page'
      '17;Standard'
      '18;Das Programm wird mit den gebräuchlichsten Optionen installiert.'
      '19;Minimal'
      '20;Das Programm wird nur mit den mindestens erforderlichen Optionen installiert.'
      '21;Benutzerdefiniert'
      '22;Sie können die zu installierenden Optionen selbst auswählen. Empfohlen für erfahrene Benutzer.'
      '23;Vollständig'
      '24;Das Programm wird mit allen Optionen installiert.'
      '25;Zielverzeichnis'
      '58;Setup-Typ'
      '59;Wählen Sie den gewünschten Setup-Typ, und klicken Sie dann auf „Weiter“.'
      ''
      '* Select folder page'
      '40;Ordner im Startmenü auswählen'
      '41;Das Setup fügt dem unten angegebenen Programmordner Programmsymbole hinzu. Sie können einen neuen Ordnernamen eingeben oder einen Ordner aus der Liste „&Vorhandene Ordner“ auswählen.'
      '42;&Programmordner'
      '43;&Vorhandene Ordner'
      ''
      '* File group selection page'
      '27;Zu installierende Komponenten auswählen'
      '28;Wählen Sie die Komponenten, die Sie installieren möchten, und deaktivieren Sie die übrigen. Doppelklicken Sie auf eine Gruppe, um alle ihre Untergruppen anzuzeigen.'
      '29;Beschreibung'
      '30;Zielverzeichnis'
      '31;Benötigter Speicherplatz:'
      '32;Verfügbarer Speicherplatz:'
      '33;Bytes'
      '34;Markierte Gruppe &aus-/einschließen'
      ''
      '* Copy progress dialog'
      '13;Installationsdateien werden kopiert'
      '14;Verarbeitung läuft'
      '15;Dateifortschritt'
      '16;Gesamtfortschritt'
      ''
      '* Successful completion'
      '37;Setup abgeschlossen'
      '38;Die Software wurde ordnungsgemäß installiert. Sie können die Software starten, indem Sie auf das Symbol klicken.'
      '39;&Fertig stellen'
      ''
      '* Change disk dialog'
      '44;Setup benötigt den nächsten Datenträger'
      '45;Bitte legen Sie Datenträger %d ein'
      '46;Wenn sich die Dateien dieses Datenträgers an einem anderen Ort befinden, zum Beispiel auf einem anderen Laufwerk, geben Sie den vollständigen Pfad ein, oder klicken Sie auf „Durchsuchen“, um den Pfad auszuwählen.'
      '47;&Pfad:'
      '48;&Durchsuchen...'
      ''
      '* Reboot dialog'
      '51;Windows neu starten'
      '52;Einige Komponenten konnten nicht installiert werden, da sie gerade verwendet wurden. Damit die Installation fortgesetzt werden kann, müssen Sie den Computer neu starten. Ohne Neustart funktioniert die Software wahrscheinlich nicht.'
      '53;Ja, ich möchte Windows neu starten'
      '54;Nein, ich möchte Windows nicht neu starten'
      '55;&Schließen'
      ''
      '* Unsuccessful completion'
      '60;Diese Software wurde nicht ordnungsgemäß installiert und wird nicht richtig funktionieren, wenn Sie versuchen, sie zu verwenden.'
      '61;Setup nicht abgeschlossen'
      ''
      '* Language names (kept in the table, no dialog shows them)'
      '62;Sprache auswählen'
      '63;Englisch'
      '64;Französisch'
      '65;Deutsch'
      '66;Italienisch'
      '67;Japanisch'
      '68;Koreanisch'
      '69;Russisch'
      '70;Spanisch'
      ''
      '* Installer messages'
      '56;Windows konnte nicht neu gestartet werden. Bitte starten Sie Windows manuell neu.'
      ''
      '* Database engine installation'
      '57;Hiermit wird die Quenby Database Engine installiert.'
      ''
      '* Status messages'
      '75;Dateiinformationen werden gelesen...'
      '76;Anmeldung am Remoteserver')
    lgGreek.Strings.Strings = (
      '* Pellmore setup kit, Greek string table (translations of the English table, same ids in the same order).'
      '* One entry per line as <id>;<text>; lines starting with * are comments.'
      ''
      '* Common buttons and words'
      '4;< Πίσω'
      '5;Επόμενο >'
      '6;Άκυρο'
      '26;&Αναζήτηση'
      '72;Τέλος'
      '71;Προεπιλογή'
      '49;Συνέχεια'
      ''
      '* Welcome page'
      '9;Καλώς ορίσατε'
      '10;Αυτό το πρόγραμμα θα εγκαταστήσει το λογισμικό στον υπολογιστή σας.'
      '11;Συνιστάται ανεπιφύλακτα να κλείσετε όλα τα προγράμματα των Windows πριν από την εγκατάσταση. Αν χρειάζεται να κλείσετε κάποια προγράμματα, κάντε κλικ στο κουμπί Άκυρο για έξοδο από την εγκατάσταση και έπειτα κλείστε τα.'
      '12;Κάντε κλικ στο κουμπί Επόμενο για να συνεχίσετε την εγκατάσταση.'
      ''
      '* Licence page'
      '1;Σύμβαση άδειας χρήσης λογισμικού'
      '2;Διαβάστε την παρακάτω σύμβαση άδειας χρήσης.'
      '3;Κάνοντας κλικ στο κουμπί Επόμενο, αποδέχεστε όλους τους όρους της σύμβασης άδειας χρήσης. Μπορείτε να ακυρώσετε την εγκατάσταση κάνοντας κλικ στο κουμπί Άκυρο.'
      ''
      '* Readme page'
      '7;Σημαντικές πληροφορίες'
      '8;Διαβάστε τις παρακάτω πληροφορίες πριν εγκαταστήσετε αυτό το λογισμικό στον υπολογιστή σας.'
      ''
      '* Install type page'
      '17;Τυπική'
      '18;Το πρόγραμμα θα εγκατασταθεί με τις πιο συνηθισμένες επιλογές.'
      '19;Ελάχιστη'
      '20;Το πρόγραμμα θα εγκατασταθεί μόνο με τις απαραίτητες επιλογές.'
      '21;Προσαρμοσμένη'
      '22;Μπορείτε να επιλέξετε ποιες επιλογές θα εγκατασταθούν. Συνιστάται για έμπειρους χρήστες.'
      '23;Πλήρης'
      '24;Το πρόγραμμα θα εγκατασταθεί με όλες τις επιλογές.'
      '25;Φάκελος προορισμού'
      '58;Τύπος εγκατάστασης'
      '59;Επιλέξτε τον τύπο εγκατάστασης που προτιμάτε και έπειτα κάντε κλικ στο κουμπί Επόμενο.'
      ''
      '* Select folder page'
      '40;Επιλογή φακέλου στο μενού Έναρξη'
      '41;Το πρόγραμμα εγκατάστασης θα προσθέσει εικονίδια στον φάκελο προγράμματος που αναφέρεται παρακάτω. Μπορείτε να πληκτρολογήσετε νέο όνομα φακέλου ή να επιλέξετε από τη λίστα &Υπάρχοντες φάκελοι.'
      '42;&Φάκελος προγράμματος'
      '43;&Υπάρχοντες φάκελοι'
      ''
      '* File group selection page'
      '27;Επιλογή στοιχείων για εγκατάσταση'
      '28;Επιλέξτε τα στοιχεία που θέλετε να εγκαταστήσετε και καταργήστε την επιλογή όσων δεν θέλετε να εγκαταστήσετε. Κάντε διπλό κλικ σε μια ομάδα για να δείτε όλες τις υποομάδες της.'
      '29;Περιγραφή'
      '30;Φάκελος προορισμού'
      '31;Απαιτούμενος χώρος:'
      '32;Διαθέσιμος χώρος:'
      '33;byte'
      '34;&Εξαίρεση/συμπερίληψη επισημασμένης ομάδας'
      ''
      '* Copy progress dialog'
      '13;Αντιγραφή αρχείων εγκατάστασης'
      '14;Επεξεργασία'
      '15;Πρόοδος αρχείου'
      '16;Συνολική πρόοδος'
      ''
      '* Successful completion'
      '37;Η εγκατάσταση ολοκληρώθηκε'
      '38;Το λογισμικό εγκαταστάθηκε σωστά. Μπορείτε να το εκκινήσετε κάνοντας κλικ στο εικονίδιό του.'
      '39;&Τέλος'
      ''
      '* Change disk dialog'
      '44;Το πρόγραμμα εγκατάστασης χρειάζεται τον επόμενο δίσκο'
      '45;Τοποθετήστε τον δίσκο με αριθμό %d'
      '46;Αν τα αρχεία αυτού του δίσκου βρίσκονται σε άλλη θέση, για παράδειγμα σε άλλη μονάδα δίσκου, πληκτρολογήστε την πλήρη διαδρομή τους ή κάντε κλικ στο κουμπί Αναζήτηση για να την επιλέξετε.'
      '47;&Διαδρομή:'
      '48;&Αναζήτηση...'
      ''
      '* Reboot dialog'
      '51;Επανεκκίνηση των Windows'
      '52;Ορισμένα στοιχεία δεν ήταν δυνατό να εγκατασταθούν επειδή ήταν σε χρήση. Για να συνεχιστεί η εγκατάσταση, πρέπει να επανεκκινήσετε τον υπολογιστή. Αν δεν τον επανεκκινήσετε τώρα, το λογισμικό πιθανότατα δεν θα λειτουργεί μέχρι την επανεκκίνηση.'
      '53;Ναι, θέλω να γίνει επανεκκίνηση των Windows'
      '54;Όχι, δεν θέλω να γίνει επανεκκίνηση των Windows'
      '55;&Κλείσιμο'
      ''
      '* Unsuccessful completion'
      '60;Το λογισμικό δεν εγκαταστάθηκε σωστά και δεν θα λειτουργεί σωστά αν προσπαθήσετε να το χρησιμοποιήσετε.'
      '61;Η εγκατάσταση δεν ολοκληρώθηκε'
      ''
      '* Language names (kept in the table, no dialog shows them)'
      '62;Επιλέξτε γλώσσα'
      '63;Αγγλικά'
      '64;Γαλλικά'
      '65;Γερμανικά'
      '66;Ιταλικά'
      '67;Ιαπωνικά'
      '68;Κορεατικά'
      '69;Ρωσικά'
      '70;Ισπανικά'
      ''
      '* Installer messages'
      '56;Δεν ήταν δυνατή η επανεκκίνηση των Windows. Επανεκκινήστε τα Windows με μη αυτόματο τρόπο.'
      ''
      '* Database engine installation'
      '57;Θα εγκατασταθεί το Quenby Database Engine.'
      ''
      '* Status messages'
      '75;Ανάγνωση πληροφοριών αρχείων...'
      '76;Σύνδεση στον απομακρυσμένο διακομιστή')
    lgItalian.Strings.Strings = (
      '* Pellmore setup kit, Italian string table (translations of the English table, same ids in the same order).'
      '* One entry per line as <id>;<text>; lines starting with * are comments.'
      ''
      '* Common buttons and words'
      '4;< Indietro'
      '5;Avanti >'
      '6;Annulla'
      '26;&Sfoglia'
      '72;Fine'
      '71;Predefinito'
      '49;Procedi'
      ''
      '* Welcome page'
      '9;Benvenuti'
      '10;Questo programma installerà il software nel computer.'
      '11;Si consiglia vivamente di chiudere tutti i programmi Windows prima di eseguire questa installazione. Se è necessario chiudere dei programmi, fare clic su Annulla per uscire dall''installazione, quindi chiudere i programmi.'
      '12;Fare clic su Avanti per proseguire con l''installazione.'
      ''
      '* Licence page'
      '1;Contratto di licenza software'
      '2;Leggere il seguente contratto di licenza.'
      '3;Facendo clic sul pulsante Avanti, si accettano tutti i termini del contratto di licenza. Per annullare l''installazione, fare clic sul pulsante Annulla.'
      ''
      '* Readme page'
      '7;Informazioni Leggimi'
      '8;Leggere le informazioni seguenti prima di installare questo software nel computer.'
      ''
      '* Install type page'
      '17;Tipica'
      '18;Il programma verrà installato con le opzioni più comuni.'
      '19;Minima'
      '20;Il programma verrà installato con le opzioni minime richieste.'
      '21;Personalizzata'
      '22;È possibile scegliere le opzioni da installare. Consigliata per gli utenti esperti.'
      '23;Completa'
      '24;Il programma verrà installato con tutte le opzioni.'
      '25;Cartella di destinazione'
      '58;Tipo di installazione'
      '59;Selezionare il tipo di installazione desiderato, quindi fare clic sul pulsante Avanti.'
      ''
      '* Select folder page'
      '40;Selezione della cartella nel menu Start'
      '41;Il programma di installazione aggiungerà le icone del programma alla cartella indicata di seguito. È possibile digitare un nuovo nome di cartella o selezionarne una dall''elenco Cartelle e&sistenti.'
      '42;Cartella &programma'
      '43;Cartelle e&sistenti'
      ''
      '* File group selection page'
      '27;Selezione dei componenti da installare'
      '28;Selezionare i componenti da installare e deselezionare quelli che non si desidera installare. Fare doppio clic su un gruppo per visualizzarne tutti i sottogruppi.'
      '29;Descrizione'
      '30;Cartella di destinazione'
      '31;Spazio richiesto:'
      '32;Spazio disponibile:'
      '33;byte'
      '34;&Escludi/includi il gruppo evidenziato'
      ''
      '* Copy progress dialog'
      '13;Copia dei file di installazione'
      '14;Elaborazione in corso'
      '15;Avanzamento file'
      '16;Avanzamento totale'
      ''
      '* Successful completion'
      '37;Installazione completata'
      '38;Il software è stato installato correttamente. Per avviarlo, fare clic sull''icona.'
      '39;&Fine'
      ''
      '* Change disk dialog'
      '44;L''installazione richiede il disco successivo'
      '45;Inserire il disco numero %d'
      '46;Se i file di questo disco si trovano in un altro percorso, ad esempio in un''altra unità, immettere il percorso completo oppure fare clic sul pulsante Sfoglia per selezionarlo.'
      '47;&Percorso:'
      '48;&Sfoglia...'
      ''
      '* Reboot dialog'
      '51;Riavvio di Windows'
      '52;Non è stato possibile installare alcuni componenti perché erano in uso. Per proseguire l''installazione è necessario riavviare il computer. Se non si riavvia ora, il software probabilmente non funzionerà fino al riavvio.'
      '53;Sì, desidero riavviare Windows'
      '54;No, non desidero riavviare Windows'
      '55;&Chiudi'
      ''
      '* Unsuccessful completion'
      '60;Il software non è stato installato correttamente e non funzionerà come previsto se si tenta di utilizzarlo.'
      '61;Installazione non completata'
      ''
      '* Language names (kept in the table, no dialog shows them)'
      '62;Selezionare una lingua'
      '63;Inglese'
      '64;Francese'
      '65;Tedesco'
      '66;Italiano'
      '67;Giapponese'
      '68;Coreano'
      '69;Russo'
      '70;Spagnolo'
      ''
      '* Installer messages'
      '56;Impossibile riavviare Windows. Riavviare Windows manualmente.'
      ''
      '* Database engine installation'
      '57;Verrà installato Quenby Database Engine.'
      ''
      '* Status messages'
      '75;Lettura delle informazioni sui file...'
      '76;Connessione al server remoto')
    lgJapanese.Strings.Strings = (
      '* Pellmore setup kit, Japanese string table (translations of the English table, same ids in the same order).'
      '* One entry per line as <id>;<text>; lines starting with * are comments.'
      ''
      '* Common buttons and words'
      '4;< 戻る'
      '5;次へ >'
      '6;キャンセル'
      '26;参照(&B)'
      '72;完了'
      '71;既定値'
      '49;続行'
      ''
      '* Welcome page'
      '9;ようこそ'
      '10;このプログラムは、ソフトウェアをコンピュータにインストールします。'
      '11;このセットアップを実行する前に、すべての Windows プログラムを終了することを強くお勧めします。プログラムを終了する必要がある場合は、[キャンセル] をクリックしてセットアップを中止し、プログラムを終了してください。'
      '12;インストールを続行するには、[次へ] をクリックしてください。'
      ''
      '* Licence page'
      '1;ソフトウェア使用許諾契約'
      '2;次の使用許諾契約をお読みください。'
      '3;下の [次へ] ボタンをクリックすると、使用許諾契約のすべての条項に同意したものとみなされます。インストールを中止するには、[キャンセル] ボタンをクリックしてください。'
      ''
      '* Readme page'
      '7;Readme 情報'
      '8;このソフトウェアをコンピュータにインストールする前に、以下の情報をお読みください。'
      ''
      '* Install type page'
      '17;標準'
      '18;最も一般的なオプションでプログラムをインストールします。'
      '19;最小'
      '20;必要最小限のオプションでプログラムをインストールします。'
      '21;カスタム'
      '22;インストールするオプションを選択できます。上級ユーザー向けです。'
      '23;完全'
      '24;すべてのオプションでプログラムをインストールします。'
      '25;インストール先ディレクトリ'
      '58;セットアップの種類'
      '59;セットアップの種類を選択して、[次へ] ボタンをクリックしてください。'
      ''
      '* Select folder page'
      '40;スタート メニューのフォルダの選択'
      '41;セットアップは、以下のプログラム フォルダにプログラム アイコンを追加します。新しいフォルダ名を入力するか、[既存のフォルダ(&X)] の一覧から選択してください。'
      '42;プログラム フォルダ(&P)'
      '43;既存のフォルダ(&X)'
      ''
      '* File group selection page'
      '27;インストールするコンポーネントの選択'
      '28;インストールするコンポーネントを選択し、インストールしないコンポーネントの選択を解除してください。グループをダブルクリックすると、そのサブグループがすべて表示されます。'
      '29;説明'
      '30;インストール先ディレクトリ'
      '31;必要なディスク領域:'
      '32;使用可能なディスク領域:'
      '33;バイト'
      '34;選択したグループを除外/追加(&E)'
      ''
      '* Copy progress dialog'
      '13;インストール ファイルをコピーしています'
      '14;処理中'
      '15;ファイルの進行状況'
      '16;全体の進行状況'
      ''
      '* Successful completion'
      '37;セットアップ完了'
      '38;ソフトウェアは正しくインストールされました。アイコンをクリックしてソフトウェアを起動できます。'
      '39;完了(&F)'
      ''
      '* Change disk dialog'
      '44;次のディスクが必要です'
      '45;ディスク %d を挿入してください'
      '46;このディスクのファイルが別の場所 (別のドライブなど) にある場合は、その完全なパスを入力するか、[参照] ボタンをクリックしてパスを選択してください。'
      '47;パス(&P):'
      '48;参照(&B)...'
      ''
      '* Reboot dialog'
      '51;Windows の再起動'
      '52;一部のコンポーネントは使用中だったため、システムにインストールできませんでした。インストールを続行するには、コンピュータを再起動する必要があります。今すぐ再起動しない場合、再起動するまでソフトウェアは正常に動作しない可能性があります。'
      '53;はい、Windows を再起動します'
      '54;いいえ、Windows を再起動しません'
      '55;閉じる(&C)'
      ''
      '* Unsuccessful completion'
      '60;このソフトウェアは正しくインストールされていないため、使用しようとしても正常に動作しません。'
      '61;セットアップ未完了'
      ''
      '* Language names (kept in the table, no dialog shows them)'
      '62;言語の選択'
      '63;英語'
      '64;フランス語'
      '65;ドイツ語'
      '66;イタリア語'
      '67;日本語'
      '68;韓国語'
      '69;ロシア語'
      '70;スペイン語'
      ''
      '* Installer messages'
      '56;Windows を再起動できませんでした。手動で Windows を再起動してください。'
      ''
      '* Database engine installation'
      '57;Quenby Database Engine をインストールします。'
      ''
      '* Status messages'
      '75;ファイル情報を読み込んでいます...'
      '76;リモート サーバーにログオンしています')
    lgKorean.Strings.Strings = (
      '* Pellmore setup kit, Korean string table (translations of the English table, same ids in the same order).'
      '* One entry per line as <id>;<text>; lines starting with * are comments.'
      ''
      '* Common buttons and words'
      '4;< 뒤로'
      '5;다음 >'
      '6;취소'
      '26;찾아보기(&B)'
      '72;마침'
      '71;기본값'
      '49;계속'
      ''
      '* Welcome page'
      '9;환영합니다'
      '10;이 프로그램은 컴퓨터에 소프트웨어를 설치합니다.'
      '11;이 설치 프로그램을 실행하기 전에 모든 Windows 프로그램을 종료할 것을 적극 권장합니다. 프로그램을 닫아야 하는 경우 [취소]를 클릭하여 설치를 끝낸 다음 프로그램을 닫으십시오.'
      '12;설치를 계속하려면 [다음]을 클릭하십시오.'
      ''
      '* Licence page'
      '1;소프트웨어 사용권 계약'
      '2;다음 사용권 계약을 읽어 주십시오.'
      '3;아래의 [다음] 단추를 클릭하면 사용권 계약의 모든 조건에 동의하는 것입니다. [취소] 단추를 클릭하여 설치를 취소할 수 있습니다.'
      ''
      '* Readme page'
      '7;추가 정보'
      '8;이 소프트웨어를 컴퓨터에 설치하기 전에 아래 정보를 읽어 주십시오.'
      ''
      '* Install type page'
      '17;일반'
      '18;가장 일반적인 옵션으로 프로그램을 설치합니다.'
      '19;최소'
      '20;필요한 최소 옵션으로 프로그램을 설치합니다.'
      '21;사용자 지정'
      '22;설치할 옵션을 선택할 수 있습니다. 고급 사용자에게 권장됩니다.'
      '23;전체'
      '24;모든 옵션으로 프로그램을 설치합니다.'
      '25;대상 디렉터리'
      '58;설치 유형'
      '59;원하는 설치 유형을 클릭한 다음 [다음] 단추를 클릭하십시오.'
      ''
      '* Select folder page'
      '40;시작 메뉴에서 폴더 선택'
      '41;설치 프로그램이 아래에 표시된 프로그램 폴더에 프로그램 아이콘을 추가합니다. 새 폴더 이름을 입력하거나 [기존 폴더(&X)] 목록에서 선택할 수 있습니다.'
      '42;프로그램 폴더(&P)'
      '43;기존 폴더(&X)'
      ''
      '* File group selection page'
      '27;설치할 구성 요소 선택'
      '28;설치할 구성 요소를 선택하고, 설치하지 않을 구성 요소는 선택을 취소하십시오. 그룹을 두 번 클릭하면 모든 하위 그룹을 볼 수 있습니다.'
      '29;설명'
      '30;대상 디렉터리'
      '31;필요한 공간:'
      '32;사용 가능한 공간:'
      '33;바이트'
      '34;선택한 그룹 제외/포함(&E)'
      ''
      '* Copy progress dialog'
      '13;설치 파일 복사 중'
      '14;처리 중'
      '15;파일 진행률'
      '16;전체 진행률'
      ''
      '* Successful completion'
      '37;설치 완료'
      '38;소프트웨어가 올바르게 설치되었습니다. 아이콘을 클릭하여 소프트웨어를 시작할 수 있습니다.'
      '39;마침(&F)'
      ''
      '* Change disk dialog'
      '44;다음 디스크가 필요합니다'
      '45;%d번 디스크를 넣으십시오'
      '46;이 디스크의 파일이 다른 위치(예: 다른 드라이브)에 있으면 전체 경로를 입력하거나 [찾아보기] 단추를 클릭하여 경로를 선택하십시오.'
      '47;경로(&P):'
      '48;찾아보기(&B)...'
      ''
      '* Reboot dialog'
      '51;Windows 다시 시작'
      '52;일부 구성 요소가 사용 중이어서 시스템에 설치할 수 없었습니다. 설치를 계속하려면 컴퓨터를 다시 시작해야 합니다. 지금 다시 시작하지 않으면 다시 시작할 때까지 소프트웨어가 제대로 작동하지 않을 수 있습니다.'
      '53;예, Windows를 다시 시작하겠습니다'
      '54;아니요, Windows를 다시 시작하지 않겠습니다'
      '55;닫기(&C)'
      ''
      '* Unsuccessful completion'
      '60;이 소프트웨어가 올바르게 설치되지 않았으므로 사용하려고 하면 제대로 작동하지 않습니다.'
      '61;설치 미완료'
      ''
      '* Language names (kept in the table, no dialog shows them)'
      '62;언어 선택'
      '63;영어'
      '64;프랑스어'
      '65;독일어'
      '66;이탈리아어'
      '67;일본어'
      '68;한국어'
      '69;러시아어'
      '70;스페인어'
      ''
      '* Installer messages'
      '56;Windows를 다시 시작할 수 없습니다. Windows를 수동으로 다시 시작하십시오.'
      ''
      '* Database engine installation'
      '57;Quenby Database Engine을 설치합니다.'
      ''
      '* Status messages'
      '75;파일 정보를 읽는 중...'
      '76;원격 서버에 로그온하는 중')
    lgPolish.Strings.Strings = (
      '* Pellmore setup kit, Polish string table (translations of the English table, same ids in the same order).'
      '* One entry per line as <id>;<text>; lines starting with * are comments.'
      ''
      '* Common buttons and words'
      '4;< Wstecz'
      '5;Dalej >'
      '6;Anuluj'
      '26;&Przeglądaj'
      '72;Zakończ'
      '71;Domyślne'
      '49;Kontynuuj'
      ''
      '* Welcome page'
      '9;Witamy'
      '10;Ten program zainstaluje oprogramowanie na komputerze.'
      '11;Przed uruchomieniem instalatora zdecydowanie zaleca się zamknięcie wszystkich programów systemu Windows. Jeśli musisz zamknąć jakieś programy, kliknij przycisk Anuluj, aby przerwać instalację, a następnie zamknij te programy.'
      '12;Kliknij przycisk Dalej, aby kontynuować instalację.'
      ''
      '* Licence page'
      '1;Umowa licencyjna oprogramowania'
      '2;Przeczytaj poniższą umowę licencyjną.'
      '3;Klikając przycisk Dalej, akceptujesz wszystkie warunki umowy licencyjnej. Aby anulować instalację, kliknij przycisk Anuluj.'
      ''
      '* Readme page'
      '7;Ważne informacje'
      '8;Przed zainstalowaniem tego oprogramowania na komputerze przeczytaj poniższe informacje.'
      ''
      '* Install type page'
      '17;Typowa'
      '18;Program zostanie zainstalowany z najczęściej używanymi opcjami.'
      '19;Minimalna'
      '20;Program zostanie zainstalowany tylko z niezbędnymi opcjami.'
      '21;Niestandardowa'
      '22;Możesz wybrać opcje, które chcesz zainstalować. Zalecane dla zaawansowanych użytkowników.'
      '23;Pełna'
      '24;Program zostanie zainstalowany ze wszystkimi opcjami.'
      '25;Folder docelowy'
      '58;Typ instalacji'
      '59;Kliknij preferowany typ instalacji, a następnie przycisk Dalej.'
      ''
      '* Select folder page'
      '40;Wybierz folder w menu Start'
      '41;Instalator doda ikony programu do folderu programu podanego poniżej. Możesz wpisać nową nazwę folderu lub wybrać folder z listy &Istniejące foldery.'
      '42;Folder &programu'
      '43;&Istniejące foldery'
      ''
      '* File group selection page'
      '27;Wybierz składniki do zainstalowania'
      '28;Zaznacz składniki, które chcesz zainstalować, i wyczyść zaznaczenie składników, których nie chcesz instalować. Kliknij dwukrotnie grupę, aby zobaczyć wszystkie jej podgrupy.'
      '29;Opis'
      '30;Folder docelowy'
      '31;Wymagane miejsce:'
      '32;Dostępne miejsce:'
      '33;bajtów'
      '34;&Wyklucz/dołącz zaznaczoną grupę'
      ''
      '* Copy progress dialog'
      '13;Kopiowanie plików instalacyjnych'
      '14;Przetwarzanie'
      '15;Postęp pliku'
      '16;Postęp całkowity'
      ''
      '* Successful completion'
      '37;Instalacja zakończona'
      '38;Oprogramowanie zostało poprawnie zainstalowane. Możesz je uruchomić, klikając jego ikonę.'
      '39;&Zakończ'
      ''
      '* Change disk dialog'
      '44;Instalator potrzebuje następnego dysku'
      '45;Włóż dysk numer %d'
      '46;Jeśli pliki z tego dysku znajdują się w innym miejscu, na przykład na innym dysku, wprowadź pełną ścieżkę lub kliknij przycisk Przeglądaj, aby ją wybrać.'
      '47;Ś&cieżka:'
      '48;&Przeglądaj...'
      ''
      '* Reboot dialog'
      '51;Ponowne uruchamianie systemu Windows'
      '52;Niektórych składników nie można było zainstalować, ponieważ były używane. Aby kontynuować instalację, musisz ponownie uruchomić komputer. Jeśli nie zrobisz tego teraz, oprogramowanie prawdopodobnie nie będzie działać do czasu ponownego uruchomienia.'
      '53;Tak, chcę ponownie uruchomić system Windows'
      '54;Nie, nie chcę ponownie uruchamiać systemu Windows'
      '55;&Zamknij'
      ''
      '* Unsuccessful completion'
      '60;To oprogramowanie nie zostało poprawnie zainstalowane i nie będzie działać prawidłowo, jeśli spróbujesz go użyć.'
      '61;Instalacja niezakończona'
      ''
      '* Language names (kept in the table, no dialog shows them)'
      '62;Wybierz język'
      '63;Angielski'
      '64;Francuski'
      '65;Niemiecki'
      '66;Włoski'
      '67;Japoński'
      '68;Koreański'
      '69;Rosyjski'
      '70;Hiszpański'
      ''
      '* Installer messages'
      '56;Nie można ponownie uruchomić systemu Windows. Uruchom ponownie system Windows ręcznie.'
      ''
      '* Database engine installation'
      '57;Zostanie zainstalowany program Quenby Database Engine.'
      ''
      '* Status messages'
      '75;Odczytywanie informacji o plikach...'
      '76;Logowanie do serwera zdalnego')
    lgPortugese.Strings.Strings = (
      '* Pellmore setup kit, Portugese string table (translations of the English table, same ids in the same order).'
      '* One entry per line as <id>;<text>; lines starting with * are comments.'
      ''
      '* Common buttons and words'
      '4;< Voltar'
      '5;Avançar >'
      '6;Cancelar'
      '26;&Procurar'
      '72;Concluir'
      '71;Padrão'
      '49;Prosseguir'
      ''
      '* Welcome page'
      '9;Bem-vindo'
      '10;Este programa instalará o software no seu computador.'
      '11;É altamente recomendável fechar todos os programas do Windows antes de executar esta instalação. Se precisar fechar algum programa, clique em Cancelar para sair da instalação e, em seguida, feche os programas.'
      '12;Clique em Avançar para continuar a instalação.'
      ''
      '* Licence page'
      '1;Contrato de licença de software'
      '2;Leia o contrato de licença a seguir.'
      '3;Ao clicar no botão Avançar abaixo, você concorda com todos os termos do contrato de licença. Você pode cancelar a instalação clicando no botão Cancelar.'
      ''
      '* Readme page'
      '7;Informações Leiame'
      '8;Leia as informações abaixo antes de instalar este software no seu computador.'
      ''
      '* Install type page'
      '17;Típica'
      '18;O programa será instalado com as opções mais comuns.'
      '19;Compacta'
      '20;O programa será instalado com as opções mínimas necessárias.'
      '21;Personalizada'
      '22;Você pode escolher as opções que deseja instalar. Recomendada para usuários avançados.'
      '23;Completa'
      '24;O programa será instalado com todas as opções.'
      '25;Diretório de destino'
      '58;Tipo de instalação'
      '59;Clique no tipo de instalação desejado e, em seguida, no botão Avançar.'
      ''
      '* Select folder page'
      '40;Selecionar pasta no menu Iniciar'
      '41;A instalação adicionará ícones de programa à pasta de programas indicada abaixo. Você pode digitar um novo nome de pasta ou selecionar uma na lista Pastas e&xistentes.'
      '42;Pasta de &programas'
      '43;Pastas e&xistentes'
      ''
      '* File group selection page'
      '27;Selecionar componentes para instalar'
      '28;Selecione os componentes que deseja instalar e desmarque os que não deseja instalar. Clique duas vezes em um grupo para ver todos os seus subgrupos.'
      '29;Descrição'
      '30;Diretório de destino'
      '31;Espaço necessário:'
      '32;Espaço disponível:'
      '33;bytes'
      '34;&Excluir/incluir grupo realçado'
      ''
      '* Copy progress dialog'
      '13;Copiando arquivos de instalação'
      '14;Processando'
      '15;Progresso do arquivo'
      '16;Progresso total'
      ''
      '* Successful completion'
      '37;Instalação concluída'
      '38;O software foi instalado corretamente. Você pode iniciá-lo clicando no ícone.'
      '39;&Concluir'
      ''
      '* Change disk dialog'
      '44;A instalação precisa do próximo disco'
      '45;Insira o disco número %d'
      '46;Se os arquivos deste disco estiverem em outro local, por exemplo, em outra unidade, digite o caminho completo ou clique no botão Procurar para selecioná-lo.'
      '47;&Caminho:'
      '48;&Procurar...'
      ''
      '* Reboot dialog'
      '51;Reiniciar o Windows'
      '52;Alguns componentes não puderam ser instalados porque estavam em uso. Para prosseguir com a instalação, você precisa reiniciar o computador. Se optar por não reiniciar agora, o software provavelmente não funcionará até que você reinicie.'
      '53;Sim, desejo reiniciar o Windows'
      '54;Não, não desejo reiniciar o Windows'
      '55;&Fechar'
      ''
      '* Unsuccessful completion'
      '60;Este software não foi instalado corretamente e não funcionará direito se você tentar usá-lo.'
      '61;Instalação incompleta'
      ''
      '* Language names (kept in the table, no dialog shows them)'
      '62;Selecione um idioma'
      '63;Inglês'
      '64;Francês'
      '65;Alemão'
      '66;Italiano'
      '67;Japonês'
      '68;Coreano'
      '69;Russo'
      '70;Espanhol'
      ''
      '* Installer messages'
      '56;Não foi possível reiniciar o Windows. Reinicie o Windows manualmente.'
      ''
      '* Database engine installation'
      '57;Será instalado o Quenby Database Engine.'
      ''
      '* Status messages'
      '75;Lendo informações dos arquivos...'
      '76;Conectando ao servidor remoto')
    lgRussian.Strings.Strings = (
      '* Pellmore setup kit, Russian string table (translations of the English table, same ids in the same order).'
      '* One entry per line as <id>;<text>; lines starting with * are comments.'
      ''
      '* Common buttons and words'
      '4;< Назад'
      '5;Далее >'
      '6;Отмена'
      '26;&Обзор'
      '72;Готово'
      '71;По умолчанию'
      '49;Продолжить'
      ''
      '* Welcome page'
      '9;Добро пожаловать'
      '10;Эта программа установит программное обеспечение на ваш компьютер.'
      '11;Перед запуском установки настоятельно рекомендуется закрыть все программы Windows. Если необходимо закрыть какие-либо программы, нажмите кнопку «Отмена», чтобы выйти из программы установки, а затем закройте эти программы.'
      '12;Нажмите кнопку «Далее», чтобы продолжить установку.'
      ''
      '* Licence page'
      '1;Лицензионное соглашение на программное обеспечение'
      '2;Прочтите следующее лицензионное соглашение.'
      '3;Нажимая кнопку «Далее», вы принимаете все условия лицензионного соглашения. Чтобы отменить установку, нажмите кнопку «Отмена».'
      ''
      '* Readme page'
      '7;Важная информация'
      '8;Прочтите приведенные ниже сведения перед установкой этого программного обеспечения на компьютер.'
      ''
      '* Install type page'
      '17;Обычная'
      '18;Программа будет установлена с наиболее часто используемыми компонентами.'
      '19;Минимальная'
      '20;Программа будет установлена только с минимально необходимыми компонентами.'
      '21;Выборочная'
      '22;Вы можете выбрать компоненты для установки. Рекомендуется для опытных пользователей.'
      '23;Полная'
      '24;Программа будет установлена со всеми компонентами.'
      '25;Папка назначения'
      '58;Тип установки'
      '59;Выберите нужный тип установки и нажмите кнопку «Далее».'
      ''
      '* Select folder page'
      '40;Выбор папки в меню «Пуск»'
      '41;Программа установки добавит значки программы в указанную ниже папку. Вы можете ввести новое имя папки или выбрать папку из списка «&Существующие папки».'
      '42;&Папка программы'
      '43;&Существующие папки'
      ''
      '* File group selection page'
      '27;Выбор компонентов для установки'
      '28;Выберите компоненты, которые нужно установить, и снимите флажки с тех, которые устанавливать не нужно. Дважды щелкните группу, чтобы увидеть все ее подгруппы.'
      '29;Описание'
      '30;Папка назначения'
      '31;Требуется места:'
      '32;Доступно места:'
      '33;байт'
      '34;&Исключить/включить выделенную группу'
      ''
      '* Copy progress dialog'
      '13;Копирование файлов установки'
      '14;Обработка'
      '15;Текущий файл'
      '16;Общий ход выполнения'
      ''
      '* Successful completion'
      '37;Установка завершена'
      '38;Программное обеспечение успешно установлено. Чтобы запустить его, щелкните его значок.'
      '39;&Готово'
      ''
      '* Change disk dialog'
      '44;Программе установки нужен следующий диск'
      '45;Вставьте диск номер %d'
      '46;Если файлы с этого диска находятся в другом месте, например на другом диске, введите полный путь к ним или нажмите кнопку «Обзор», чтобы выбрать путь.'
      '47;&Путь:'
      '48;&Обзор...'
      ''
      '* Reboot dialog'
      '51;Перезагрузка Windows'
      '52;Некоторые компоненты не удалось установить, так как они использовались. Чтобы продолжить установку, необходимо перезагрузить компьютер. Если не перезагрузить его сейчас, программа, скорее всего, не будет работать до перезагрузки.'
      '53;Да, я хочу перезагрузить Windows'
      '54;Нет, я не хочу перезагружать Windows'
      '55;&Закрыть'
      ''
      '* Unsuccessful completion'
      '60;Программное обеспечение установлено неправильно и не будет правильно работать при попытке его использовать.'
      '61;Установка не завершена'
      ''
      '* Language names (kept in the table, no dialog shows them)'
      '62;Выберите язык'
      '63;Английский'
      '64;Французский'
      '65;Немецкий'
      '66;Итальянский'
      '67;Японский'
      '68;Корейский'
      '69;Русский'
      '70;Испанский'
      ''
      '* Installer messages'
      '56;Не удалось перезагрузить Windows. Перезагрузите Windows вручную.'
      ''
      '* Database engine installation'
      '57;Будет установлен Quenby Database Engine.'
      ''
      '* Status messages'
      '75;Чтение сведений о файлах...'
      '76;Вход на удаленный сервер')
    lgSpanish.Strings.Strings = (
      '* Pellmore setup kit, Spanish string table (translations of the English table, same ids in the same order).'
      '* One entry per line as <id>;<text>; lines starting with * are comments.'
      ''
      '* Common buttons and words'
      '4;< Atrás'
      '5;Siguiente >'
      '6;Cancelar'
      '26;&Examinar'
      '72;Finalizar'
      '71;Predeterminado'
      '49;Continuar'
      ''
      '* Welcome page'
      '9;Bienvenido'
      '10;Este programa instalará el software en su equipo.'
      '11;Se recomienda encarecidamente salir de todos los programas de Windows antes de ejecutar este programa de instalación. Si necesita cerrar algún programa, haga clic en Cancelar para salir de la instalación y, a continuación, cierre los programas.'
      '12;Haga clic en Siguiente para continuar con la instalación.'
      ''
      '* Licence page'
      '1;Contrato de licencia de software'
      '2;Lea el siguiente contrato de licencia.'
      '3;Al hacer clic en el botón Siguiente, acepta todos los términos del contrato de licencia. Puede cancelar la instalación haciendo clic en el botón Cancelar.'
      ''
      '* Readme page'
      '7;Información Léame'
      '8;Lea la siguiente información antes de instalar este software en su equipo.'
      ''
      '* Install type page'
      '17;Típica'
      '18;El programa se instalará con las opciones más habituales.'
      '19;Compacta'
      '20;El programa se instalará con las opciones mínimas necesarias.'
      '21;Personalizada'
      '22;Puede elegir las opciones que desea instalar. Recomendada para usuarios avanzados.'
      '23;Completa'
      '24;El programa se instalará con todas las opciones.'
      '25;Directorio de destino'
      '58;Tipo de instalación'
      '59;Haga clic en el tipo de instalación que prefiera y, a continuación, en el botón Siguiente.'
      ''
      '* Select folder page'
      '40;Seleccionar carpeta del menú Inicio'
      '41;El programa de instalación agregará los iconos del programa a la carpeta indicada a continuación. Puede escribir un nombre de carpeta nuevo o seleccionar uno de la lista Carpetas e&xistentes.'
      '42;Carpeta de &programas'
      '43;Carpetas e&xistentes'
      ''
      '* File group selection page'
      '27;Seleccionar los componentes que desea instalar'
      '28;Seleccione los componentes que desea instalar y desactive los que no desea instalar. Haga doble clic en un grupo para ver todos sus subgrupos.'
      '29;Descripción'
      '30;Directorio de destino'
      '31;Espacio requerido:'
      '32;Espacio disponible:'
      '33;bytes'
      '34;&Excluir/incluir el grupo resaltado'
      ''
      '* Copy progress dialog'
      '13;Copiando archivos de instalación'
      '14;Procesando'
      '15;Progreso del archivo'
      '16;Progreso total'
      ''
      '* Successful completion'
      '37;Instalación completada'
      '38;El software se ha instalado correctamente. Puede iniciarlo haciendo clic en su icono.'
      '39;&Finalizar'
      ''
      '* Change disk dialog'
      '44;El programa de instalación necesita el siguiente disco'
      '45;Inserte el disco número %d'
      '46;Si los archivos de este disco se encuentran en otra ubicación, por ejemplo en otra unidad, escriba su ruta completa o haga clic en el botón Examinar para seleccionarla.'
      '47;&Ruta:'
      '48;&Examinar...'
      ''
      '* Reboot dialog'
      '51;Reiniciar Windows'
      '52;Algunos componentes no se pudieron instalar porque estaban en uso. Para continuar con la instalación, debe reiniciar el equipo. Si decide no reiniciarlo ahora, es probable que el software no funcione hasta que lo reinicie.'
      '53;Sí, deseo reiniciar Windows'
      '54;No, no deseo reiniciar Windows'
      '55;&Cerrar'
      ''
      '* Unsuccessful completion'
      '60;Este software no se ha instalado correctamente y no funcionará bien si intenta utilizarlo.'
      '61;Instalación incompleta'
      ''
      '* Language names (kept in the table, no dialog shows them)'
      '62;Seleccione un idioma'
      '63;Inglés'
      '64;Francés'
      '65;Alemán'
      '66;Italiano'
      '67;Japonés'
      '68;Coreano'
      '69;Ruso'
      '70;Español'
      ''
      '* Installer messages'
      '56;No se pudo reiniciar Windows. Reinicie Windows manualmente.'
      ''
      '* Database engine installation'
      '57;Se instalará Quenby Database Engine.'
      ''
      '* Status messages'
      '75;Leyendo información de archivos...'
      '76;Conectando con el servidor remoto')
    lgVietnamese.Strings.Strings = (
      '* Pellmore setup kit, Vietnamese string table (translations of the English table, same ids in the same order).'
      '* One entry per line as <id>;<text>; lines starting with * are comments.'
      ''
      '* Common buttons and words'
      '4;< Quay lại'
      '5;Tiếp theo >'
      '6;Hủy'
      '26;&Duyệt'
      '72;Hoàn tất'
      '71;Mặc định'
      '49;Tiếp tục'
      ''
      '* Welcome page'
      '9;Chào mừng'
      '10;Chương trình này sẽ cài đặt phần mềm vào máy tính của bạn.'
      '11;Chúng tôi đặc biệt khuyên bạn thoát tất cả các chương trình Windows trước khi chạy chương trình cài đặt này. Nếu cần đóng chương trình nào, hãy bấm Hủy để thoát khỏi chương trình cài đặt rồi đóng các chương trình đó.'
      '12;Bấm Tiếp theo để tiếp tục cài đặt.'
      ''
      '* Licence page'
      '1;Thỏa thuận cấp phép phần mềm'
      '2;Vui lòng đọc Thỏa thuận cấp phép sau đây.'
      '3;Khi bấm nút Tiếp theo bên dưới, bạn đồng ý với mọi điều khoản trong Thỏa thuận cấp phép. Bạn có thể hủy cài đặt bằng cách bấm nút Hủy.'
      ''
      '* Readme page'
      '7;Thông tin quan trọng'
      '8;Vui lòng đọc thông tin dưới đây trước khi cài đặt phần mềm này vào máy tính của bạn.'
      ''
      '* Install type page'
      '17;Thông thường'
      '18;Chương trình sẽ được cài đặt với các tùy chọn phổ biến nhất.'
      '19;Tối thiểu'
      '20;Chương trình sẽ được cài đặt với các tùy chọn tối thiểu cần thiết.'
      '21;Tùy chỉnh'
      '22;Bạn có thể chọn các tùy chọn muốn cài đặt. Khuyên dùng cho người dùng có kinh nghiệm.'
      '23;Đầy đủ'
      '24;Chương trình sẽ được cài đặt với tất cả các tùy chọn.'
      '25;Thư mục đích'
      '58;Kiểu cài đặt'
      '59;Bấm vào kiểu cài đặt bạn muốn, rồi bấm nút Tiếp theo.'
      ''
      '* Select folder page'
      '40;Chọn thư mục trong menu Start'
      '41;Chương trình cài đặt sẽ thêm biểu tượng chương trình vào Thư mục chương trình bên dưới. Bạn có thể nhập tên thư mục mới hoặc chọn từ danh sách &Thư mục hiện có.'
      '42;Thư mục &chương trình'
      '43;&Thư mục hiện có'
      ''
      '* File group selection page'
      '27;Chọn các thành phần cần cài đặt'
      '28;Chọn các thành phần bạn muốn cài đặt, bỏ chọn các thành phần bạn không muốn cài đặt. Bấm đúp vào một nhóm để xem tất cả các nhóm con của nhóm đó.'
      '29;Mô tả'
      '30;Thư mục đích'
      '31;Dung lượng cần:'
      '32;Dung lượng trống:'
      '33;byte'
      '34;&Loại trừ/bao gồm nhóm được chọn'
      ''
      '* Copy progress dialog'
      '13;Đang sao chép tệp cài đặt'
      '14;Đang xử lý'
      '15;Tiến trình tệp'
      '16;Tổng tiến trình'
      ''
      '* Successful completion'
      '37;Cài đặt hoàn tất'
      '38;Phần mềm đã được cài đặt đúng cách. Bạn có thể khởi động phần mềm bằng cách bấm vào biểu tượng.'
      '39;&Hoàn tất'
      ''
      '* Change disk dialog'
      '44;Chương trình cài đặt cần đĩa tiếp theo'
      '45;Vui lòng đưa đĩa số %d vào'
      '46;Nếu có thể tìm thấy các tệp của đĩa này ở vị trí khác, ví dụ trên một ổ đĩa khác, hãy nhập đường dẫn đầy đủ hoặc bấm nút Duyệt để chọn đường dẫn.'
      '47;Đường &dẫn:'
      '48;&Duyệt...'
      ''
      '* Reboot dialog'
      '51;Khởi động lại Windows'
      '52;Một số thành phần không thể cài đặt vào hệ thống vì đang được sử dụng. Để tiếp tục cài đặt, bạn cần khởi động lại máy tính. Nếu bạn không khởi động lại ngay, phần mềm có thể sẽ không hoạt động cho đến khi bạn khởi động lại.'
      '53;Có, tôi muốn khởi động lại Windows'
      '54;Không, tôi không muốn khởi động lại Windows'
      '55;Đó&ng'
      ''
      '* Unsuccessful completion'
      '60;Phần mềm này chưa được cài đặt đúng cách và sẽ không hoạt động chính xác nếu bạn cố sử dụng.'
      '61;Cài đặt chưa hoàn tất'
      ''
      '* Language names (kept in the table, no dialog shows them)'
      '62;Chọn ngôn ngữ'
      '63;Tiếng Anh'
      '64;Tiếng Pháp'
      '65;Tiếng Đức'
      '66;Tiếng Ý'
      '67;Tiếng Nhật'
      '68;Tiếng Hàn'
      '69;Tiếng Nga'
      '70;Tiếng Tây Ban Nha'
      ''
      '* Installer messages'
      '56;Không thể khởi động lại Windows. Vui lòng khởi động lại Windows thủ công.'
      ''
      '* Database engine installation'
      '57;Chương trình này sẽ cài đặt Quenby Database Engine.'
      ''
      '* Status messages'
      '75;Đang đọc thông tin tệp...'
      '76;Đang đăng nhập vào máy chủ từ xa')
  end
  object Install1: TInstall
    AutoMaximizeWindow = False
    Description.Strings = (
      'Quenby Database Engine 8.2.0：数据库引擎的核心库、驱动程序和管理工具')
    DestDirType = psQDEDLL
    GroupName = 'Quenby Database Engine'
    Information.CompanyName = 'My Company'
    Information.ProductName = 'Quenby Database Engine'
    Information.Version = '8.2.0'
    InstallTypes = [itCustom]
    PresetupFiles.Strings = (
      'C:\Pellmore\QDSETUP.DLL')
    RunAutomatic = True
    UseLoadingProgram = True
  end
  object psObjectLink: TpsObjectLink
  end
  object MainFolder: TMainLinkGroup
    Container = Install1
    DestDir = '\Quenby Database Engine'
  end
  object RebootDlg: TRebootDlg
    Container = Install1
    DialogManager = DialogManager5
    Order = 10
  end
  object InstallQDE: TInstallQDE
    ArchiveFileType = psContainerArchiveFile
    Container = Install1
    DestDirType = psQDEDLL
    Order = 0
    GroupName = 'Quenby Database Engine'
    drVault = True
    drAscii = True
    drFolio = True
    drFull = True
    drODBC = True
    drTabula = True
    drSQLEngine = True
    drQBFEngine = True
    LanguageDLL = '0009'
    SaveFor16Bit = False
    slKestrel = True
    slHeronClassic = True
    slOsprey = False
    slPlover = False
    slWren = False
    slTern = False
    slHeronNext = False
    ServerLinkEntries.Strings = (
      '[SESSION-KESTREL]'
      'DATABASE='
      'HOST=KST_SERVER'
      'LOGIN=MYNAME'
      'ACCESS=READ/WRITE'
      'CACHE SIZE=8'
      'COMMIT MODE=SHARED AUTO'
      'DATE FORMAT=0'
      'QUERY TIMEOUT=300'
      'ROW LIMIT=-1'
      'BATCH SIZE=200'
      'CLIENT NAME='
      'PACKET SIZE=4096'
      '  '
      '[STARTUP-KESTREL]'
      'LIBRARY=QLKKST32.DLL'
      'CLIENT LIB='
      'CONNECT TIMEOUT=60'
      'TIMEOUT=300'
      'TRACE=0'
      'MAX CONNECTIONS=300'
      '  ')
  end
  object QDEFile: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'QDENG32.DLL'
    FileName = 'QDENG32.DLL'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 0
    OverwriteMode = owVersionDate
    UniqueID = 1
    UpdateDLLCounter = True
  end
  object QDEFile1: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'QDLOC32.DLL'
    FileName = 'QDLOC32.DLL'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 30
    OverwriteMode = owVersionDate
    UniqueID = 2
    UpdateDLLCounter = True
  end
  object QDEFile2: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'QDDRV32.DLL'
    FileName = 'QDDRV32.DLL'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 29
    OverwriteMode = owVersionDate
    UniqueID = 3
    UpdateDLLCounter = True
  end
  object QDEFile3: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'QDBMV32.DLL'
    FileName = 'QDBMV32.DLL'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 28
    OverwriteMode = owVersionDate
    UniqueID = 4
    UpdateDLLCounter = True
  end
  object QDEConfigFile: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'QDENG32.CNF'
    FileName = 'QDENG32.CNF'
    IncludeFromDir = 'C:\Pellmore'
    Net = True
    Order = 27
    UniqueID = 5
  end
  object QDEFile4: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'lceast.qlt'
    FileName = 'lceast.qlt'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 26
    OverwriteMode = owVersionDate
    UniqueID = 6
    UpdateDLLCounter = True
  end
  object QDEFile5: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'lcwest.qlt'
    FileName = 'lcwest.qlt'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 25
    OverwriteMode = owVersionDate
    UniqueID = 7
    UpdateDLLCounter = True
  end
  object QDEFile6: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'lcasia.qlt'
    FileName = 'lcasia.qlt'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 24
    OverwriteMode = owVersionDate
    UniqueID = 8
    UpdateDLLCounter = True
  end
  object QDEFile7: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'lcjpn.qlt'
    FileName = 'lcjpn.qlt'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 23
    OverwriteMode = owVersionDate
    UniqueID = 9
    UpdateDLLCounter = True
  end
  object QDEFile8: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'lcmisc.qlt'
    FileName = 'lcmisc.qlt'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 22
    OverwriteMode = owVersionDate
    UniqueID = 10
    UpdateDLLCounter = True
  end
  object QDEFile9: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'lcus.qlt'
    FileName = 'lcus.qlt'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 21
    OverwriteMode = owVersionDate
    UniqueID = 11
    UpdateDLLCounter = True
  end
  object QDEFile10: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'charset.qcv'
    FileName = 'charset.qcv'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 20
    OverwriteMode = owVersionDate
    UniqueID = 12
    UpdateDLLCounter = True
  end
  object QDEFile11: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'qdcvt.dll'
    FileName = 'qdcvt.dll'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 19
    OverwriteMode = owVersionDate
    UniqueID = 13
    UpdateDLLCounter = True
  end
  object QDEFile12: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'QDRS0009.DLL'
    FileName = 'QDRS0009.DLL'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 18
    OverwriteMode = owVersionDate
    UniqueID = 14
    UpdateDLLCounter = True
  end
  object QDEFile13: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'QDMGR.EXE'
    FileName = 'QDMGR.EXE'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 17
    OverwriteMode = owVersionDate
    UniqueID = 16
    UpdateDLLCounter = True
  end
  object QDEFile14: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'QDMGR.HLP'
    FileName = 'QDMGR.HLP'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 16
    OverwriteMode = owVersionDate
    RegisterAsHelp = True
    UniqueID = 17
    UpdateDLLCounter = True
  end
  object QDEFile15: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'QDMGR.CNT'
    FileName = 'QDMGR.CNT'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 15
    OverwriteMode = owVersionDate
    RegisterAsHelp = True
    UniqueID = 18
    UpdateDLLCounter = True
  end
  object QDEFile16: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psSystem
    DestName = 'QDMGR.CPL'
    FileName = 'QDMGR.CPL'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 14
    OverwriteMode = owVersionDate
    UniqueID = 19
    UpdateDLLCounter = True
  end
  object QDEFile17: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'QDVLT32.DLL'
    FileName = 'QDVLT32.DLL'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 13
    OverwriteMode = owVersionDate
    UniqueID = 20
    UpdateDLLCounter = True
  end
  object QDEFile18: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'QDVOB32.DLL'
    FileName = 'QDVOB32.DLL'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 12
    OverwriteMode = owVersionDate
    UniqueID = 21
    UpdateDLLCounter = True
  end
  object QDEFile19: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'QDTXT32.DLL'
    FileName = 'QDTXT32.DLL'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 11
    OverwriteMode = owVersionDate
    UniqueID = 22
    UpdateDLLCounter = True
  end
  object QDEFile20: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'QDFOL32.DLL'
    FileName = 'QDFOL32.DLL'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 10
    OverwriteMode = owVersionDate
    UniqueID = 23
    UpdateDLLCounter = True
  end
  object QDEFile21: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'QDOBR32.DLL'
    FileName = 'QDOBR32.DLL'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 9
    OverwriteMode = owVersionDate
    UniqueID = 24
    UpdateDLLCounter = True
  end
  object QDEFile22: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'QDTAB32.DLL'
    FileName = 'QDTAB32.DLL'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 8
    OverwriteMode = owVersionDate
    UniqueID = 25
    UpdateDLLCounter = True
  end
  object QDEFile23: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'QDLSQ32.DLL'
    FileName = 'QDLSQ32.DLL'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 7
    OverwriteMode = owVersionDate
    UniqueID = 26
    UpdateDLLCounter = True
  end
  object QDEFile24: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'QDQBF32.DLL'
    FileName = 'QDQBF32.DLL'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 6
    OverwriteMode = owVersionDate
    UniqueID = 27
    UpdateDLLCounter = True
  end
  object QDEFile27: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'QLKKST32.DLL'
    FileName = 'QLKKST32.DLL'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 5
    OverwriteMode = owVersionDate
    UniqueID = 30
    UpdateDLLCounter = True
  end
  object QDEFile28: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'QLKHCL32.DLL'
    FileName = 'QLKHCL32.DLL'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 4
    OverwriteMode = owVersionDate
    UniqueID = 31
    UpdateDLLCounter = True
  end
  object QDEFile29: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'QLKOSP32.DLL'
    FileName = 'QLKOSP32.DLL'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 3
    OverwriteMode = owVersionDate
    UniqueID = 32
    UpdateDLLCounter = True
  end
  object QDEFile25: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'SRVLNK32.HLP'
    FileName = 'SRVLNK32.HLP'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 2
    OverwriteMode = owVersionDate
    RegisterAsHelp = True
    UniqueID = 28
    UpdateDLLCounter = True
  end
  object QDEFile26: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = InstallQDE
    DestDirType = psContainerDestDir
    DestName = 'SRVLNK32.CNT'
    FileName = 'SRVLNK32.CNT'
    FileType = iftJustADLL
    IncludeFromDir = 'C:\Program Files\Quenby\Common Files\QDE'
    Net = True
    Order = 1
    OverwriteMode = owVersionDate
    RegisterAsHelp = True
    UniqueID = 29
    UpdateDLLCounter = True
  end
end
