// Enumerations and constants of the control model that the widgetset seam
// shares: alignment, borders, form states, modal results, check states and
// the message-box flags and answers with their Windows values.
#pragma once

#include <cstdint>
#include <string_view>

#include "framework/Set.h"

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// Forms use all values; other controls only bsNone and bsSingle.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;

enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = Set<TBorderIcon>;
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A form's modal result; the constants are registered as identifiers.
// The screen cursor: the normal one, or the hourglass while the program is
// busy and takes no input.
enum TCursor { crDefault, crHourGlass };

using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrAll = 8;
inline constexpr TModalResult mrNoToAll = 9;
inline constexpr TModalResult mrYesToAll = 10;

// "mrOk" ... for logs; the number as text for other values.
const char* ModalResultName(TModalResult result) noexcept;

// Message-box flags and answers with their Windows values. When <windows.h>
// was included first its macros (same values) stand in for these.
#ifndef MB_OK
inline constexpr uint32_t MB_OK = 0x0;
inline constexpr uint32_t MB_OKCANCEL = 0x1;
inline constexpr uint32_t MB_ABORTRETRYIGNORE = 0x2;
inline constexpr uint32_t MB_YESNOCANCEL = 0x3;
inline constexpr uint32_t MB_YESNO = 0x4;
inline constexpr uint32_t MB_RETRYCANCEL = 0x5;
inline constexpr uint32_t MB_ICONHAND = 0x10;
inline constexpr uint32_t MB_ICONQUESTION = 0x20;
inline constexpr uint32_t MB_ICONEXCLAMATION = 0x30;
inline constexpr uint32_t MB_ICONASTERISK = 0x40;
inline constexpr uint32_t MB_ICONERROR = MB_ICONHAND;
inline constexpr uint32_t MB_ICONSTOP = MB_ICONHAND;
inline constexpr uint32_t MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr uint32_t MB_ICONINFORMATION = MB_ICONASTERISK;
inline constexpr uint32_t MB_DEFBUTTON1 = 0x0;
inline constexpr uint32_t MB_DEFBUTTON2 = 0x100;
inline constexpr uint32_t MB_DEFBUTTON3 = 0x200;
inline constexpr uint32_t MB_APPLMODAL = 0x0;
inline constexpr uint32_t MB_SYSTEMMODAL = 0x1000;
inline constexpr uint32_t MB_TASKMODAL = 0x2000;
inline constexpr uint32_t MB_SETFOREGROUND = 0x10000;
inline constexpr uint32_t MB_TOPMOST = 0x40000;
#endif
#ifndef IDOK
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;
#endif

// The buttons a message box with `flags` shows, as answers in screen order
// (MB_OK: {IDOK}; MB_YESNOCANCEL: {IDYES, IDNO, IDCANCEL} ...). Button sets
// beyond MB_RETRYCANCEL show OK alone, as Windows does for unknown values.
struct MessageBoxButtons {
  int ids[3] = {IDOK, 0, 0};
  int count = 1;
};
MessageBoxButtons ButtonsOfMessageBox(uint32_t flags) noexcept;
// The answer of the box's default button: the button MB_DEFBUTTON2/3
// selects when the box has that many buttons, else the first one.
int DefaultMessageBoxAnswer(uint32_t flags) noexcept;
// "OK", "Cancel", "Yes" ... ("" for other values), and back (ignoring
// ASCII case; 0 for an unknown name).
const char* MessageBoxAnswerName(int id) noexcept;
int MessageBoxAnswerFromName(std::string_view name) noexcept;
