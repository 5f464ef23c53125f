#include "screenshot.h"

#include <cstring>
#include <fstream>
#include <vector>

#include "host/bmp_image.h"

namespace benchora {
namespace {

// PrintWindow flag (Windows 8.1 and later): include content drawn by the
// compositor, such as child windows.
constexpr UINT kRenderFullContent = 0x00000002;

bool RunningUnderWine() {
  HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace

bool SaveWindowImage(HWND window, const std::string& path, std::string& error) {
  RECT bounds{};
  if (!::GetWindowRect(window, &bounds)) {
    error = "no window to save";
    return false;
  }
  const int width = static_cast<int>(bounds.right - bounds.left);
  const int height = static_cast<int>(bounds.bottom - bounds.top);

  // Paint everything that is pending first, so the image is up to date.
  ::RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ::ReleaseDC(nullptr, screen);
  if (memory == nullptr || bitmap == nullptr || bits == nullptr) {
    if (bitmap != nullptr) ::DeleteObject(bitmap);
    if (memory != nullptr) ::DeleteDC(memory);
    error = "cannot create a bitmap of " + std::to_string(width) + "x" + std::to_string(height);
    return false;
  }
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  bool printed = false;
  if (RunningUnderWine()) {
    // Wine's PrintWindow draws the frame's own background but none of its
    // child windows; the window's pixels are copied from its DC instead.
    HDC window_dc = ::GetWindowDC(window);
    printed = ::BitBlt(memory, 0, 0, width, height, window_dc, 0, 0, SRCCOPY) != FALSE;
    ::ReleaseDC(window, window_dc);
  } else {
    printed = ::PrintWindow(window, memory, kRenderFullContent) != FALSE;
  }
  ::GdiFlush();
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  std::memcpy(pixels.data(), bits, pixels.size());
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  if (!printed) {
    error = "the window could not be printed";
    return false;
  }

  const std::vector<uint8_t> file = EncodeBmp(width, height, pixels);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  if (!out) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace benchora
