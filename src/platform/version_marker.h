// Marker in front of the version block that an ELF build of the plug-in
// carries in place of a Windows version resource.
#pragma once

#include <string>

namespace platform {

// Built at run time from a reversed literal, so the reader's own copy of the
// marker never appears in a file as the marker itself.
inline std::string VersionMarker() {
  const std::string reversed = "\x01OFNINOISREV-OIVNOS\x7f";
  return std::string(reversed.rbegin(), reversed.rend());
}

}  // namespace platform
