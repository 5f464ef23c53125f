// What each kind of component tells automation about itself and which user
// actions it accepts: its `get` state, its item or line texts, and the user
// operations behind the automation verbs.
#include <algorithm>
#include <cctype>
#include <charconv>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/state_writer.h"
#include "ui/timer.h"

namespace ui {
namespace {

// A whole decimal number ("12", "-1"); nullopt for anything else.
std::optional<int> WholeNumber(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [last, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || last != end) return std::nullopt;
  return value;
}

// ASCII letters folded to lower case.
bool SameFolded(std::string_view a, std::string_view b) {
  auto fold = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return fold(x) == fold(y); });
}

// The one item `matches`, nullopt when none or several do.
template <typename Matches>
std::optional<int> OnlyItem(const std::vector<std::string>& items, Matches matches) {
  std::optional<int> found;
  for (size_t i = 0; i < items.size(); ++i) {
    if (!matches(std::string_view(items[i]))) continue;
    if (found) return std::nullopt;
    found = static_cast<int>(i);
  }
  return found;
}

// The item an argument names, the text before the index (a station list's
// "95400000" is its text): the item of exactly that text, else the one item
// of that text in any letter case, else an index, else the one item the
// text begins (in that case, else in any case).
std::optional<int> ItemFor(const std::vector<std::string>& items, std::string_view argument) {
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] == argument) return static_cast<int>(i);
  }
  if (auto folded =
          OnlyItem(items, [&](std::string_view item) { return SameFolded(item, argument); }))
    return folded;
  if (const std::optional<int> index = WholeNumber(argument)) return index;
  if (argument.empty()) return std::nullopt;
  bool several = false;
  std::optional<int> start;
  for (size_t i = 0; i < items.size(); ++i) {
    if (!std::string_view(items[i]).starts_with(argument)) continue;
    several = start.has_value();
    if (!start) start = static_cast<int>(i);
  }
  if (several) return std::nullopt;  // ambiguous in its own case
  if (start) return start;
  return OnlyItem(items, [&](std::string_view item) {
    return item.size() >= argument.size() && SameFolded(item.substr(0, argument.size()), argument);
  });
}

ActResult Refused(const Component& c, const std::string& why) {
  return ActResult::Refused(c.name() + " " + why);
}

// Selects the item named by `argument` with the kind's user operation.
template <typename Select>
ActResult SelectItem(const Component& c, const std::vector<std::string>& items,
                     std::string_view argument, Select select) {
  const std::optional<int> index = ItemFor(items, argument);
  if (!index || !select(*index)) {
    return ActResult::Refused("no item " + std::string(argument) + " in " + c.name());
  }
  return ActResult::Done();
}

const char* ColorName(Label::Color color) {
  switch (color) {
    case Label::Color::kGreen:
      return "green";
    case Label::Color::kRed:
      return "red";
    case Label::Color::kDefault:
      break;
  }
  return "default";
}

}  // namespace

// Components without a window: never enabled for the user, never visible.
void Component::Describe(StateWriter& out) const {
  out.Flag("enabled", true);
  out.Flag("visible", false);
}

std::optional<std::vector<std::string>> Component::Texts(TextList) const {
  return std::nullopt;
}

std::string Component::ShownName() const {
  return {};
}

ActResult Component::Act(UserVerb, std::string_view) {
  return Refused(*this, "is not a control");
}

void Control::Describe(StateWriter& out) const {
  out.Flag("enabled", enabled());
  out.Flag("visible", visible());
}

ActResult Control::Act(UserVerb verb, std::string_view argument) {
  if (!Reachable()) {
    // A control in a hidden container is hidden; one in a disabled
    // container is disabled, though its own flags say otherwise.
    bool shown = true;
    for (const Control* c = this; c != nullptr; c = c->parent()) shown = shown && c->visible();
    return Refused(*this, shown ? "is disabled" : "is not visible");
  }
  return ActOnReachable(verb, argument);
}

ActResult Control::ActOnReachable(UserVerb verb, std::string_view) {
  switch (verb) {
    case UserVerb::kClick:
      return Refused(*this, "cannot be clicked");
    case UserVerb::kCheck:
      return Refused(*this, "is not a check box");
    case UserVerb::kSelect:
      return Refused(*this, "has no items to select");
    case UserVerb::kType:
      return Refused(*this, "takes no text");
    case UserVerb::kLeave:
      return Refused(*this, "takes no focus");
    case UserVerb::kDropDown:
      return Refused(*this, "is not a combo box");
  }
  return Refused(*this, "cannot do that");
}

void Form::Describe(StateWriter& out) const {
  Control::Describe(out);
  out.Text("caption", caption());
  out.Text("help", help_keyword());
}

std::string Form::ShownName() const {
  return caption();
}

void Button::Describe(StateWriter& out) const {
  Control::Describe(out);
  out.Text("caption", caption());
}

std::string Button::ShownName() const {
  return caption();
}

ActResult Button::ActOnReachable(UserVerb verb, std::string_view argument) {
  if (verb != UserVerb::kClick) return Control::ActOnReachable(verb, argument);
  UserClick();
  return ActResult::Done();
}

