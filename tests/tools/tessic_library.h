// The real transport library for the link tests, bound by name as the
// plug-in binds it, with its calls wrapped for the tests.
#pragma once

#include <chrono>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "shared_library.h"
#include "tessic_api.h"

namespace tessic_test {

#define TESSIC_CALL(name) reinterpret_cast<decltype(&name)>(library_.Symbol(#name))

class Tessic {
 public:
  Tessic() : library_(simtest::SharedLibrary::Open(SONVIO_BIN_DIR "/TESSIC.dll")) {
    if (!library_.IsLoaded()) throw std::runtime_error("cannot load TESSIC.dll");
  }
  int32_t Open(const std::string& connection) const {
    return TESSIC_CALL(TESSIC_SessionOpen)(connection.c_str(), "");
  }
  uint8_t Close(int32_t session) const { return TESSIC_CALL(TESSIC_SessionClose)(session); }
  int32_t Channel(int32_t session) const { return TESSIC_CALL(TESSIC_DedChOpen)(session); }
  int32_t SetTimeout(int32_t channel, int32_t ms) const {
    return TESSIC_CALL(TESSIC_set_timeout)(channel, ms);
  }
  int32_t Send(int32_t channel, const std::string& text) const {
    return TESSIC_CALL(TESSIC_send)(channel, text.data(), static_cast<int32_t>(text.size()));
  }
  // One receive into a buffer without any zero byte, so a missing terminator
  // shows as a text of the whole capacity.
  int32_t Recv(int32_t channel, std::string& text) const {
    std::vector<char> buffer(kCapacity, '\x7F');
    const int32_t status = TESSIC_CALL(TESSIC_recv)(channel, buffer.data(), kCapacity);
    text.assign(buffer.data(), ::strnlen(buffer.data(), buffer.size()));
    return status;
  }
  // Receives until a final status, for at most `limit`; pending when the
  // limit is reached first.
  int32_t Await(int32_t channel, std::string& text,
                std::chrono::milliseconds limit = std::chrono::seconds(5)) const {
    const auto end = std::chrono::steady_clock::now() + limit;
    int32_t status = TESSIC_RECV_PENDING;
    while ((status = Recv(channel, text)) == TESSIC_RECV_PENDING &&
           std::chrono::steady_clock::now() < end) {
    }
    return status;
  }
  // Closes the library now rather than at destruction.
  void Unload() { library_.Reset(); }

  static constexpr int32_t kCapacity = 0x10000;

 private:
  simtest::SharedLibrary library_;
};

#undef TESSIC_CALL

}  // namespace tessic_test
