inherited CompletionPageForm: TCompletionPageForm
  Caption = 'CompletionPageForm'
  inherited pnlButtons: TPanel
    inherited BackBtn: TTranslateBitBtn
      Left = 304
    end
    inherited ProceedBtn: TTranslateBitBtn
      Left = 384
    end
    object FinishBtn: TTranslateBitBtn
      Left = 384
      Top = 15
      Width = 75
      Height = 25
      Caption = 'Finish'
      TabOrder = 2
      Visible = False
      OnClick = ProceedBtnClick
      GLID = 72
    end
  end
  inherited pnlContent: TPanel
    BorderWidth = 5
  end
end
