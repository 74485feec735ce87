// What the families' windows tell their parent (WM_COMMAND, WM_NOTIFY,
// WM_DRAWITEM), turned into the model's guarded entry points; and the
// view helpers it shares with the families and the input functions.
#pragma once

#include "platform/win32/widgetset/Win32Internal.h"

namespace platform::win32 {

// Handles a notification that reached `parent`'s window; false leaves the
// message to the window procedure's own handling (button clicks, edit
// changes, Esc). What the model is told comes only from a control whose
// peer is not being pushed to.
bool HandleNotify(HWND parent, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

// Shows the model's selection of a tree or list view in its window.
void SyncSelection(TControl& c, HWND h);
// A tree window's item <-> its position in depth-first order (the model's
// node order); -1 or null when there is none.
int TreeItemIndex(HWND tree, void* item);
void* TreeItemAt(HWND tree, int index);
// The item a user is expanding (null when done), left alone by the update
// the model's answer brings.
void SetTreeExpanding(TControl& c, void* item);

}  // namespace platform::win32
