// The client areas a panel gets on a bench screen, in the host stand-in's
// frame (benchora.exe under Wine: a 4-pixel sizing border and a 19-pixel
// caption, the MDI client's 2-pixel edge and the 150-pixel log pane below
// it). A maximized panel gets the MDI client's whole client area; a normal
// one loses its own frame; a scroll bar takes its width off the other side.
// The Win32 backend's tests check these numbers.
#pragma once

#include "ui/layout.h"

namespace testing_windows {

struct BenchScreen {
  const char* name;
  int frame_width;  // the host's frame window
  int frame_height;
  ui::Size mdi_client;  // its MDI client's client area, without scroll bars
};

inline constexpr BenchScreen kBenchScreens[] = {{"1280x800", 1280, 800, {1268, 619}},
                                                {"1024x768", 1024, 768, {1012, 587}}};
inline constexpr BenchScreen kLargeScreen = kBenchScreens[0];
inline constexpr BenchScreen kSmallScreen = kBenchScreens[1];

// A normal (not maximized) MDI child's frame around its client area.
inline constexpr ui::Size kChildFrame = {8, 27};
inline constexpr int kScrollBar = 17;

// The client area of a normal panel as large as the MDI client allows.
constexpr ui::Size NormalClient(const BenchScreen& screen) {
  return {screen.mdi_client.width - kChildFrame.width,
          screen.mdi_client.height - kChildFrame.height};
}

}  // namespace testing_windows
