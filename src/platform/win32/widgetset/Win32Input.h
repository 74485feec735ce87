// What a user does, done through the real windows: each function sends the
// messages a real click, keystroke or selection would produce, so that the
// controls' own notifications run and reach the control model the way the
// user's input does. For the UI script's driver and for tests.
#pragma once

#include <string>

class TControl;

namespace platform::win32 {

// A click on the control's window (BM_CLICK for buttons, check boxes and
// radio buttons; a left click in the middle of other windows). Nothing
// happens for a control without a window.
void UserClick(TControl& c);
// Replaces the text of an edit, memo or combo box as typing would: focus,
// select all, then the characters as WM_CHAR (a line break in a memo is
// Enter); the controls' change notification carries the text to the model.
void UserType(TControl& c, const std::string& text);
// Checks or unchecks a check box or radio button as clicks would (a
// three-state box may take two clicks; a radio button cannot be unchecked
// by a click, so `false` leaves it as it is).
void UserCheck(TControl& c, bool checked);
// Selects item `index` of a list box, combo box, radio group, page control
// (its visible tabs), tree view (nodes in the model's order) or list view,
// with the notification a user's selection sends. False if `c` has no such
// item, or no window a user could reach (it or a window it sits in is
// disabled). Clicks, typing and checks on such a window do nothing either.
bool UserPick(TControl& c, int index);

}  // namespace platform::win32
