// Capturing a window's pixels inside the program, and writing them as a
// PNG file: the test suite's pixel checks and the screenshot gallery.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::win32 {

// A 32-bit picture, rows top-down, each pixel 0x00RRGGBB.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> rgb;

  uint32_t At(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};

// The window `hwnd` (an HWND) as it shows now, frame and children
// included; its pending paints are done first. Raises OsError when
// Windows refuses.
Image CaptureWindow(void* hwnd);
// Only its client area (what the model's client coordinates address).
Image CaptureClient(void* hwnd);

// `image` shrunk `n` times in each direction, each pixel the average of
// n x n; n <= 1 gives it unchanged.
Image Shrink(const Image& image, int n);

// Writes `image` as an 8-bit RGB PNG file at `path` (a path this program
// can open; under Wine a host path as winepath -w gives it). Raises
// OsError when the file cannot be written.
void WritePng(const Image& image, const std::string& path);

}  // namespace platform::win32
