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

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "line_server.h"
#include "tessic_api.h"
#include "trace.h"

namespace {

using tessic_test::LineServer;
namespace fs = std::filesystem;

// A child that hangs is ended by this alarm, and the test sees the signal.
constexpr unsigned kHangGuardSeconds = 20;

// Runs `body` in a child process with its standard error going where the
// parent reads it; the child's standard error and then what `body`
// returned, followed by how the child ended.
std::string RunInChild(const std::function<std::string()>& body) {
  int out[2];
  if (::pipe(out) != 0) return "no pipe";
  const pid_t child = ::fork();
  if (child < 0) return "no child process";
  if (child == 0) {
    ::close(out[0]);
    ::dup2(out[1], STDERR_FILENO);
    ::alarm(kHangGuardSeconds);
    const std::string result = body();
    (void)!::write(out[1], result.data(), result.size());
    ::_exit(0);
  }
  ::close(out[1]);
  std::string text;
  char chunk[4096];
  for (ssize_t n; (n = ::read(out[0], chunk, sizeof chunk)) != 0;) {
    if (n > 0) text.append(chunk, static_cast<size_t>(n));
    if (n < 0 && errno != EINTR) break;
  }
  ::close(out[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFSIGNALED(status)) return text + "killed by " + ::strsignal(WTERMSIG(status)) + "\n";
  return text + "exit " + std::to_string(WEXITSTATUS(status)) + "\n";
}

void ToLog(void* context, int32_t /*session*/, const char* event, const char* text,
           int32_t length) {
  if (std::strcmp(event, tessic::kLogEvent) == 0) {
    static_cast<std::string*>(context)->append("sink: ").append(text, length).append("\n");
  }
}

// `text` with every `from` written as `to`.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
    text.replace(at, from.size(), to);
  return text;
}

// What a FIFO reader opened without waiting has received so far.
std::string ReadNow(int fd) {
  std::string text;
  char chunk[4096];
  for (ssize_t n; (n = ::read(fd, chunk, sizeof chunk)) > 0;) {
    text.append(chunk, static_cast<size_t>(n));
  }
  return text;
}

// How SIGPIPE stands for the calling thread: the library must leave its
// disposition, the thread's mask and what is pending as they were.
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

enum class Reader { kNone, kGoesAway };

// A host's session traced to `path`: three exchanges (with `reader` a FIFO
// reader of the child's own, gone after the first); the event sink's log
// lines, the replies, and what the trace holds (the FIFO's reader got, or
// the file has), with `path` written as TRACE and the server's address as
// SERVER.
std::string TracedSession(const std::string& path, Reader reader) {
  const int fifo = reader == Reader::kGoesAway ? ::open(path.c_str(), O_RDONLY | O_NONBLOCK) : -1;
  const LineServer server([](const std::string& command, LineServer& handset) {
    handset.Write(command + "\r\nOK\r\n");
  });
  ::setenv(tessic::kTraceVariable, path.c_str(), 1);
  ::setenv("TESSIC_AT_SERVER", server.address().c_str(), 1);
  void* library = ::dlopen(SONVIO_BIN_DIR "/TESSIC.dll", RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return "cannot load TESSIC.dll\n";
#define CALL(name) reinterpret_cast<decltype(&name)>(::dlsym(library, #name))
  std::string log;
  CALL(TESSIC_set_event_sink)(&ToLog, &log);
  const int32_t session = CALL(TESSIC_SessionOpen)(("FMR/TCPIPc_" + server.address()).c_str(), "");
  const int32_t channel = CALL(TESSIC_DedChOpen)(session);
  std::string replies = "replies:";
  std::string traced;
  for (const char* command : {"ONE", "TWO", "THREE"}) {
    char reply[64] = "";
    int32_t status = TESSIC_RECV_FAILED;
    if (CALL(TESSIC_send)(channel, command, static_cast<int32_t>(std::strlen(command))) == 0) {
      while ((status = CALL(TESSIC_recv)(channel, reply, sizeof reply)) == TESSIC_RECV_PENDING) {
      }
    }
    replies += status == TESSIC_RECV_COMPLETE ? std::string(" ") + reply : " failed";
    if (fifo >= 0 && std::string(command) == "ONE") {
      traced = ReadNow(fifo);
      ::close(fifo);
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
  return Replaced(Replaced(log + replies + "\n" + SigpipeState() + traced, path, "TRACE"),
                  server.address(), "SERVER");
}

TEST(TraceTest, ATraceThatCannotGoOnIsToldOnceAndTheHostLivesOn) {
  const fs::path folder =
      fs::temp_directory_path() / ("tessic-trace-" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  const std::string fifo = (folder / "fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string replies = "replies: ONE TWO THREE\nSIGPIPE default\n";
  const std::string exchange_one =
      "session 1: opened SERVER\nsession 1: sent ONE\nsession 1: reply OK ONE\n";
  struct Case {
    const char* name;
    std::string path;
    Reader reader;
    std::string log;  // on standard error, then from the sink
    std::string traced;
  };
  const Case cases[] = {
      {"plain file", (folder / "trace.txt").string(), Reader::kNone, "",
       exchange_one + "session 1: sent TWO\nsession 1: reply OK TWO\n" +
           "session 1: sent THREE\nsession 1: reply OK THREE\nsession 1: closed\n"},
      {"fifo whose reader goes away", fifo, Reader::kGoesAway,
       "trace TRACE: Broken pipe; tracing stopped", exchange_one},
      {"fifo nobody reads", fifo, Reader::kNone,
       "trace TRACE: no program reads the FIFO; tracing off", ""},
      {"full device", "/dev/full", Reader::kNone,
       "trace TRACE: No space left on device; tracing stopped", ""},
      {"missing folder", (folder / "missing" / "trace.txt").string(), Reader::kNone,
       "trace TRACE: No such file or directory; tracing off", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string told = c.log.empty() ? "" : "TESSIC: " + c.log + "\n";
    const std::string sink = c.log.empty() ? "" : "sink: " + c.log + "\n";
    EXPECT_EQ(
        Replaced(RunInChild([&] { return TracedSession(c.path, c.reader); }), c.path, "TRACE"),
        told + sink + replies + c.traced + "exit 0\n");
  }
  fs::remove_all(folder);
}

}  // namespace
