// The compiled help file as the help viewer uses it: every help keyword of
// the panels names a page inside SonvioHelp.chm and an anchor on that page;
// the page's links, and those of the contents and the index, lead to
// anchors that exist. The file is listed and its pages taken out with
// chmls, by the names the viewer asks for; chmls locks the file it reads,
// so each test reads a copy of its own.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/help_keyword.h"
#include "test_folder.h"

namespace {

namespace fs = std::filesystem;

constexpr char kTitle[] = "Sonvio FM Radio Test Panel Help";

std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// The standard output of a command line; empty when it failed.
std::string Output(const std::string& command) {
  std::string out;
  FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return out;
  char chunk[4096];
  for (size_t n = 0; (n = fread(chunk, 1, sizeof(chunk), pipe)) > 0;) out.append(chunk, n);
  return pclose(pipe) == 0 ? out : std::string();
}

// The built help file, copied into a folder of the running test.
class HelpFile {
 public:
  HelpFile() { fs::copy_file(HELP_FILE_PATH, file_); }

  // The names of the files it holds, one per line ("" when it cannot be
  // listed).
  std::string Listing() const {
    return Output(std::string(CHMLS_PATH) + " -n -p list " + Quoted(file_.string()));
  }
  // A file it holds ("" when it holds none of that name).
  std::string Extract(const std::string& name) {
    const fs::path out = folder_.path() / ("extract" + std::to_string(++extracted_));
    Output(std::string(CHMLS_PATH) + " extract " + Quoted(file_.string()) + " " + Quoted(name) +
           " " + Quoted(out.string()));
    return testing_files::ReadFile(out);
  }

 private:
  const testing_files::TestFolder folder_;
  const fs::path file_ = folder_.path() / fs::path(HELP_FILE_PATH).filename();
  int extracted_ = 0;
};

// The values of every `attribute="..."` in `text` (`tag`: only inside the
// tags that start so, as "<a ").
std::vector<std::string> Values(const std::string& text, const std::string& attribute,
                                const std::string& tag = "<") {
  std::vector<std::string> values;
  for (size_t at = text.find(tag); at != std::string::npos; at = text.find(tag, at + 1)) {
    const std::string inside = text.substr(at, text.find('>', at) - at);
    for (size_t a = inside.find(" " + attribute + "=\""); a != std::string::npos;
         a = inside.find(" " + attribute + "=\"", a + 1)) {
      const size_t start = a + attribute.size() + 3;
      values.push_back(inside.substr(start, inside.find('"', start) - start));
    }
  }
  return values;
}

// A page of the help file with the anchors it defines: element ids (each
// must be unique) and the names of <a> elements, for viewers that only
// know those.
struct Page {
  Page(HelpFile& help, const std::string& path) : text(help.Extract(path)) {
    for (const std::string& id : Values(text, "id")) ++ids[id];
    for (const std::string& name : Values(text, "name", "<a ")) names.insert(name);
  }
  bool Defines(const std::string& anchor) const {
    return ids.contains(anchor) && ids.at(anchor) == 1 && names.contains(anchor);
  }
  std::string text;
  std::map<std::string, int> ids;
  std::set<std::string> names;
};

// "FILE::/PAGE#ANCHOR", split.
struct Topic {
  std::string file, page, anchor;
};
Topic Split(const std::string& keyword) {
  const size_t pair = keyword.find("::");
  const size_t hash = keyword.find('#');
  return {keyword.substr(0, pair), keyword.substr(pair + 2, hash - pair - 2),
          hash == std::string::npos ? "" : keyword.substr(hash + 1)};
}

TEST(HelpFile, EveryHelpKeywordLeadsToItsSection) {
  HelpFile help;
  const std::string listing = help.Listing();
  ASSERT_FALSE(listing.empty()) << "chmls cannot list " << HELP_FILE_PATH;
  std::map<std::string, Page> pages;
  int keywords = 0;
  for (int i = 1; !common::HelpKeyword(i).empty(); ++i, ++keywords) {
    const Topic topic = Split(common::HelpKeyword(i));
    SCOPED_TRACE(common::HelpKeyword(i));
    EXPECT_EQ(topic.file, fs::path(HELP_FILE_PATH).filename());
    ASSERT_NE(listing.find("\n" + topic.page + "\n"), std::string::npos) << listing;
    const Page& page = pages.try_emplace(topic.page, help, topic.page).first->second;
    EXPECT_TRUE(page.Defines(topic.anchor)) << "no unique id and <a name> " << topic.anchor;
  }
  EXPECT_GE(keywords, 9);
  // F1 on a panel opens its form's topic: the top of the page.
  const Topic form = Split(common::HelpKeyword(1));
  const std::vector<std::string> ids = Values(pages.at(form.page).text, "id");
  ASSERT_FALSE(ids.empty());
  EXPECT_EQ(ids.front(), form.anchor);
}

TEST(HelpFile, TitleAndEveryLinkOfThePageTheContentsAndTheIndex) {
  HelpFile help;
  const Topic form = Split(common::HelpKeyword(1));
  const Page page(help, form.page);
  ASSERT_FALSE(page.text.empty()) << form.page;
  EXPECT_NE(page.text.find(std::string("<title>") + kTitle + "</title>"), std::string::npos);
  for (const auto& [id, count] : page.ids) EXPECT_EQ(count, 1) << "id " << id;

  // Links within the page, and the files it uses (the stylesheet), which
  // must be in the help file beside it.
  const std::string folder = fs::path(form.page).parent_path().string() + "/";
  for (const std::string& href : Values(page.text, "href")) {
    if (href.starts_with("#")) {
      EXPECT_TRUE(page.Defines(href.substr(1))) << "link to " << href;
    } else {
      EXPECT_FALSE(help.Extract(folder + href).empty()) << "file " << href;
    }
  }
  // The contents and the index name the page relative to the file's root.
  for (const char* list : {"/SonvioHelp.hhc", "/SonvioHelp.hhk"}) {
    const std::string text = help.Extract(list);
    ASSERT_FALSE(text.empty()) << list;
    int entries = 0;
    for (const std::string& local : Values(text, "value", "<param name=\"Local\"")) {
      const Topic topic = Split("::/" + local);
      EXPECT_EQ(topic.page, form.page) << list << ": " << local;
      EXPECT_TRUE(page.Defines(topic.anchor)) << list << ": " << local;
      ++entries;
    }
    EXPECT_GT(entries, 9) << list;
  }
}

}  // namespace
