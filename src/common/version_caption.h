#pragma once

#include <string>

namespace common {

// "ProductName - Version: FileVersion" from the version resource of the file
// of that name in the host program's folder; the fallback text when the file
// has no version resource.
std::string VersionCaption(const std::string& file_name);

}  // namespace common
