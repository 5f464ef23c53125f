#include "gen2/transport_wrapper.h"

#include <cstring>
#include <vector>

#include "gen2/tessic_binding.h"
#include "platform/platform.h"
#include "ui/services.h"

namespace MANAGED_IF {
namespace {

constexpr char kLibraryName[] = "TESSIC.dll";
constexpr char kReplyOk[] = "\r\nOK\r\n";
constexpr char kReplyError[] = "\r\nERROR\r\n";
constexpr int kSendAttempts = 3;

// Receive statuses of TESSIC_recv.
constexpr int32_t kRecvComplete = 0;
constexpr int32_t kRecvFailed = -1;
constexpr int32_t kRecvError = -2;
constexpr int32_t kRecvPending = -3;

// Restores the default cursor however the exchange ends.
class HourGlass {
 public:
  explicit HourGlass(ui::Services& services) : services_(services) {
    services_.SetCursor(ui::Cursor::kHourGlass);
  }
  ~HourGlass() { services_.SetCursor(ui::Cursor::kDefault); }
  HourGlass(const HourGlass&) = delete;
  HourGlass& operator=(const HourGlass&) = delete;

 private:
  ui::Services& services_;
};

}  // namespace

std::string TransportConnectionText() {
  return "FMR/TCPIPc_127.0.0.1:27018";
}

TransportWrapper::TransportWrapper(const common::ModuleContext& context) : context_(context) {}

TransportWrapper::~TransportWrapper() {
  if (Close()) Unload();
}

bool TransportWrapper::Load(const std::string& path) {
  return LoadTessic(path, context_.services);
}

void TransportWrapper::Unload() {
  UnloadTessic();
}

void TransportWrapper::CopyIds(const TransportWrapper& other) {
  session_id_ = other.session_id_;
  channel_id_ = other.channel_id_;
}

void TransportWrapper::Abandon() {
  session_id_ = -1;
  channel_id_ = -1;
}

void TransportWrapper::Open() {
  const std::string path = platform::ProgramFolder() + kLibraryName;
  if (!Load(path)) {
    context_.services.ShowMessage("Cannot load TESSIC DLL:\n\"" + path +
                                      "\"\nThe Vorn mode cannot be started without this DLL.",
                                  "", ui::MessageIcon::kNone);
    return;
  }
  Log("Successfully load TESSIC DLL", common::LogFlag::kProgress);
  Log("SetupComport()", common::LogFlag::kProgress);

  const std::string connection = TransportConnectionText();
  const std::string options;
  Log("TESSIC_SessionOpen(\"" + connection + "\", \"" + options + "\");",
      common::LogFlag::kProgress);
  const TessicBinding& tessic = Tessic();
  session_id_ =
      tessic.Entry<TessicSessionOpenFunc>(kTessicSessionOpen)(connection.c_str(), options.c_str());
  if (session_id_ < 0) {
    Log("Error setting connection. Session id = " + std::to_string(session_id_),
        common::LogFlag::kFailure);
    session_id_ = -1;
    return;
  }

  channel_id_ = tessic.Entry<TessicDedChOpenFunc>(kTessicDedChOpen)(session_id_);
  const std::string ids =
      std::to_string(session_id_) + ", dedicated channel = " + std::to_string(channel_id_);
  if (channel_id_ < 0) {
    Log("ERROR: Dedicated channel could not be opened. Session id = " + ids,
        common::LogFlag::kFailure);
  } else {
    Log("Port open. Session id = " + ids, common::LogFlag::kProgress);
  }
}

T_Result TransportWrapper::Exchange(const std::string& command) {
  Log(command, common::LogFlag::kProgress);
  HourGlass hourglass(context_.services);

  const TessicBinding& tessic = Tessic();
  const auto send = tessic.Entry<TessicSendFunc>(kTessicSend);
  const auto recv = tessic.Entry<TessicRecvFunc>(kTessicRecv);
  T_Result result;
  if (send == nullptr || recv == nullptr) return result;  // no library: nothing can be sent

  // One byte more than the capacity handed to the library, so a reply that
  // fills the whole capacity still ends in a zero. One buffer for the
  // module: exchanges run one at a time on the user-interface thread, and
  // command sets that are kept for good keep no buffer each. Each receive
  // clears it to an empty text by its first byte.
  static char receive_buffer[kReceiveCapacity + 1];
  char* const buffer = receive_buffer;
  buffer[kReceiveCapacity] = '\0';
  for (int attempts = 0; attempts < kSendAttempts;) {
    send(channel_id_, command.c_str(), static_cast<int32_t>(command.size()));
    int32_t status;
    std::string_view terminator;
    do {
      buffer[0] = '\0';
      status = recv(channel_id_, buffer, kReceiveCapacity);
      if (channel_id_ >= 0) {
        if (status == kRecvComplete) {
          terminator = kReplyOk;
          result.code = kResultOk;
        } else if (status == kRecvError) {
          terminator = kReplyError;
          result.code = kResultError;
        }
      }
    } while (status == kRecvPending);

    if (status == kRecvFailed) {
      ++attempts;
      continue;
    }
    // One allocation: room for the terminator line from the start.
    const size_t length = ::strnlen(buffer, kReceiveCapacity);
    result.text.reserve(length + terminator.size());
    result.text.assign(buffer, length);
    result.text += terminator;
    break;
  }
  return result;
}

bool TransportWrapper::Close() {
  if (session_id_ < 0) return false;
  const auto close = Tessic().Entry<TessicSessionCloseFunc>(kTessicSessionClose);
  if (close == nullptr) return false;
  Log("TESSIC_SessionClose(" + std::to_string(session_id_) + ");", common::LogFlag::kProgress);
  if (close(session_id_) != 0) {
    session_id_ = -1;
    channel_id_ = -1;
    Log("Port closed okay.", common::LogFlag::kProgress);
    return true;
  }
  Log("Error closing port.", common::LogFlag::kFailure);
  return false;
}

}  // namespace MANAGED_IF
