// Text bound for a report (JUnit XML, CSV, JSON lines, SVG) made safe to
// store whatever a handset or the air sent: well-formed UTF-8 of the code
// points every one of those formats allows stands as it is; every other byte
// (control bytes, bytes of broken or overlong UTF-8, surrogates, U+FFFE and
// U+FFFF, C1 controls) is written as \xHH, the rule the panels' automation
// replies follow. The result is valid UTF-8 without control characters, so
// each format's own quoting is all that is left to do.
#pragma once

#include <string>
#include <string_view>

namespace tooltext {

[[nodiscard]] std::string ReportText(std::string_view text);

// True when `text` is already what ReportText makes of it.
[[nodiscard]] bool IsReportText(std::string_view text);

// Report text quoted for XML content and attributes (& < > " as entities):
// valid in any XML 1.0 document (JUnit reports, SVG pictures).
[[nodiscard]] std::string XmlText(std::string_view text);

}  // namespace tooltext
