// benchora's reports on every ending of a run and for every output that
// fails: what the JUnit report says (as a CI report parser reads it), the
// exit status and the message, and that an older report is never emptied.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "shell_run.h"

namespace {

class ReportEndings : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        std::filesystem::temp_directory_path() / ("benchora-endings-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string Path(const char* name) const { return (folder_ / name).string(); }
  // benchora with `arguments` in a shell, its settings in the test's folder.
  e2e::ShellRun Benchora(const std::string& arguments) const {
    return e2e::RunShell("cd \"" + std::string(SOURCE_DIR) +
                         "\" && unset TESSIC_AT_SERVER && export SONVIO_CONFIG_DIR=\"" +
                         folder_.string() + "\" && " + arguments);
  }
  std::string Summary(const std::string& xml) const {
    return e2e::RunShell(std::string(PYTHON3) + " \"" + SOURCE_DIR +
                         "/tests/e2e/junit_summary.py\" \"" + xml + "\" 2>&1")
        .text;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::filesystem::path folder_;
  const std::string benchora_ = std::string("\"") + BENCHORA_PATH + "\"";
};

// The second-generation power-on held back by the simulated handset for a
// minute: the run hangs in the second command.
constexpr char kHangingRun[] =
    " --chip gen2 -e \"select cb_audiooutput 0\" -e \"click btn_onoff\" -e \"verify le_minfreq = "
    "87500000\" --fault delay=60000,on=fmrx_enable";

TEST_F(ReportEndings, EveryEndingWritesTheReport) {
  const struct {
    const char* name;
    std::string arguments;  // after benchora and --report FILE
    const char* then;       // what the shell does beside it
    int status;
    const char* message;  // standard error
    const char* summary;  // the JUnit report as the parser reads it
  } kEndings[] = {
      {"plugin_missing",
       " --chip gen1 --rds --plugin /nonexistent/Sonvio.dll --script examples/regression-check.txt",
       "", 1, "benchora: cannot load the plug-in /nonexistent/Sonvio.dll: ",
       "suite examples/regression-check.txt: 1 tests, 0 failures, 1 errors, 0 skipped\n"
       "  about: chip=gen1\n"
       "  start [examples/regression-check.txt]: error: the run could not start: cannot load the "
       "plug-in /nonexistent/Sonvio.dll: "},
      {"timeout", std::string(kHangingRun) + " --timeout 5", "", 1,
       "benchora: timed out after 5 s at -e 2: click btn_onoff\n",
       "suite -e: 2 tests, 0 failures, 1 errors, 1 skipped\n"
       "  about: chip=gen2, link=embedded simulated handset at 127.0.0.1:PORT, "
       "plugin_version=6.0.0.0\n"
       "  click btn_onoff [-e]: error: timed out after 5 s at -e 2: click btn_onoff\n"
       "  le_minfreq = 87500000 [-e]: skipped: not run: timed out after 5 s at -e 2: click "
       "btn_onoff\n"},
      // The hung command is no check: only the check after it is left.
      // SIGTERM once the transcript shows the held-back command.
      {"sigterm", std::string(kHangingRun) + " --output TRANSCRIPT",
       " & pid=$!; i=0; while [ $i -lt 300 ] && ! grep -q fmrx_enable TRANSCRIPT 2>/dev/null;"
       " do sleep 0.1; i=$((i+1)); done; kill -TERM $pid; wait $pid",
       143,
       "benchora: stopped by SIGTERM\n",
       "suite -e: 1 tests, 0 failures, 0 errors, 1 skipped\n"
       "  about: chip=gen2, link=embedded simulated handset at 127.0.0.1:PORT, "
       "plugin_version=6.0.0.0\n"
       "  le_minfreq = 87500000 [-e]: skipped: not run: stopped by SIGTERM\n"},
  };
  for (const auto& ending : kEndings) {
    SCOPED_TRACE(ending.name);
    const std::string xml = Path("report.xml");
    std::ofstream(xml) << "an older report";
    std::string command = benchora_ + " --report \"" + xml + "\"" + ending.arguments + " 2>\"" +
                          Path("stderr") + "\" >/dev/null" + ending.then + "; echo $?";
    for (size_t at = command.find("TRANSCRIPT"); at != std::string::npos;
         at = command.find("TRANSCRIPT")) {
      command.replace(at, 10, "\"" + Path("transcript.txt") + "\"");
    }
    const e2e::ShellRun run = Benchora(command);
    EXPECT_EQ(run.text, std::to_string(ending.status) + "\n");
    EXPECT_NE(Read(Path("stderr")).find(ending.message), std::string::npos) << Read(Path("stderr"));
    std::string summary = Summary(xml);
    // The embedded server's port is a free one.
    if (const size_t at = summary.find("127.0.0.1:"); at != std::string::npos) {
      summary.replace(at + 10, summary.find(',', at) - at - 10, "PORT");
    }
    EXPECT_EQ(summary.substr(0, std::string(ending.summary).size()), ending.summary) << summary;
    // Nothing is left beside the report.
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
      EXPECT_FALSE(entry.path().string().ends_with(".benchora-part")) << entry.path();
    }
  }
}

// Each output of benchora on a full disk and to a reader that went away:
// the message names the output and the reason, and the run fails.
TEST_F(ReportEndings, EveryOutputChecksItsWrites) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  const std::string run = benchora_ + " --chip gen1 -e \"verify LReady = Yes\"";
  const struct {
    const char* name;
    std::string command;  // its standard output goes to `sink`
    const char* sink;
    const char* message;
  } kOutputs[] = {
      {"csv", run + " --csv /dev/full", ">/dev/null",
       "cannot write /dev/full: No space left on device"},
      {"report", run + " --report /dev/full", ">/dev/null",
       "cannot write /dev/full: No space left on device"},
      {"output", run + " --output /dev/full", ">/dev/null",
       "cannot write /dev/full: No space left on device"},
      {"stdout", run, ">/dev/full", "cannot write standard output: No space left on device"},
      {"json", run + " --json -e \"verify LReady = Yes\"", "| head -c 1 >/dev/null",
       "cannot write the JSON lines to standard output: Broken pipe"},
      {"stdout_pipe", run + " -e \"get BtnFMREnable\"", "| head -c 1 >/dev/null",
       "cannot write standard output: Broken pipe"},
  };
  for (const auto& output : kOutputs) {
    SCOPED_TRACE(output.name);
    const std::string sink = output.sink;
    const bool pipe = sink.starts_with('|');
    static_cast<void>(Benchora("(" + output.command + " 2>\"" + Path("stderr") + "\" " +
                               (pipe ? "" : sink) + "; echo $? >\"" + Path("status") + "\") " +
                               (pipe ? sink : "")));
    EXPECT_EQ(Read(Path("status")), "1\n");
    const std::string errors = Read(Path("stderr"));
    EXPECT_NE(errors.find(std::string("benchora: ") + output.message + "\n"), std::string::npos)
        << errors;
  }
}

// An output that would overwrite an input or another output is refused
// before anything starts, and the file stays as it was.
TEST_F(ReportEndings, OutputThatIsAnInputIsRefused) {
  const std::string script = Path("mine.txt");
  std::ofstream(script) << "get KelboFMRGUI\n";
  const struct {
    std::string options;
    std::string message;
  } kCases[] = {
      {"--csv " + script,
       "benchora: --csv " + script + " is the script " + script + ": it would be overwritten\n"},
      {"--report " + folder_.string() + "/./mine.txt", "benchora: --report " + folder_.string() +
                                                           "/./mine.txt is the script " + script +
                                                           ": it would be overwritten\n"},
      {"--csv " + Path("a") + " --output " + Path("a"),
       "benchora: --output and --csv name the same file " + Path("a") + "\n"},
  };
  for (const auto& c : kCases) {
    const e2e::ShellRun shell = Benchora(benchora_ + " --chip gen1 --script " + script + " " +
                                         c.options + " 2>&1 >/dev/null; echo $?");
    EXPECT_EQ(shell.text, c.message + "(benchora --help lists the options)\n2\n");
    EXPECT_EQ(Read(script), "get KelboFMRGUI\n");
  }
}

}  // namespace
