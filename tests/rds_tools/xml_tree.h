// A small XML reader for checking generated SVG: well-formedness (nesting,
// quoted attributes, known entities) and a tree to look things up in.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace rdstest {

struct XmlElement {
  std::string name;
  std::map<std::string, std::string> attributes;
  std::string text;  // character data directly inside, entities resolved
  std::vector<std::unique_ptr<XmlElement>> children;

  std::string Attribute(const std::string& key) const {
    const auto it = attributes.find(key);
    return it == attributes.end() ? "" : it->second;
  }
  // Every descendant (and this element) named `element_name`, document order.
  std::vector<const XmlElement*> FindAll(const std::string& element_name) const;
};

// The root element, or null with `error` set when the text is not
// well-formed.
std::unique_ptr<XmlElement> ParseXml(const std::string& text, std::string& error);

}  // namespace rdstest
