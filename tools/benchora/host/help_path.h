// Where the host finds a panel's help. A panel reports its help keyword in
// its form's state ("help=\"SonvioHelp.chm::/SonvioHelp/Sonvio.html#SONVIO\"");
// the keyword names a compiled help file, which lies beside the plug-in, and
// a topic inside it. The help viewer wants the file's full path in front of
// the topic.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace benchora {

// The help keyword of a form's state line (as `get FORM` or the first line
// of `snapshot` gives it), its escapes undone; empty when the line has none.
std::string HelpKeywordOfState(std::string_view state);

// The folder part of a path, its delimiter included; empty for a bare name.
std::string FolderOf(const std::string& path);

struct HelpTopic {
  std::string file;  // the help file's path
  std::string url;   // the file's path and the topic, as the viewer takes it
};

// The topic `keyword` names, its help file looked for in `folders` (each
// ending in a path delimiter) in order; `exists` tells whether a path is a
// file. A file named with a full path is taken as it is. Without a keyword,
// or when no folder holds the file, `error` says why.
std::optional<HelpTopic> ResolveHelpTopic(std::string_view keyword,
                                          const std::vector<std::string>& folders,
                                          const std::function<bool(const std::string&)>& exists,
                                          std::string& error);

}  // namespace benchora
