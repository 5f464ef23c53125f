// Saves an image of a window (frame, menus and children) as a BMP file:
// PrintWindow into a memory bitmap, or under Wine the window's own pixels.
#pragma once

#include <windows.h>

#include <string>

namespace benchora {

// False with `error` set when the window cannot be drawn or the file written.
bool SaveWindowImage(HWND window, const std::string& path, std::string& error);

}  // namespace benchora
