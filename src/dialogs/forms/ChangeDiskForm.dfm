inherited ChangeDiskForm: TChangeDiskForm
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'Setup needs the next disk'
  ClientHeight = 178
  ClientWidth = 413
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Arial'
  Font.Style = []
  Position = poScreenCenter
  object ThemeBitmap: TImage
    Left = 8
    Top = 8
    Width = 57
    Height = 113
  end
  object PromptDiskLabel: TTranslateLabel
    Left = 72
    Top = 8
    Width = 329
    Height = 17
    AutoSize = False
    Caption = 'Please insert disk number %d'
    WordWrap = True
    GLID = 45
  end
  object Label2: TTranslateLabel
    Left = 72
    Top = 32
    Width = 329
    Height = 41
    AutoSize = False
    Caption = 'If the files on this disk can be found in another location, for ' +
      'example, in another drive, enter its full path or click the Browse ' +
      'button to select its path.'
    WordWrap = True
    GLID = 46
  end
  object Label4: TTranslateLabel
    Left = 72
    Top = 80
    Width = 26
    Height = 14
    Caption = 'Path:'
    GLID = 47
  end
  object PathEdit: TEdit
    Left = 72
    Top = 99
    Width = 241
    Height = 22
    ReadOnly = True
    TabOrder = 0
  end
  object BrowseBtn: TTranslateBitBtn
    Left = 320
    Top = 96
    Width = 81
    Height = 25
    Caption = '&Browse...'
    TabOrder = 1
    OnClick = BrowseBtnClick
    GLID = 48
  end
  object Bevel1: TBevel
    Left = 8
    Top = 129
    Width = 397
    Height = 2
    Shape = bsTopLine
  end
  object InstallBtn: TTranslateBitBtn
    Left = 216
    Top = 144
    Width = 89
    Height = 25
    Caption = 'Proceed'
    Kind = bkOK
    TabOrder = 2
    GLID = 49
  end
  object CancelBtn: TTranslateBitBtn
    Left = 312
    Top = 144
    Width = 89
    Height = 25
    Caption = 'Cancel'
    Cancel = True
    TabOrder = 3
    OnClick = CancelBtnClick
    GLID = 6
  end
end
