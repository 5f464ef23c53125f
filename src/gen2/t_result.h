// The outcome of one AT exchange over the transport session.
#pragma once

#include <cstdint>
#include <string>

namespace MANAGED_IF {

// Result codes of an exchange and of a decoded reply.
constexpr int8_t kResultOk = 0;
constexpr int8_t kResultError = 3;

struct T_Result {
  // 0: the transport reported a complete positive reply (and, for a read
  // command, the reply decoded); 3: an error reply or an undecodable one.
  // An exchange that never got a final status keeps the error code.
  int8_t code = kResultError;
  // The reply text with the terminator line the session appends
  // ("\r\nOK\r\n" or "\r\nERROR\r\n").
  std::string text;
};

}  // namespace MANAGED_IF
