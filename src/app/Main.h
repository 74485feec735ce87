// Unit Main: the setup's main form TfmMain. Its stored description
// (Main.dfm, compiled into the program) declares the installer and its
// configuration; FormCreate sizes the form to the whole screen.
#pragma once

#include <string_view>

#include "framework/Forms.h"

class ClassRegistry;

// The application title: the engine's name and version followed by the
// word for installation.
extern const char* const kSetupTitle;

// The text of Main.dfm.
extern const std::string_view kMainDfmText;

// The setup program's main form: it covers the screen behind the wizard and
// holds the installer and every other kit component of the setup.
class TfmMain : public TForm {
  PELLMORE_CLASS(TfmMain, TForm)

 public:
  using TForm::TForm;

  // Covers the screen, so that the backdrop fills it.
  void FormCreate(TObject* Sender);
  // Asks the user whether a cancel really ends the setup (Yes ends it).
  // Descriptions bind it to the installer: "OnUserAbort = ConfirmCancel".
  void ConfirmCancel(TObject* Install, bool& QuitOut);
};

// Registers TfmMain with its handler and its description.
void RegisterMainForm(ClassRegistry& registry);
