// What a check or a sample measures: one value of a control's `get` state
// (its text, check mark, position, item index or caption, or the key named
// after a dot: LEFrequency.label), or a value of the RDS station --rds
// decodes in the current tuning (rds.ps, rds.groups).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "fmr-rds/station_decoder.h"
#include "measure/rds_watch.h"
#include "measure/value_kind.h"

namespace benchora {

// The value of `key` in a `get` reply (key="escaped text" or key=word),
// its escapes undone; nullopt when the reply has no such key.
[[nodiscard]] std::optional<std::string> StateValue(std::string_view reply, std::string_view key);

// The value a check reads when it names no key: the first of text,
// checked, position, index and caption that the control has.
[[nodiscard]] std::optional<std::string> MainValue(std::string_view reply);

// "rds.ps" -> "ps"; nullopt for a name that is not an RDS value's.
[[nodiscard]] std::optional<std::string_view> RdsFieldName(std::string_view name);

// The kind of what `name` reads, as far as it is known before the run: an
// RDS value's own kind, kAny for a control's. nullopt with `error` set for
// an rds. name that names no RDS value.
[[nodiscard]] std::optional<KindOfValue> LookUpName(std::string_view name, std::string& error);

// The RDS value `field` of the current tuning; nullopt with `why` set when
// it has not been received since the tuning began (or `field` names none).
[[nodiscard]] std::optional<std::string> RdsValue(const RdsWatch& watch, std::string_view field,
                                                  std::string& why);

// The RDS values the checks can read, for help texts: "pi, pty, ps, ...".
std::string RdsFieldList();

}  // namespace benchora