void Edit::Describe(StateWriter& out) const {
  Control::Describe(out);
  out.Text("text", text());
}

ActResult Edit::ActOnReachable(UserVerb verb, std::string_view argument) {
  if (verb == UserVerb::kType) {
    if (!UserType(std::string(argument))) return Refused(*this, "is read-only");
    return ActResult::Done();
  }
  if (verb == UserVerb::kLeave) {
    UserLeave();
    return ActResult::Done();
  }
  return Control::ActOnReachable(verb, argument);
}

void LabeledEdit::Describe(StateWriter& out) const {
  Control::Describe(out);
  out.Text("label", label());
  out.Text("text", text());
}

std::string LabeledEdit::ShownName() const {
  return label();
}

void CheckBox::Describe(StateWriter& out) const {
  Control::Describe(out);
  out.Text("caption", caption());
  out.Flag("checked", checked());
}

std::string CheckBox::ShownName() const {
  return caption();
}

ActResult CheckBox::ActOnReachable(UserVerb verb, std::string_view argument) {
  if (verb == UserVerb::kClick) {
    UserToggle();
    return ActResult::Done();
  }
  if (verb == UserVerb::kCheck) {
    if (argument != "0" && argument != "1") return ActResult::Refused("check needs 0 or 1");
    if (checked() != (argument == "1")) UserToggle();
    return ActResult::Done();
  }
  return Control::ActOnReachable(verb, argument);
}

void ComboBox::Describe(StateWriter& out) const {
  Control::Describe(out);
  out.Text("text", text());
  out.Number("index", item_index());
  out.Number("items", static_cast<int64_t>(items().size()));
}

std::optional<std::vector<std::string>> ComboBox::Texts(TextList list) const {
  if (list != TextList::kItems) return std::nullopt;
  return items();
}

ActResult ComboBox::ActOnReachable(UserVerb verb, std::string_view argument) {
  switch (verb) {
    case UserVerb::kSelect:
      return SelectItem(*this, items(), argument, [this](int i) { return UserSelect(i); });
    case UserVerb::kType:
      if (!UserType(std::string(argument))) return Refused(*this, "is a drop-down list");
      return ActResult::Done();
    case UserVerb::kLeave:
      UserLeave();
      return ActResult::Done();
    case UserVerb::kDropDown:
      UserDropDown();
      return ActResult::Done();
    case UserVerb::kClick:
    case UserVerb::kCheck:
      break;
  }
  return Control::ActOnReachable(verb, argument);
}

void RadioGroup::Describe(StateWriter& out) const {
  Control::Describe(out);
  out.Text("caption", caption());
  out.Number("index", item_index());
  out.Number("items", static_cast<int64_t>(items().size()));
}

std::string RadioGroup::ShownName() const {
  return caption();
}

std::optional<std::vector<std::string>> RadioGroup::Texts(TextList list) const {
  if (list != TextList::kItems) return std::nullopt;
  return items();
}

ActResult RadioGroup::ActOnReachable(UserVerb verb, std::string_view argument) {
  if (verb != UserVerb::kSelect) return Control::ActOnReachable(verb, argument);
  return SelectItem(*this, items(), argument, [this](int i) { return UserSelect(i); });
}

void Label::Describe(StateWriter& out) const {
  Control::Describe(out);
  out.Text("caption", caption());
  out.Word("color", ColorName(color()));
}

std::string Label::ShownName() const {
  return caption();
}

std::optional<std::vector<std::string>> Label::Texts(TextList list) const {
  if (list != TextList::kLines) return std::nullopt;
  return Lines();
}

void Memo::Describe(StateWriter& out) const {
  Control::Describe(out);
  out.Number("lines", static_cast<int64_t>(lines().size()));
}

std::optional<std::vector<std::string>> Memo::Texts(TextList list) const {
  if (list != TextList::kLines) return std::nullopt;
  return lines();
}

void UpDown::Describe(StateWriter& out) const {
  Control::Describe(out);
  out.Number("position", position());
}

ActResult UpDown::ActOnReachable(UserVerb verb, std::string_view argument) {
  if (verb != UserVerb::kClick) return Control::ActOnReachable(verb, argument);
  if (argument != "" && argument != "up" && argument != "down") {
    return ActResult::Refused("click up or down");
  }
  UserClick(argument != "down");
  return ActResult::Done();
}

void GroupBox::Describe(StateWriter& out) const {
  Control::Describe(out);
  out.Text("caption", caption());
}

std::string GroupBox::ShownName() const {
  return caption();
}

void PageControl::Describe(StateWriter& out) const {
  Control::Describe(out);
  out.Text("page", active_page() != nullptr ? active_page()->name() : std::string());
}

void TabSheet::Describe(StateWriter& out) const {
  Control::Describe(out);
  out.Text("caption", caption());
}

std::string TabSheet::ShownName() const {
  return caption();
}

void Timer::Describe(StateWriter& out) const {
  out.Flag("enabled", enabled());
  out.Flag("visible", false);
  out.Number("interval", interval());
}

void OpenDialog::Describe(StateWriter& out) const {
  Component::Describe(out);
  out.Text("title", title);
  out.Text("file", file_name);
}

std::string OpenDialog::ShownName() const {
  return title;
}

}  // namespace ui
