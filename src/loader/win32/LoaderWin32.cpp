// "PellmoreLoadProgram.exe": the loading program on Windows, over the plain
// Win32 API (wide calls, UTF-8 inside). Built without the C++ runtime's
// exceptions, strings and type information, so the few runtime hooks that
// would pull them in are defined here; the program stays far below 100 KB.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdlib>

#include "loader/Loader.h"

// The loader never throws and has no pure call or failed allocation to
// report beyond ending: the runtime's versions would bring its exception
// machinery with them.
extern "C" void __cxa_pure_virtual() {
  ExitProcess(loader::kLoaderFailed);
}
void* operator new(size_t n) {
  void* p = HeapAlloc(GetProcessHeap(), 0, n ? n : 1);
  if (!p) ExitProcess(loader::kLoaderFailed);
  return p;
}
void operator delete(void* p) noexcept {
  if (p) HeapFree(GetProcessHeap(), 0, p);
}
void operator delete(void* p, size_t) noexcept {
  if (p) HeapFree(GetProcessHeap(), 0, p);
}

namespace {

using loader::Text;

constexpr size_t kWide = Text::kCapacity;
const wchar_t kCaption[] = L"Setup";

// UTF-8 -> UTF-16 into `out` (kWide characters); false when it does not fit.
bool Widen(const char* s, wchar_t* out) {
  return MultiByteToWideChar(CP_UTF8, 0, s, -1, out, int(kWide)) > 0;
}
Text Narrow(const wchar_t* s) {
  char buf[Text::kCapacity];
  Text t;
  const int n = WideCharToMultiByte(CP_UTF8, 0, s, -1, buf, int(sizeof buf), nullptr, nullptr);
  if (n > 0) t.Append(buf);
  return t;
}
bool IsDiskFull(DWORD e) {
  return e == ERROR_DISK_FULL || e == ERROR_HANDLE_DISK_FULL;
}

class Win32Input : public loader::InputFile {
 public:
  explicit Win32Input(HANDLE h) : h_(h) {}
  ~Win32Input() override { CloseHandle(h_); }
  uint64_t Size() override {
    LARGE_INTEGER size;
    return GetFileSizeEx(h_, &size) ? uint64_t(size.QuadPart) : 0;
  }
  bool ReadAt(uint64_t position, void* buffer, size_t count) override {
    LARGE_INTEGER at;
    at.QuadPart = LONGLONG(position);
    if (!SetFilePointerEx(h_, at, nullptr, FILE_BEGIN)) return false;
    DWORD got = 0;
    return ReadFile(h_, buffer, DWORD(count), &got, nullptr) && got == count;
  }

 private:
  HANDLE h_;
};

class Win32Output : public loader::OutputFile {
 public:
  explicit Win32Output(HANDLE h) : h_(h) {}
  ~Win32Output() override {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  loader::WriteResult Write(const void* data, size_t count) override {
    DWORD wrote = 0;
    if (WriteFile(h_, data, DWORD(count), &wrote, nullptr) && wrote == count)
      return loader::WriteResult::Ok;
    // A short write without an error is a full disk too.
    const DWORD e = GetLastError();
    return wrote < count && (IsDiskFull(e) || e == ERROR_SUCCESS) ? loader::WriteResult::DiskFull
                                                                  : loader::WriteResult::Failed;
  }
  loader::WriteResult Close() override {
    const bool ok = CloseHandle(h_);
    const DWORD e = GetLastError();
    h_ = INVALID_HANDLE_VALUE;
    if (ok) return loader::WriteResult::Ok;
    return IsDiskFull(e) ? loader::WriteResult::DiskFull : loader::WriteResult::Failed;
  }

 private:
  HANDLE h_;
};

// The "preparing setup" window: a caption, one line of text and a bar.
class PreparingWindow {
 public:
  void Show() {
    if (window_) return;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, IDC_WAIT);
    wc.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"PellmoreLoaderPreparing";
    RegisterClassW(&wc);
    // The client area holds the line and the bar with even margins.
    RECT frame{0, 0, 360, 76};
    AdjustWindowRectEx(&frame, WS_POPUP | WS_CAPTION | WS_BORDER, FALSE, WS_EX_TOPMOST);
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    window_ = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, kCaption,
                              WS_POPUP | WS_CAPTION | WS_BORDER, x, y, w, h, nullptr, nullptr, inst,
                              nullptr);
    if (!window_) return;
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    font_ = CreateFontIndirectW(&ncm.lfMessageFont);
    RECT client;
    GetClientRect(window_, &client);
    HWND label =
        CreateWindowExW(0, L"STATIC", L"Preparing the setup, please wait...", WS_CHILD | WS_VISIBLE,
                        16, 14, client.right - 32, 20, window_, nullptr, inst, nullptr);
    SendMessageW(label, WM_SETFONT, WPARAM(font_), TRUE);
    bar_ = CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, 16, 42,
                           client.right - 32, 18, window_, nullptr, inst, nullptr);
    SendMessageW(bar_, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    Pump();
  }
  void Progress(int percent) {
    if (!window_) return;
    SendMessageW(bar_, PBM_SETPOS, WPARAM(percent), 0);
    Pump();
  }
  void Hide() {
    if (window_) DestroyWindow(window_);
    if (font_) DeleteObject(font_);
    window_ = nullptr;
    font_ = nullptr;
  }
  HWND Handle() const { return window_; }

