// What the Win32 widgetset's two halves share: the window <-> control link,
// fonts, window styles and the families.
#pragma once

#include <memory>
#include <string>

#include "framework/Widgetset.h"
#include "platform/win32/widgetset/Win32Widgetset.h"

// After the framework's headers: <windows.h> defines macros that collide
// with their names (charsets, MessageBox, TextOut).
#include "platform/win32/Win32Api.h"
#undef MessageBox
#undef TextOut

namespace platform::win32 {

// The control a window of ours belongs to (its GWLP_USERDATA), or null.
TControl* ControlOfWindow(HWND hwnd);
Win32Peer* PeerOfWindow(HWND hwnd);
std::string WindowText(HWND hwnd);
// The window a model control without one of its own stands for (the
// folder browser's controls for the scripted user), or null.
HWND StandInWindowOf(const TControl& c);
// A GDI font for the model's font; the caller deletes it.
HFONT CreateFontFor(const TFontData& font);

struct WindowStyles {
  DWORD style = 0;
  DWORD exStyle = 0;
};
// The styles of a top-level window with this border and these icons
// (without WS_VISIBLE).
WindowStyles StylesFor(TFormBorderStyle border, TBorderIcons icons);

// The window procedure of forms and containers.
LRESULT CALLBACK ControlWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace platform::win32
