// The signature of an AT command the command set sends: the command's full
// name, the AT types of its arguments in order and what its reply is decoded
// into. The command set keeps a table of them (aud_app::Commands()) and
// builds every command text from it, so the table is exactly what goes to
// the handset.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "gen2/at_command.h"
#include "gen2/aud_app_records.h"

namespace MANAGED_IF {

// What a reply is decoded into: only the final word (a write command), or
// one of the reply records before it.
enum class AtReplyKind : uint8_t {
  kStatus,
  kVersion,
  kAutoSeekReport,
  kRdsReport,
  kStaticConfig,
  kDynamicData,
};

template <typename Record>
constexpr AtReplyKind kReplyKindOf = AtReplyKind::kStatus;
template <>
inline constexpr AtReplyKind kReplyKindOf<T_Version> = AtReplyKind::kVersion;
template <>
inline constexpr AtReplyKind kReplyKindOf<T_AutoSeekReport> = AtReplyKind::kAutoSeekReport;
template <>
inline constexpr AtReplyKind kReplyKindOf<T_RdsReport> = AtReplyKind::kRdsReport;
template <>
inline constexpr AtReplyKind kReplyKindOf<T_StaticConfig> = AtReplyKind::kStaticConfig;
template <>
inline constexpr AtReplyKind kReplyKindOf<T_DynamicData> = AtReplyKind::kDynamicData;

struct AtCommandSignature {
  static constexpr size_t kMaxArguments = 4;

  std::string_view name;  // "at@audapp:fmrx_set_band"
  AtReplyKind reply = AtReplyKind::kStatus;
  std::array<AtType, kMaxArguments> argument_types{};
  size_t argument_count = 0;

  constexpr std::span<const AtType> arguments() const {
    return {argument_types.data(), argument_count};
  }

  template <typename... Types>
  static constexpr AtCommandSignature Write(std::string_view name, Types... types) {
    static_assert(sizeof...(Types) <= kMaxArguments);
    return {name, AtReplyKind::kStatus, {types...}, sizeof...(Types)};
  }
  template <typename Record>
  static constexpr AtCommandSignature Read(std::string_view name) {
    return {name, kReplyKindOf<Record>, {}, 0};
  }
};

}  // namespace MANAGED_IF
