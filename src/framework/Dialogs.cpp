// ShowMessage, InputQuery and InputBox (see Dialogs.h).
#include "framework/Dialogs.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/StdCtrls.h"

void ShowMessage(const std::string& text) {
  Application().MessageBox(text, Application().Title(), MB_OK);
}

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  Owned<TForm> form(new TForm(nullptr));
  form->SetName("InputQuery");
  form->SetBorderStyle(bsDialog);
  form->SetPosition(poScreenCenter);
  form->SetCaption(caption);
  form->Font()->SetName("MS Sans Serif");
  form->Font()->SetHeight(-11);

  auto* label = new TLabel(form.get());
  label->SetName("Prompt");
  label->SetParent(form.get());
  label->SetBounds(8, 8, 0, 0);
  label->SetCaption(prompt);

  auto* edit = new TEdit(form.get());
  edit->SetName("Value");
  edit->SetParent(form.get());
  edit->SetText(value);

  auto* ok = new TButton(form.get());
  ok->SetName("OK");
  ok->SetParent(form.get());
  ok->SetCaption("OK");
  ok->SetDefault(true);
  ok->SetModalResult(mrOk);

  auto* cancel = new TButton(form.get());
  cancel->SetName("Cancel");
  cancel->SetParent(form.get());
  cancel->SetCaption("Cancel");
  cancel->SetCancel(true);
  cancel->SetModalResult(mrCancel);

  // Wide enough for the caption and the prompt, never narrower than the
  // buttons need.
  const int textWidth = std::max(label->Width(), form->Canvas()->TextWidth(caption) + 40);
  const int clientWidth = std::max(240, textWidth + 16);
  edit->SetBounds(8, label->Top() + label->Height() + 6, clientWidth - 16, 21);
  const int buttonsTop = edit->Top() + edit->Height() + 12;
  cancel->SetBounds(clientWidth - 8 - 75, buttonsTop, 75, 25);
  ok->SetBounds(cancel->Left() - 8 - 75, buttonsTop, 75, 25);
  form->SetClientWidth(clientWidth);
  form->SetClientHeight(buttonsTop + 25 + 8);
  form->SetActiveControl(edit);

  if (form->ShowModal() != mrOk) return false;
  value = edit->Text();
  return true;
}

std::string InputBox(const std::string& caption, const std::string& prompt,
                     const std::string& defaultValue) {
  std::string value = defaultValue;
  InputQuery(caption, prompt, value);
  return value;
}