  static void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

 private:
  HWND window_ = nullptr;
  HWND bar_ = nullptr;
  HFONT font_ = nullptr;
};

class Win32LoaderHost : public loader::LoaderHost {
 public:
  Win32LoaderHost() {
    // The shared splitter's rules: blanks separate, quotes toggle,
    // backslashes are literal.
    const Text line = Narrow(GetCommandLineW());
    Text arg;
    bool quoted = false, any = false;
    for (size_t i = 0; i <= line.size(); ++i) {
      const char c = line[i];
      if (c == 0 || (!quoted && (c == ' ' || c == '\t'))) {
        if (any) {
          if (count_ < kMaxArgs) args_[count_++] = arg;
          arg = Text();
          any = false;
        }
        if (c == 0) break;
      } else if (c == '"') {
        quoted = !quoted;
        any = true;
      } else {
        arg.Append(c);
        any = true;
      }
    }
  }

  bool ProgramPath(Text& path) override {
    wchar_t buf[kWide];
    const DWORD n = GetModuleFileNameW(nullptr, buf, DWORD(kWide));
    if (n == 0 || n >= kWide) return false;
    path = Narrow(buf);
    return true;
  }
  int ArgumentCount() override { return count_ > 0 ? count_ - 1 : 0; }
  bool Argument(int index, Text& argument) override {
    if (index < 0 || index + 1 >= count_) return false;
    argument = args_[index + 1];
    return true;
  }
  loader::InputFile* OpenRead(const char* path) override {
    wchar_t w[kWide];
    if (!Widen(path, w)) return nullptr;
    HANDLE h = CreateFileW(w, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    return h == INVALID_HANDLE_VALUE ? nullptr : new Win32Input(h);
  }
  loader::OutputFile* Create(const char* path, bool& diskFull) override {
    wchar_t w[kWide];
    if (!Widen(path, w)) return nullptr;
    HANDLE h = CreateFileW(w, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      diskFull = IsDiskFull(GetLastError());
      return nullptr;
    }
    return new Win32Output(h);
  }
  bool MakeTempDirectory(Text& directory) override {
    wchar_t base[MAX_PATH + 1], name[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, base);
    if (n == 0 || n > MAX_PATH) return false;
    for (int attempt = 0; attempt < 16; ++attempt) {
      // The unique name Windows gives a file, taken for a directory.
      if (!GetTempFileNameW(base, L"pld", 0, name)) return false;
      DeleteFileW(name);
      wchar_t* dot = wcsrchr(name, L'.');
      if (dot) *dot = 0;
      if (CreateDirectoryW(name, nullptr)) {
        directory = Narrow(name);
        return true;
      }
    }
    return false;
  }
  void RemoveDirectoryAndFiles(const char* directory) override {
    wchar_t dir[kWide], pattern[kWide], file[kWide];
    if (!Widen(directory, dir)) return;
    lstrcpynW(pattern, dir, int(kWide) - 3);
    lstrcatW(pattern, L"\\*");
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(pattern, &found);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (lstrlenW(dir) + lstrlenW(found.cFileName) + 2 > int(kWide)) continue;
        lstrcpyW(file, dir);
        lstrcatW(file, L"\\");
        lstrcatW(file, found.cFileName);
        DeleteFileW(file);
      } while (FindNextFileW(h, &found));
      FindClose(h);
    }
    RemoveDirectoryW(dir);
  }
  bool RunAndWait(const char* commandLine, uint32_t& exitCode) override {
    static wchar_t line[kWide];  // CreateProcessW may write into it
    if (!Widen(commandLine, line)) return false;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      return false;
    CloseHandle(pi.hThread);
    // Keep answering messages while waiting, so nothing that broadcasts to
    // every window waits for this one.
    while (MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, INFINITE, QS_ALLINPUT) ==
           WAIT_OBJECT_0 + 1)
      PreparingWindow::Pump();
    DWORD code = loader::kLoaderFailed;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    exitCode = code;
    return true;
  }
  void ShowMessage(const char* text) override {
    // An unattended run (the setup's own PELLMORE_UI=headless) has nobody
    // to press OK: the message goes to the error output instead.
    wchar_t ui[16];
    const DWORD n = GetEnvironmentVariableW(L"PELLMORE_UI", ui, 16);
    if (n > 0 && n < 16 && lstrcmpiW(ui, L"headless") == 0) {
      DWORD wrote = 0;
      HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
      WriteFile(err, "Setup: ", 7, &wrote, nullptr);
      WriteFile(err, text, DWORD(lstrlenA(text)), &wrote, nullptr);
      WriteFile(err, "\r\n", 2, &wrote, nullptr);
      return;
    }
    wchar_t w[kWide];
    if (!Widen(text, w)) lstrcpyW(w, L"The setup cannot continue.");
    MessageBoxW(window_.Handle(), w, kCaption, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
  }
  uint32_t Milliseconds() override { return GetTickCount(); }
  void ShowPreparing() override { window_.Show(); }
  void Progress(int percent) override { window_.Progress(percent); }
  void HidePreparing() override { window_.Hide(); }

 private:
  static constexpr int kMaxArgs = 8;  // only "*TODISK" is looked for
  Text args_[kMaxArgs];
  int count_ = 0;
  PreparingWindow window_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  static Win32LoaderHost host;  // its argument texts are too large for the stack
  return loader::RunLoader(host);
}
