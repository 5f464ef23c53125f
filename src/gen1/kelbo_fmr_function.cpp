#include "gen1/kelbo_fmr_function.h"

#include <utility>

#include "common/le_bytes.h"

namespace gen1 {

bool CKelboFMRFunction::Exchange(FmrMessage message) {
  const FmrMessageRow& row = MessageRow(message);
  const std::span<const uint8_t> request = std::as_const(requests_).Of(message);
  if (!request.empty()) BuildRequests(params_, requests_);
  ReplyBytes& reply = ReplyBuffer();
  const SendOutcome result =
      SendTestFunction(row.id, static_cast<uint16_t>(request.size()),
                       request.empty() ? nullptr : request.data(), row.reply_size, reply);
  if (result != SendOutcome::kCarried) return MapResult(result);
  if (ReplyStatus(reply) != 1) return MapResult(SendOutcome::kStatusError);
  if (row.copy != nullptr) row.copy(ReplySpan(reply.data(), row.reply_size), params_);
  return MapResult(SendOutcome::kCarried);
}

bool CKelboFMRFunction::SendRdsGroups(uint8_t& accepted) {
  const bool ok = Exchange(FmrMessage::kSendRdsGroups);
  if (ok) accepted = common::le::GetU8(ReplyBuffer(), 2);
  return ok;
}

bool CKelboFMRFunction::MapResult(SendOutcome outcome) {
  switch (outcome) {
    case SendOutcome::kCarried:
      LogOk();
      return true;
    case SendOutcome::kHostFailed:
      Log("ERROR: MERSH_DLL_ERROR", common::LogFlag::kFailure);
      ReportHostError();
      return false;
    case SendOutcome::kLengthMismatch:
      Log("ERROR: OUTPUT_SIZE_NOT_MATCH", common::LogFlag::kFailure);
      return false;
    case SendOutcome::kStatusError:
      Log("ERROR: FMR_STATUS_ERROR", common::LogFlag::kFailure);
      return false;
  }
  Log("ERROR: ERROR_NOT_DEFINED", common::LogFlag::kFailure);
  return false;
}

}  // namespace gen1
