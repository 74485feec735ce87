// Reading real windows back with the Win32 API, for the widgetset's tests:
// what Windows holds, not what the model believes it pushed.
#pragma once

#include <string>

#include "framework/Controls.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/widgetset/Win32Widgetset.h"

// Last: its macros collide with the framework's names.
#include <windows.h>
#undef MessageBox

namespace windowreadback {

inline HWND Window(const TControl& c) {
  return static_cast<HWND>(platform::win32::Win32Widgetset::HandleOf(c));
}
inline std::string ClassOf(HWND h) {
  wchar_t name[64] = {};
  GetClassNameW(h, name, 64);
  return platform::win32::Narrow(name);
}
inline std::string TextOf(HWND h) {
  wchar_t text[256] = {};
  GetWindowTextW(h, text, 256);
  return platform::win32::Narrow(text);
}
// A child's bounds in its parent's client coordinates; a form's on the
// screen.
inline TRect BoundsOf(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  if (HWND parent = GetParent(h); parent && (GetWindowLongW(h, GWL_STYLE) & WS_CHILD))
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return TRect{r.left, r.top, r.right, r.bottom};
}

}  // namespace windowreadback
