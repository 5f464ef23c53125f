#include "xml_tree.h"

#include <cctype>

namespace rdstest {
namespace {

class Parser {
 public:
  explicit Parser(const std::string& text) : s_(text) {}

  std::unique_ptr<XmlElement> Document(std::string& error) {
    SkipMisc();
    auto root = Element();
    if (root) SkipMisc();
    if (root && pos_ != s_.size()) Fail("content after the root element");
    error = error_;
    return error_.empty() ? std::move(root) : nullptr;
  }

 private:
  void Fail(const std::string& what) {
    if (error_.empty()) error_ = what + " at offset " + std::to_string(pos_);
  }
  bool StartsWith(const char* prefix) const {
    return s_.compare(pos_, std::char_traits<char>::length(prefix), prefix) == 0;
  }
  void SkipSpace() {
    while (pos_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[pos_]))) ++pos_;
  }
  // Blanks, the XML declaration and comments.
  void SkipMisc() {
    for (;;) {
      SkipSpace();
      if (StartsWith("<?")) {
        const size_t end = s_.find("?>", pos_);
        if (end == std::string::npos) return Fail("unterminated declaration");
        pos_ = end + 2;
      } else if (StartsWith("<!--")) {
        const size_t end = s_.find("-->", pos_);
        if (end == std::string::npos) return Fail("unterminated comment");
        pos_ = end + 3;
      } else {
        return;
      }
    }
  }
  std::string Name() {
    const size_t start = pos_;
    while (pos_ < s_.size() &&
           (std::isalnum(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '-' ||
            s_[pos_] == '_' || s_[pos_] == ':' || s_[pos_] == '.'))
      ++pos_;
    if (pos_ == start) Fail("name expected");
    return s_.substr(start, pos_ - start);
  }
  std::string CharData(char stop) {
    std::string out;
    while (pos_ < s_.size() && s_[pos_] != stop && s_[pos_] != '<') {
      if (s_[pos_] == '&') {
        const size_t end = s_.find(';', pos_);
        if (end == std::string::npos) {
          Fail("unterminated entity");
          return out;
        }
        const std::string entity = s_.substr(pos_ + 1, end - pos_ - 1);
        if (entity == "amp")
          out += '&';
        else if (entity == "lt")
          out += '<';
        else if (entity == "gt")
          out += '>';
        else if (entity == "quot")
          out += '"';
        else if (entity == "apos")
          out += '\'';
        else if (!entity.empty() && entity[0] == '#')
          out += '?';
        else
          Fail("unknown entity &" + entity + ";");
        pos_ = end + 1;
      } else {
        out += s_[pos_++];
      }
    }
    return out;
  }
  std::unique_ptr<XmlElement> Element() {
    if (!StartsWith("<")) {
      Fail("element expected");
      return nullptr;
    }
    ++pos_;
    auto element = std::make_unique<XmlElement>();
    element->name = Name();
    for (;;) {
      SkipSpace();
      if (!error_.empty() || pos_ >= s_.size()) {
        Fail("unterminated start tag");
        return nullptr;
      }
      if (StartsWith("/>")) {
        pos_ += 2;
        return element;
      }
      if (s_[pos_] == '>') {
        ++pos_;
        break;
      }
      const std::string key = Name();
      SkipSpace();
      if (!StartsWith("=")) {
        Fail("= expected after attribute " + key);
        return nullptr;
      }
      ++pos_;
      SkipSpace();
      if (pos_ >= s_.size() || (s_[pos_] != '"' && s_[pos_] != '\'')) {
        Fail("quoted value expected for attribute " + key);
        return nullptr;
      }
      const char quote = s_[pos_++];
      const std::string value = CharData(quote);
      if (pos_ >= s_.size() || s_[pos_] != quote) {
        Fail("unterminated value of attribute " + key);
        return nullptr;
      }
      ++pos_;
      if (!element->attributes.emplace(key, value).second) Fail("attribute " + key + " twice");
    }
    for (;;) {
      element->text += CharData('\0');
      if (!error_.empty()) return nullptr;
      if (pos_ >= s_.size()) {
        Fail("</" + element->name + "> missing");
        return nullptr;
      }
      if (StartsWith("<!--")) {
        SkipMisc();
      } else if (StartsWith("</")) {
        pos_ += 2;
        const std::string closing = Name();
        SkipSpace();
        if (closing != element->name || !StartsWith(">")) {
          Fail("</" + element->name + "> expected, found </" + closing);
          return nullptr;
        }
        ++pos_;
        return element;
      } else {
        auto child = Element();
        if (!child) return nullptr;
        element->children.push_back(std::move(child));
      }
    }
  }

  const std::string& s_;
  size_t pos_ = 0;
  std::string error_;
};

void Collect(const XmlElement& e, const std::string& name, std::vector<const XmlElement*>& out) {
  if (e.name == name) out.push_back(&e);
  for (const auto& child : e.children) Collect(*child, name, out);
}

}  // namespace

std::vector<const XmlElement*> XmlElement::FindAll(const std::string& element_name) const {
  std::vector<const XmlElement*> out;
  Collect(*this, element_name, out);
  return out;
}

std::unique_ptr<XmlElement> ParseXml(const std::string& text, std::string& error) {
  return Parser(text).Document(error);
}

}  // namespace rdstest
