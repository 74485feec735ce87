// Small standard dialogs: a message with an OK button and the input box.
// The input box is an ordinary form built in code, so the widgetset shows
// (or, headless, answers) it like any other: form "InputQuery", label
// "Prompt", edit "Value", buttons "OK" and "Cancel".
#pragma once

#include <string>

// A message box with the application's title and an OK button.
void ShowMessage(const std::string& text);

// Asks for a text: true and `value` changed when the user pressed OK;
// false, `value` unchanged, otherwise.
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);

// The text entered, or `defaultValue` when the user cancelled.
std::string InputBox(const std::string& caption, const std::string& prompt,
                     const std::string& defaultValue);
