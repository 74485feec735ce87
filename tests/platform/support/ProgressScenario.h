// A busy loop behind a modeless progress form, as a long copy shows it:
// each step changes the file label and the bar, repaints (twice, the second
// time with nothing changed) and lets messages through. The form's Cancel
// asks whether to stop. Both widgetsets' tests run it, so their transcripts
// can be compared line by line.
#pragma once

#include <string>

#include "framework/Application.h"
#include "framework/ComCtrls.h"
#include "framework/FormReader.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

namespace progress_scenario {

inline const char* const kCopyingForm = R"(object Copying: TForm
  Left = 40
  Top = 40
  BorderStyle = bsDialog
  Caption = 'Copying files'
  ClientHeight = 110
  ClientWidth = 320
  object lblFile: TLabel
    Left = 8
    Top = 8
    Width = 300
    Height = 13
    AutoSize = False
    Caption = 'Preparing'
  end
  object Bar: TProgressBar
    Left = 8
    Top = 32
    Width = 300
    Height = 16
  end
  object btnCancel: TButton
    Left = 120
    Top = 72
    Width = 75
    Height = 25
    Caption = '&Cancel'
    Cancel = True
  end
end
)";

inline const char* const kQuestionForm = R"(object Question: TForm
  Left = 80
  Top = 80
  BorderStyle = bsDialog
  Caption = 'Replace the file?'
  ClientHeight = 60
  ClientWidth = 200
  object btnOK: TButton
    Left = 16
    Top = 24
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = mrOk
  end
  object btnSkip: TButton
    Left = 108
    Top = 24
    Width = 75
    Height = 25
    Caption = 'Skip'
    ModalResult = mrCancel
  end
end
)";

struct Options {
  int max = 100;     // the bar's Max; positions run 0..max
  int step = 10;     // added to the position at each step
  int boxAt = -1;    // a message box comes up at this position
  int modalAt = -1;  // a modal question comes up at this position
};

struct Outcome {
  int presses = 0;        // Cancel clicked
  int pressedAt = -1;     // the bar's position at the (last) click
  int answer = 0;         // the answer to the cancel question
  int boxAnswer = 0;      // the answer to the message box at boxAt
  int modalResult = 0;    // the modal question's result at modalAt
  int lastPosition = -1;  // where the loop stopped
};

// The label's text at `position`.
inline std::string FileAt(int position, int step) {
  return "File " + std::to_string(position / step + 1) + ".dat";
}

// Runs the loop; the forms are freed before it returns or raises.
inline Outcome Run(const Options& o) {
  Outcome out;
  auto* form = new TForm(&Application());
  ReadForm(*form, kCopyingForm, "copying.dfm");
  auto* label = static_cast<TLabel*>(form->FindComponent("lblFile"));
  auto* bar = static_cast<TProgressBar*>(form->FindComponent("Bar"));
  bar->SetMax(o.max);
  bool stop = false;
  static_cast<TButton*>(form->FindComponent("btnCancel"))->OnClick = [&](TObject*) {
    ++out.presses;
    out.pressedAt = bar->Position();
    out.answer = Application().MessageBox("Do you want to cancel the installation?", "Setup",
                                          MB_YESNO | MB_ICONQUESTION);
    stop = out.answer == IDYES;
  };
  struct FreeOnError {
    TForm* form;
    ~FreeOnError() {
      if (form) form->Free();
    }
  } guard{form};
  form->Show();
  for (int position = 0; position <= o.max && !stop; position += o.step) {
    label->SetCaption(FileAt(position, o.step));
    bar->SetPosition(position);
    bar->Repaint();
    label->Repaint();  // nothing changed since the bar's repaint
    out.lastPosition = position;
    if (position == o.boxAt)
      out.boxAnswer = Application().MessageBox("The disk is almost full.", "Setup",
                                               MB_OKCANCEL | MB_ICONEXCLAMATION);
    if (position == o.modalAt) {
      auto* question = new TForm(&Application());
      ReadForm(*question, kQuestionForm, "question.dfm");
      out.modalResult = question->ShowModal();
      question->Free();
    }
    Application().ProcessMessages();
  }
  guard.form = nullptr;
  form->Free();
  Application().ProcessMessages();
  return out;
}

}  // namespace progress_scenario
