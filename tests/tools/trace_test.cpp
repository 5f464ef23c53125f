// The transport's trace never harms its host: TESSIC.dll, loaded in a child
// process of its own (a fresh library that reads TESSIC_TRACE at its first
// session, and a host whose death the test can see), traces a session to a
// plain file, to a FIFO whose reader goes away mid-session, to a FIFO
// nobody reads, to /dev/full and to a folder that does not exist. The host
// must live on with every reply and its SIGPIPE as it was; a trace that
// cannot go on is told once, on standard error and to the event sink.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>

#include "line_server.h"
#include "tessic_api.h"
#include "trace.h"

namespace {

namespace fs = std::filesystem;
using tessic_test::LineServer;

// Runs `body` in a child process (ended by an alarm should it hang) whose
// standard error the parent reads: that, then what `body` returned, then
// how the child ended.
std::string RunInChild(const std::function<std::string()>& body) {
  int out[2];
  if (::pipe(out) != 0) return "no pipe";
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(out[1], STDERR_FILENO);
    ::alarm(20);
    const std::string result = body();
    (void)!::write(out[1], result.data(), result.size());
    ::_exit(0);
  }
  ::close(out[1]);
  std::string text;
  char chunk[4096];
  for (ssize_t n; (n = ::read(out[0], chunk, sizeof chunk)) > 0;)
    text.append(chunk, static_cast<size_t>(n));
  ::close(out[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return text + (WIFSIGNALED(status) ? std::string("killed by ") + ::strsignal(WTERMSIG(status))
                                     : "exit " + std::to_string(WEXITSTATUS(status)));
}

void ToLog(void* log, int32_t, const char* event, const char* text, int32_t length) {
  if (std::strcmp(event, tessic::kLogEvent) == 0)
    static_cast<std::string*>(log)
        ->append("sink: ")
        .append(text, static_cast<size_t>(length))
        .append("\n");
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
    text.replace(at, from.size(), to);
  return text;
}

// How SIGPIPE stands for the calling thread: disposition, mask, pending.
std::string SigpipeState() {
  struct sigaction action {};
  sigset_t blocked, pending;
  ::sigaction(SIGPIPE, nullptr, &action);
  ::pthread_sigmask(SIG_BLOCK, nullptr, &blocked);
  ::sigpending(&pending);
  return std::string("SIGPIPE ") + (action.sa_handler == SIG_DFL ? "default" : "handled") +
         (sigismember(&blocked, SIGPIPE) == 1 ? ", blocked" : "") +
         (sigismember(&pending, SIGPIPE) == 1 ? ", pending" : "") + "\n";
}

// A host's session of three exchanges traced to `path` (with
// `reader_goes_away` a FIFO reader of its own, closed after the first): the
// event sink's log lines, the replies, SIGPIPE's state after, and what the
// trace holds (what the FIFO's reader got, or the file), with the server's
// address written as SERVER.
std::string TracedSession(const std::string& path, bool reader_goes_away) {
  int fifo = reader_goes_away ? ::open(path.c_str(), O_RDONLY | O_NONBLOCK) : -1;
  const LineServer server([](const std::string& command, LineServer& handset) {
    handset.Write(command + "\r\nOK\r\n");
  });
  ::setenv(tessic::kTraceVariable, path.c_str(), 1);
  ::setenv("TESSIC_AT_SERVER", server.address().c_str(), 1);
  void* library = ::dlopen(SONVIO_BIN_DIR "/TESSIC.dll", RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return "cannot load TESSIC.dll\n";
#define CALL(name) reinterpret_cast<decltype(&name)>(::dlsym(library, #name))
  std::string log, replies = "replies:", traced;
  CALL(TESSIC_set_event_sink)(&ToLog, &log);
  const int32_t session = CALL(TESSIC_SessionOpen)(("FMR/TCPIPc_" + server.address()).c_str(), "");
  const int32_t channel = CALL(TESSIC_DedChOpen)(session);
  for (const std::string command : {"ONE", "TWO", "THREE"}) {
    char reply[64] = "";
    int32_t status =
        CALL(TESSIC_send)(channel, command.c_str(), static_cast<int32_t>(command.size()));
    while (status == 0 &&
           (status = CALL(TESSIC_recv)(channel, reply, sizeof reply)) == TESSIC_RECV_PENDING) {
    }
    replies += status == TESSIC_RECV_COMPLETE ? std::string(" ") + reply : " failed";
    if (fifo >= 0) {
      char chunk[4096];
      traced.assign(chunk,
                    static_cast<size_t>(std::max(::read(fifo, chunk, sizeof chunk), ssize_t{0})));
      ::close(std::exchange(fifo, -1));
    }
  }
  CALL(TESSIC_SessionClose)(session);
  CALL(TESSIC_set_event_sink)(nullptr, nullptr);
#undef CALL
  ::dlclose(library);
  if (fs::is_regular_file(path)) {
    std::ifstream file(path);
    traced.assign(std::istreambuf_iterator<char>(file), {});
  }
  return Replaced(log + replies + "\n" + SigpipeState() + traced, server.address(), "SERVER");
}

TEST(TraceTest, ATraceThatCannotGoOnIsToldOnceAndTheHostLivesOn) {
  const fs::path folder =
      fs::temp_directory_path() / ("tessic-trace-" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  const std::string fifo = (folder / "fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string one =
      "session 1: opened SERVER\nsession 1: sent ONE\nsession 1: reply OK ONE\n";
  struct Case {
    std::string path;
    bool reader_goes_away;
    std::string log;  // on standard error, then from the sink
    std::string traced;
  };
  const Case cases[] = {
      {(folder / "trace.txt").string(), false, "",
       one + "session 1: sent TWO\nsession 1: reply OK TWO\nsession 1: sent THREE\n"
             "session 1: reply OK THREE\nsession 1: closed\n"},
      {fifo, true, "trace TRACE: Broken pipe; tracing stopped", one},
      {fifo, false, "trace TRACE: no program reads the FIFO; tracing off", ""},
      {"/dev/full", false, "trace TRACE: No space left on device; tracing stopped", ""},
      {(folder / "no" / "trace.txt").string(), false,
       "trace TRACE: No such file or directory; tracing off", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path + (c.reader_goes_away ? ", its reader goes away" : ""));
    const std::string log = c.log.empty() ? "" : "TESSIC: " + c.log + "\nsink: " + c.log + "\n";
    EXPECT_EQ(Replaced(RunInChild([&] { return TracedSession(c.path, c.reader_goes_away); }),
                       c.path, "TRACE"),
              log + "replies: ONE TWO THREE\nSIGPIPE default\n" + c.traced + "exit 0");
  }
  fs::remove_all(folder);
}

}  // namespace
