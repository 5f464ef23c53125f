// What a check or a sample measures: one value of a control's `get` state
// (its text, check mark, position, item index or caption, or the key named
// after a dot: LEFrequency.label), or a field of the RDS station --rds
// decodes (rds.ps).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "fmr-rds/station_decoder.h"

namespace benchora {

// The value of `key` in a `get` reply (key="escaped text" or key=word),
// its escapes undone; nullopt when the reply has no such key.
[[nodiscard]] std::optional<std::string> StateValue(std::string_view reply, std::string_view key);

// The value a check reads when it names no key: the first of text,
// checked, position, index and caption that the control has.
[[nodiscard]] std::optional<std::string> MainValue(std::string_view reply);

// "rds.ps" -> "ps"; nullopt for a name that is not an RDS field's.
[[nodiscard]] std::optional<std::string_view> RdsFieldName(std::string_view name);

// A decoded RDS field: pi (4 hex digits), pty, ps, rt. Unknown fields set
// `known` false; a field not received yet is nullopt.
[[nodiscard]] std::optional<std::string> RdsField(const fmrrds::StationSummary& station,
                                                  std::string_view field, bool& known);

// The RDS fields the checks can read, for help texts: "pi, pty, ps, rt".
std::string RdsFieldList();

}  // namespace benchora
