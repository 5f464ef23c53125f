// benchora.exe: the Windows stand-in for the handset test bench host. An MDI
// frame with a log pane loads Sonvio.dll from its own folder, hands it the
// simulated handset and shows its panel as an MDI child. With automation
// commands (or --screenshot) it runs them, saves the image and exits;
// without, it stays open until the frame is closed. F1 opens the panel's
// help topic.
#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "frame_window.h"
#include "host/help_path.h"
#include "host/plugin_host.h"
#include "options.h"
#include "platform/platform.h"
#include "report/run_guard.h"
#include "report/transcript.h"
#include "screenshot.h"
#include "script/command_runner.h"
#include "script/interactive.h"
#include "session.h"
#include "station/station_run.h"

namespace {

// The host's log callback carries no context: it reaches the log pane and
// the command runner through these.
benchora::CommandRunner* g_runner = nullptr;
benchora::FrameWindow* g_frame = nullptr;

void ShowLogLine(const char* text, uint8_t flag) {
  if (g_frame != nullptr) g_frame->AddLogLine(benchora::LogLineText(text, flag));
  if (g_runner != nullptr) g_runner->LogLine(text, flag);
}

// Says which MDI child the plug-in opened, on standard error: only the
// Windows frame has one, and the transcript stays the one Linux writes.
void ReportPanel(const benchora::FrameWindow& frame) {
  bool maximized = false;
  HWND child = frame.ActiveChild(maximized);
  if (child == nullptr) {
    benchora::Transcript::PlatformNote("MDI child: none");
    return;
  }
  char title[512] = {};
  ::GetWindowTextA(child, title, sizeof(title));
  benchora::Transcript::PlatformNote(std::string("MDI child: ") + title +
                                     (maximized ? " (maximized)" : " (normal)"));
}

// A folder's full path, with its delimiter: the help viewer takes no
// relative paths. An empty folder is the current one.
std::string FullFolder(const std::string& folder) {
  char buffer[MAX_PATH] = {};
  const DWORD n =
      ::GetFullPathNameA(folder.empty() ? "." : folder.c_str(), MAX_PATH, buffer, nullptr);
  if (n == 0 || n >= MAX_PATH) return folder;
  std::string full(buffer, n);
  if (full.back() != '\\' && full.back() != '/') full += '\\';
  return full;
}

bool IsFile(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// F1: the help topic the panel's form names, from the help file beside the
// plug-in (else beside benchora), in the help viewer. When that fails, a
// line says why in the log pane and the transcript.
void OpenPanelHelp(const benchora::PluginHost& plugin, const benchora::Options& options,
                   const benchora::FrameWindow& frame, benchora::HelpViewer& viewer,
                   benchora::Transcript& transcript) {
  std::string state;
  const std::string keyword =
      plugin.Automate("snapshot", state) ? benchora::HelpKeywordOfState(state) : std::string();
  std::vector<std::string> folders;
  if (!options.plugin.empty()) folders.push_back(FullFolder(benchora::FolderOf(options.plugin)));
  folders.push_back(FullFolder(platform::ProgramFolder()));
  std::string error;
  const auto topic = benchora::ResolveHelpTopic(keyword, folders, &IsFile, error);
  if (!topic) {
    transcript.Notice("help: " + error);
  } else if (!viewer.Show(frame.window(), topic->url, error)) {
    transcript.Notice("help: cannot open " + topic->url + ": " + error);
  } else {
    transcript.Line("help: " + topic->url);
  }
}

// Why the frame window could not be made, and what to do about it. Under
// Wine with no X display to draw on (DISPLAY unset or naming no server)
// every window fails; a virtual display serves, as xvfb-run -a gives one.
std::string FrameWindowFailure() {
  const DWORD error = ::GetLastError();
  const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
  const bool wine = ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
  if (wine) {
    char display[256] = {};
    const DWORD length = ::GetEnvironmentVariableA("DISPLAY", display, sizeof(display));
    const std::string why = length == 0 || length >= sizeof(display)
                                ? "DISPLAY is not set"
                                : "the X display " + std::string(display) + " does not answer";
    return "cannot create the frame window: there is no display to draw on (" + why +
           "); under Wine run it on a virtual display: xvfb-run -a wine benchora.exe ...";
  }
  return "cannot create the frame window (Windows error " + std::to_string(error) +
         "): benchora.exe needs a desktop to draw on; run it in a user's session";
}

}  // namespace

int main(int argc, char** argv) {
  benchora::Options options;
  benchora::Transcript transcript;
  if (auto code = benchora::StartFromCommandLine(argc, argv, options, transcript)) return *code;
  if (!options.station.empty()) return benchora::RunStation(options);

  // A script runs without a person: the plug-in records its message boxes
  // instead of waiting for someone to close them, and benchora shows them.
  const bool scripted =
      !options.commands.empty() || options.interactive || !options.screenshot.empty();
  if (scripted) ::SetEnvironmentVariableA("SONVIO_AUTOMATED", "1");

  benchora::FrameWindow frame("Benchora", options.frame_width, options.frame_height);
  if (!frame.ok()) {
    transcript.Error(FrameWindowFailure());
    return benchora::kExitFailed;
  }
  g_frame = &frame;
  transcript.on_notice = [&frame](const std::string& line) { frame.AddLogLine(line); };

  benchora::BenchSession session(options.chip);
  benchora::CommandRunner runner(session.plugin, session.at_server, transcript, options.strict);
  std::string error;
  const auto guard = benchora::StartReportedRun(options, runner, transcript, error);
  if (!guard) {
    transcript.Error(error);
    return benchora::kExitUsage;
  }
  g_runner = &runner;
  if (!benchora::OpenSession(options, &ShowLogLine, transcript, session, error)) {
    g_runner = nullptr;
    return benchora::EndUnstartedRun(runner, transcript, error);
  }
  benchora::ConnectReports(options, session, runner);
  const benchora::PluginHost& plugin = session.plugin;

  int host_application = 0;  // the host's application object, opaque to the plug-in
  bool panel_open = true;
  frame.on_close = [&] {
    if (panel_open) plugin.CloseMDIChildForm(&host_application);
    panel_open = false;
  };
  benchora::HelpViewer help_viewer;
  frame.on_help = [&] { OpenPanelHelp(plugin, options, frame, help_viewer, transcript); };
  const bool shown = runner.ShowPanel(&host_application);
  frame.PumpPending();
  ReportPanel(frame);

  if (shown) {
    runner.RunAll(options.commands, [&frame] { frame.PumpPending(); });
    if (options.interactive && !runner.stopped()) {
      benchora::RunInteractive(runner, transcript, [&frame] { return frame.PumpPending(); });
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
  for (const std::string& rule : benchora::UnfiredFaults(session)) runner.RecordUnfiredFault(rule);
  frame.on_help = nullptr;
  g_runner = nullptr;
  g_frame = nullptr;
  transcript.on_notice = nullptr;
  const int status = runner.Close();
  if (!screenshot_saved) return 4;
  return status;
}
