inherited CopyFileForm: TCopyFileForm
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'Copying installation files'
  ClientHeight = 119
  ClientWidth = 466
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Arial'
  Font.Style = []
  object pnlLeft: TPanel
    Left = 0
    Top = 0
    Width = 56
    Height = 119
    Align = alLeft
    BevelOuter = bvNone
    BorderWidth = 10
    TabOrder = 0
    object UnZipImage: TImage
      Left = 10
      Top = 10
      Width = 36
      Height = 37
    end
    object TransferBitmap: TImage
      Left = 10
      Top = 10
      Width = 37
      Height = 36
      Visible = False
    end
  end
  object pnlRight: TPanel
    Left = 369
    Top = 0
    Width = 97
    Height = 119
    Align = alRight
    BevelOuter = bvNone
    TabOrder = 2
    object CancelBtn: TTranslateBitBtn
      Left = 4
      Top = 21
      Width = 89
      Height = 25
      Caption = 'Cancel'
      TabOrder = 0
      OnClick = CancelBtnClick
      GLID = 6
    end
  end
  object pnlCenter: TPanel
    Left = 56
    Top = 0
    Width = 313
    Height = 119
    Align = alClient
    BevelOuter = bvNone
    BorderWidth = 5
    TabOrder = 1
    object lblCopyFileHeader: TTranslateLabel
      Left = 5
      Top = 5
      Width = 303
      Height = 14
      Align = alTop
      AutoSize = False
      Caption = 'Processing'
      GLID = 14
    end
    object pnlFileName: TPanel
      Left = 5
      Top = 19
      Width = 303
      Height = 25
      Align = alTop
      BevelOuter = bvNone
      BorderWidth = 3
      TabOrder = 0
      object lblSpacerLeft: TLabel
        Left = 3
        Top = 3
        Width = 10
        Height = 19
        Align = alLeft
        AutoSize = False
      end
      object lblSpacerRight: TLabel
        Left = 290
        Top = 3
        Width = 10
        Height = 19
        Align = alRight
        AutoSize = False
      end
      object lblCopyingFile: TTranslateLabel
        Left = 13
        Top = 3
        Width = 277
        Height = 19
        Align = alClient
        AutoSize = False
        Caption = '.....'
      end
    end
    object lblSpacer1: TLabel
      Left = 5
      Top = 44
      Width = 303
      Height = 3
      Align = alTop
      AutoSize = False
    end
    object pnlFileProgress: TPanel
      Left = 5
      Top = 47
      Width = 303
      Height = 32
      Align = alTop
      BevelOuter = bvNone
      BorderWidth = 5
      TabOrder = 1
      object ProgressBar1: TProgressBar
        Left = 122
        Top = 5
        Width = 176
        Height = 22
        Align = alRight
        Min = 0
        Max = 100
        TabOrder = 0
      end
      object lblFileGap: TLabel
        Left = 116
        Top = 5
        Width = 6
        Height = 22
        Align = alRight
        AutoSize = False
      end
      object lblFileProgress: TTranslateLabel
        Left = 5
        Top = 5
        Width = 111
        Height = 22
        Align = alClient
        Alignment = taRightJustify
        AutoSize = False
        Caption = 'File progress'
        Layout = tlCenter
        GLID = 15
      end
    end
    object lblSpacer2: TLabel
      Left = 5
      Top = 79
      Width = 303
      Height = 3
      Align = alTop
      AutoSize = False
    end
    object pnlTotalProgress: TPanel
      Left = 5
      Top = 82
      Width = 303
      Height = 32
      Align = alTop
      BevelOuter = bvNone
      BorderWidth = 5
      TabOrder = 2
      object ProgressBar2: TProgressBar
        Left = 122
        Top = 5
        Width = 176
        Height = 22
        Align = alRight
        Min = 0
        Max = 100
        TabOrder = 0
      end
      object lblTotalGap: TLabel
        Left = 116
        Top = 5
        Width = 6
        Height = 22
        Align = alRight
        AutoSize = False
      end
      object lblTotalProgress: TTranslateLabel
        Left = 5
        Top = 5
        Width = 111
        Height = 22
        Align = alClient
        Alignment = taRightJustify
        AutoSize = False
        Caption = 'Total progress'
        Layout = tlCenter
        GLID = 16
      end
    end
  end
end
