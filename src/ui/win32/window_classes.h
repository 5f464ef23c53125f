// The window classes of the Win32 backend and their window procedures: the
// form (an MDI child, or a top-level window when the process has no MDI
// frame), the containers that hold controls (the form's client area, group
// boxes, radio groups, page controls and tab sheets), and a message-only
// window that receives the timers.
#pragma once

#include <windows.h>

namespace ui::win32 {

inline constexpr char kFormClass[] = "SonvioForm";
inline constexpr char kContainerClass[] = "SonvioContainer";
inline constexpr char kTimerClass[] = "SonvioTimers";

// Posted to a form window: lay the form out again (coalesces many changes).
inline constexpr UINT kRelayoutMessage = WM_APP + 0x51;

// The module whose code this is (the plug-in DLL, or a program that links
// the backend statically): windows are registered under it.
HINSTANCE OwnModule();

bool RegisterWindowClasses(HINSTANCE instance);
void UnregisterWindowClasses(HINSTANCE instance);

}  // namespace ui::win32
