inherited InstallTypeForm: TInstallTypeForm
  Caption = 'Setup type'
  inherited pnlContent: TPanel
    object lblChooseType: TTranslateLabel
      Left = 8
      Top = 8
      Width = 318
      Height = 28
      Align = alTop
      Caption = 'Click the type of Setup you prefer, then click the Next button.'
      WordWrap = True
      GLID = 59
    end
    object lblSpacer1: TTranslateLabel
      Left = 8
      Top = 36
      Width = 318
      Height = 8
      Align = alTop
      AutoSize = False
    end
    object DirectoryGroupBox: TGroupBox
      Left = 8
      Top = 255
      Width = 318
      Height = 60
      Align = alBottom
      Caption = 'Destination Directory'
      TabOrder = 1
      object edDestDir: TEdit
        Left = 10
        Top = 24
        Width = 205
        Height = 21
        TabOrder = 0
        OnChange = edDestDirChange
      end
      object BrowseBtn: TTranslateBitBtn
        Left = 223
        Top = 22
        Width = 85
        Height = 25
        Caption = '&Browse'
        TabOrder = 1
        OnClick = BrowseBtnClick
        GLID = 26
      end
    end
    object lblSpacer2: TTranslateLabel
      Left = 8
      Top = 247
      Width = 318
      Height = 8
      Align = alBottom
      AutoSize = False
    end
    object PageControl: TPageControl
      Left = 8
      Top = 44
      Width = 318
      Height = 203
      ActivePage = TypicalTab
      Align = alClient
      TabOrder = 0
      OnChange = PageControlChange
      object TypicalTab: TTabSheet
        BorderWidth = 6
        Caption = 'Typical'
        object lblTypical: TTranslateLabel
          Left = 0
          Top = 0
          Width = 298
          Height = 14
          Align = alTop
          Caption = 'Program will be installed with the most common options.'
          WordWrap = True
          GLID = 18
        end
      end
      object CompactTab: TTabSheet
        BorderWidth = 6
        Caption = 'Compact'
        object lblCompact: TTranslateLabel
          Left = 0
          Top = 0
          Width = 298
          Height = 14
          Align = alTop
          Caption = 'Program will be installed with minimum required options.'
          WordWrap = True
          GLID = 20
        end
      end
      object FullTab: TTabSheet
        BorderWidth = 6
        Caption = 'Full'
        object lblFull: TTranslateLabel
          Left = 0
          Top = 0
          Width = 298
          Height = 14
          Align = alTop
          Caption = 'Program will be installed with all options.'
          WordWrap = True
          GLID = 24
        end
      end
      object CustomTab: TTabSheet
        BorderWidth = 6
        Caption = 'Custom'
        object lblCustom: TTranslateLabel
          Left = 0
          Top = 0
          Width = 298
          Height = 28
          Align = alTop
          Caption = 
            'You may choose the options you want to install. Recommended for ' +
            'advanced users.'
          WordWrap = True
          GLID = 22
        end
      end
    end
  end
  inherited pnlButtons: TPanel
    object CancelBtn: TTranslateBitBtn
      Left = 368
      Top = 15
      Width = 89
      Height = 25
      Caption = 'Cancel'
      Cancel = True
      TabOrder = 2
      OnClick = CancelBtnClick
      GLID = 6
    end
  end
end
