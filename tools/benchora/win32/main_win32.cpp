// benchora.exe: the Windows stand-in for the handset test bench host. An MDI
// frame with a log pane loads Sonvio.dll from its own folder, hands it the
// simulated handset and shows its panel as an MDI child. With automation
// commands (or --screenshot) it runs them, saves the image and exits;
// without, it stays open until the frame is closed.
#include <windows.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "frame_window.h"
#include "handset.h"
#include "options.h"
#include "platform/platform.h"
#include "plugin_host.h"
#include "screenshot.h"
#include "session.h"
#include "transcript.h"

namespace {

// The host's log callback carries no context: it reaches the transcript
// and the log pane through these.
benchora::Transcript* g_transcript = nullptr;
benchora::FrameWindow* g_frame = nullptr;

void ShowLogLine(const char* text, uint8_t flag) {
  const std::string line = benchora::LogLineText(text, flag);
  if (g_transcript != nullptr) g_transcript->Line(line);
  if (g_frame != nullptr) g_frame->AddLogLine(line);
}

// Tells the transcript which MDI child the plug-in opened.
void ReportPanel(const benchora::FrameWindow& frame, benchora::Transcript& transcript) {
  bool maximized = false;
  HWND child = frame.ActiveChild(maximized);
  if (child == nullptr) {
    transcript.Line("MDI child: none");
    return;
  }
  char title[512] = {};
  ::GetWindowTextA(child, title, sizeof(title));
  transcript.Line(std::string("MDI child: ") + title + (maximized ? " (maximized)" : " (normal)"));
}

}  // namespace

int main(int argc, char** argv) {
  benchora::Options options;
  benchora::Transcript transcript;
  if (auto code = benchora::StartFromCommandLine(argc, argv, options, transcript)) return *code;
  g_transcript = &transcript;

  // A script runs without a person: the plug-in records its message boxes
  // instead of waiting for someone to close them.
  const bool scripted =
      !options.commands.empty() || options.interactive || !options.screenshot.empty();
  if (scripted) ::SetEnvironmentVariableA("SONVIO_AUTOMATED", "1");

  benchora::FrameWindow frame("Benchora", options.frame_width, options.frame_height);
  if (!frame.ok()) {
    transcript.Error("cannot create the frame window");
    return 1;
  }
  g_frame = &frame;

  benchora::BenchSession session(options.chip);
  std::string error;
  if (!benchora::OpenSession(options, &ShowLogLine, transcript, session, error)) {
    transcript.Error(error);
    return 1;
  }
  const benchora::PluginHost& plugin = session.plugin;

  int host_application = 0;  // the host's application object, opaque to the plug-in
  bool panel_open = true;
  frame.on_close = [&] {
    if (panel_open) plugin.CloseMDIChildForm(&host_application);
    panel_open = false;
  };
  plugin.ShowMDIChildForm(&host_application);
  frame.PumpPending();
  ReportPanel(frame, transcript);

  bool all_ok = true;
  for (const std::string& command : options.commands) {
    all_ok = benchora::RunCommand(plugin, command, transcript) && all_ok;
    frame.PumpPending();
  }
  if (options.interactive) {
    std::string line;
    while (frame.PumpPending() && std::getline(std::cin, line)) {
      if (line == "quit" || line == "exit") break;
      if (line.empty()) continue;
      all_ok = benchora::RunCommand(plugin, line, transcript) && all_ok;
    }
  }

  bool screenshot_saved = true;
  if (!options.screenshot.empty() && frame.PumpPending()) {
    screenshot_saved = benchora::SaveWindowImage(frame.window(), options.screenshot, error);
    if (screenshot_saved) {
      transcript.Line("screenshot: " + options.screenshot);
    } else {
      transcript.Error(error);
    }
  }
  if (!scripted) frame.RunUntilClosed();

  if (panel_open) plugin.CloseMDIChildForm(&host_application);
  panel_open = false;
  g_frame = nullptr;
  if (!screenshot_saved) return 4;
  return (options.strict && !all_ok) ? 3 : 0;
}
