// Decoding of AT replies into typed records.
#pragma once

#include <cstdint>
#include <string>

#include "gen2/mi_istringstream.h"
#include "gen2/t_result.h"

namespace MANAGED_IF {

// The word that must follow the last field of a decoded reply.
constexpr char kReplyOkWord[] = "OK";

// Decodes `result` into `record` when the exchange succeeded: `read_fields`
// extracts the record's fields in reply order from the reader, then the next
// word must be exactly "OK". Returns the exchange code when it is not 0
// (the record untouched), else 0 or 3.
template <typename Record, typename ReadFields>
int32_t DecodeReply(const T_Result& result, Record& record, ReadFields read_fields) {
  if (result.code != kResultOk) return result.code;
  mi_istringstream reader(result.text);
  read_fields(reader, record);
  return reader.Word() == kReplyOkWord ? kResultOk : kResultError;
}

}  // namespace MANAGED_IF
