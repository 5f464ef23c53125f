// The file-open dialog's filter: the component model writes it as
// "Description|pattern|Description|pattern"; the system dialog wants each
// part ended by a zero and the whole list ended by a second zero.
#pragma once

#include <string>

namespace ui {

// The system form of a '|'-separated filter ("" stays empty: no filter).
std::string SystemFilter(const std::string& filter);

// The default extension without its leading dot ("txt" for ".txt").
std::string DefaultExtension(const std::string& extension);

}  // namespace ui
