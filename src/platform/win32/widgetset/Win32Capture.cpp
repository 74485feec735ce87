// Capturing windows and writing PNG files (see Win32Capture.h).
#include "platform/win32/widgetset/Win32Capture.h"

#include <zlib.h>

#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/widgetset/Win32Internal.h"

namespace platform::win32 {
namespace {

// Copies `width` x `height` pixels at (x, y) of `source` into an image,
// through a top-down 32-bit DIB section.
Image CopyPixels(HDC source, int x, int y, int width, int height) {
  Image image;
  if (width <= 0 || height <= 0) return image;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down rows
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC mem = CreateCompatibleDC(source);
  if (!mem) RaiseLastError("CreateCompatibleDC", "the screenshot");
  HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib || !bits) {
    const DWORD code = GetLastError();
    DeleteDC(mem);
    Raise("CreateDIBSection", "the screenshot", code);
  }
  HGDIOBJ old = SelectObject(mem, dib);
  const BOOL ok = BitBlt(mem, 0, 0, width, height, source, x, y, SRCCOPY);
  const DWORD code = GetLastError();
  GdiFlush();
  if (ok) {
    image.width = width;
    image.height = height;
    const auto* p = static_cast<const uint32_t*>(bits);
    image.rgb.assign(p, p + static_cast<size_t>(width) * height);
    for (uint32_t& v : image.rgb) v &= 0xFFFFFF;  // BGRA in memory is 0x00RRGGBB
  }
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  if (!ok) Raise("BitBlt", "the screenshot", code);
  return image;
}

// Finishes the paints that are pending for the window and its children,
// so that the capture shows what a person would see now. Nothing is
// invalidated: an area that a change forgot to repaint shows as it is.
void Settle(HWND h) {
  RedrawWindow(h, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
}

HWND Checked(void* hwnd) {
  HWND h = static_cast<HWND>(hwnd);
  if (!h || !IsWindow(h)) Raise("IsWindow", "the window to capture", ERROR_INVALID_WINDOW_HANDLE);
  return h;
}

void PutBig32(std::string& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
  PutBig32(out, static_cast<uint32_t>(data.size()));
  std::string body(type, 4);
  body += data;
  out += body;
  PutBig32(out, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()),
                                            static_cast<uInt>(body.size()))));
}

}  // namespace

namespace {
// The window's pixels through its window DC (frame included) or its
// client DC, the size of that area.
Image Capture(void* hwnd, bool withFrame) {
  HWND h = Checked(hwnd);
  Settle(h);
  RECT r;
  if (!(withFrame ? GetWindowRect(h, &r) : GetClientRect(h, &r)))
    RaiseLastError("GetWindowRect", "the window to capture");
  HDC dc = withFrame ? GetWindowDC(h) : GetDC(h);
  if (!dc) RaiseLastError("GetDC", "the window to capture");
  struct Release {
    HWND h;
    HDC dc;
    ~Release() { ReleaseDC(h, dc); }
  } release{h, dc};
  return CopyPixels(dc, 0, 0, r.right - r.left, r.bottom - r.top);
}
}  // namespace

Image CaptureWindow(void* hwnd) {
  return Capture(hwnd, true);
}

Image CaptureClient(void* hwnd) {
  return Capture(hwnd, false);
}

Image Shrink(const Image& in, int n) {
  if (n <= 1) return in;
  Image out{in.width / n, in.height / n, {}};
  out.rgb.reserve(static_cast<size_t>(out.width) * out.height);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) {
      unsigned r = 0, g = 0, b = 0;
      for (int dy = 0; dy < n; ++dy)
        for (int dx = 0; dx < n; ++dx) {
          const uint32_t v = in.At(x * n + dx, y * n + dy);
          r += (v >> 16) & 0xFF;
          g += (v >> 8) & 0xFF;
          b += v & 0xFF;
        }
      const unsigned k = static_cast<unsigned>(n * n);
      out.rgb.push_back((r / k) << 16 | (g / k) << 8 | (b / k));
    }
  return out;
}

void WritePng(const Image& image, const std::string& path) {
  if (image.width <= 0 || image.height <= 0 ||
      image.rgb.size() != static_cast<size_t>(image.width) * image.height)
    Raise("WritePng", path, ERROR_INVALID_PARAMETER);
  // Each row: filter type 0 (none), then R, G, B.
  std::string raw;
  raw.reserve(static_cast<size_t>(image.height) * (1 + 3 * static_cast<size_t>(image.width)));
  for (int y = 0; y < image.height; ++y) {
    raw.push_back(0);
    for (int x = 0; x < image.width; ++x) {
      const uint32_t v = image.At(x, y);
      raw.push_back(static_cast<char>((v >> 16) & 0xFF));
      raw.push_back(static_cast<char>((v >> 8) & 0xFF));
      raw.push_back(static_cast<char>(v & 0xFF));
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::string packed(packedSize, '\0');
  if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()),
                Z_BEST_COMPRESSION) != Z_OK)
    Raise("compress2", path, ERROR_NOT_ENOUGH_MEMORY);
  packed.resize(packedSize);

  std::string header;
  PutBig32(header, static_cast<uint32_t>(image.width));
  PutBig32(header, static_cast<uint32_t>(image.height));
  header +=
      std::string{8, 2, 0, 0, 0};  // 8 bits per sample, RGB, deflate, no filter set, no interlace
  std::string png("\x89PNG\r\n\x1a\n", 8);
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", packed);
  PutChunk(png, "IEND", "");

  HANDLE f = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) RaiseLastError("CreateFileW", path);
  DWORD written = 0;
  const BOOL ok = WriteFile(f, png.data(), static_cast<DWORD>(png.size()), &written, nullptr);
  const DWORD code = GetLastError();
  CloseHandle(f);
  if (!ok || written != png.size()) {
    DeleteFileW(Wide(path).c_str());
    Raise("WriteFile", path, ok ? ERROR_WRITE_FAULT : code);
  }
}

}  // namespace platform::win32
