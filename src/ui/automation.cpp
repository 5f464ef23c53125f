#include "ui/automation.h"

#include <charconv>
#include <optional>
#include <sstream>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/timer.h"

namespace {

// A whole decimal number argument ("12", "-1"); nullopt for anything else.
std::optional<int32_t> WholeNumber(const std::string& text) {
  int32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [last, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || last != end || text.empty()) return std::nullopt;
  return value;
}

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
  return out;
}

const char* ColorName(ui::Label::Color color) {
  switch (color) {
    case ui::Label::Color::kGreen:
      return "green";
    case ui::Label::Color::kRed:
      return "red";
    case ui::Label::Color::kDefault:
      break;
  }
  return "default";
}

std::string Join(const std::vector<std::string>& lines) {
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) out += '\n';
    out += lines[i];
  }
  return out;
}

std::string Describe(const ui::Component& c) {
  std::ostringstream out;
  out << "kind=" << ui::KindName(c.kind());
  if (auto* control = dynamic_cast<const ui::Control*>(&c)) {
    out << " enabled=" << (control->enabled() ? 1 : 0)
        << " visible=" << (control->visible() ? 1 : 0);
  } else if (auto* timer = dynamic_cast<const ui::Timer*>(&c)) {
    out << " enabled=" << (timer->enabled() ? 1 : 0) << " visible=0";
  } else {
    out << " enabled=1 visible=0";
  }
  auto quoted = [&out](const char* key, const std::string& value) {
    out << ' ' << key << '=' << QuoteText(value);
  };
  switch (c.kind()) {
    case ui::Kind::kForm: {
      const auto& form = static_cast<const ui::Form&>(c);
      quoted("caption", form.caption());
      quoted("help", form.help_keyword());
      break;
    }
    case ui::Kind::kButton:
      quoted("caption", static_cast<const ui::Button&>(c).caption());
      break;
    case ui::Kind::kLabeledEdit:
      quoted("label", static_cast<const ui::LabeledEdit&>(c).label());
      [[fallthrough]];
    case ui::Kind::kEdit:
      quoted("text", static_cast<const ui::Edit&>(c).text());
      break;
    case ui::Kind::kCheckBox: {
      const auto& box = static_cast<const ui::CheckBox&>(c);
      quoted("caption", box.caption());
      out << " checked=" << (box.checked() ? 1 : 0);
      break;
    }
    case ui::Kind::kComboBox: {
      const auto& combo = static_cast<const ui::ComboBox&>(c);
      quoted("text", combo.text());
      out << " index=" << combo.item_index() << " items=" << combo.items().size();
      break;
    }
    case ui::Kind::kRadioGroup: {
      const auto& group = static_cast<const ui::RadioGroup&>(c);
      quoted("caption", group.caption());
      out << " index=" << group.item_index() << " items=" << group.items().size();
      break;
    }
    case ui::Kind::kLabel: {
      const auto& label = static_cast<const ui::Label&>(c);
      quoted("caption", label.caption());
      out << " color=" << ColorName(label.color());
      break;
    }
    case ui::Kind::kMemo:
      out << " lines=" << static_cast<const ui::Memo&>(c).lines().size();
      break;
    case ui::Kind::kUpDown:
      out << " position=" << static_cast<const ui::UpDown&>(c).position();
      break;
    case ui::Kind::kGroupBox:
      quoted("caption", static_cast<const ui::GroupBox&>(c).caption());
      break;
    case ui::Kind::kTabSheet:
      quoted("caption", static_cast<const ui::TabSheet&>(c).caption());
      break;
    case ui::Kind::kPageControl: {
      const ui::TabSheet* page = static_cast<const ui::PageControl&>(c).active_page();
      quoted("page", page != nullptr ? page->name() : std::string());
      break;
    }
    case ui::Kind::kTimer:
      out << " interval=" << static_cast<const ui::Timer&>(c).interval();
      break;
    case ui::Kind::kOpenDialog: {
      const auto& dialog = static_cast<const ui::OpenDialog&>(c);
      quoted("title", dialog.title);
      quoted("file", dialog.file_name);
      break;
    }
  }
  return out.str();
}

// Splits "verb name rest": the rest keeps its blanks (a typed text).
struct Parsed {
  std::string verb;
  std::string name;
  std::string rest;
  bool has_rest = false;
};

Parsed Parse(const std::string& command) {
  Parsed p;
  std::string line = command;
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  size_t start = line.find_first_not_of(' ');
  if (start == std::string::npos) return p;
  size_t end = line.find(' ', start);
  p.verb = line.substr(start, end - start);
  if (end == std::string::npos) return p;
  start = line.find_first_not_of(' ', end);
  if (start == std::string::npos) return p;
  end = line.find(' ', start);
  p.name = line.substr(start, end - start);
  if (end == std::string::npos) return p;
  p.rest = line.substr(end + 1);
  p.has_rest = true;
  return p;
}

std::string Error(const std::string& text) {
  return "error: " + text;
}

class Automation {
 public:
  explicit Automation(ui::Form& form) : form_(form) {}

  std::string Run(const std::string& command) {
    const Parsed p = Parse(command);
    if (p.verb.empty()) return Error("empty command");
    if (p.verb == "list") return List();
    if (p.verb == "dialogs") return Dialogs();
    if (p.verb == "advance") return Advance(p.name);
    if (p.verb == "answer-file") return AnswerFile(p);

    if (p.name.empty()) return Error("'" + p.verb + "' needs a control name");
    ui::Component* c = Find(p.name);
    if (c == nullptr) return Error("no control named " + p.name);
    if (p.verb == "get") return Describe(*c);
    if (p.verb == "items") return Items(*c);
    if (p.verb == "lines") return Lines(*c);

    auto* control = dynamic_cast<ui::Control*>(c);
    if (control == nullptr) return Error(p.name + " is not a control");
    if (!control->Reachable()) {
      return Error(p.name + (control->enabled() ? " is not visible" : " is disabled"));
    }
    if (p.verb == "click") return Click(*control, p.rest);
    if (p.verb == "check") return Check(*control, p.rest);
    if (p.verb == "select") return Select(*control, p.rest);
    if (p.verb == "type") return Type(*control, p.rest);
    if (p.verb == "leave") return Leave(*control);
    if (p.verb == "dropdown") return DropDown(*control);
    return Error("unknown command '" + p.verb + "'");
  }

 private:
  ui::Component* Find(const std::string& name) {
    if (name == form_.name()) return &form_;
    return form_.FindComponent(name);
  }

  std::string List() {
    std::string out;
    for (const auto& c : form_.components()) {
      if (!out.empty()) out += '\n';
      out += c->name() + " " + ui::KindName(c->kind());
    }
    return out;
  }

  std::string Dialogs() {
    std::string out;
    for (const ui::ShownMessage& m : form_.app().services().TakeMessages()) {
      if (!out.empty()) out += '\n';
      out += m.caption + "\t" + Escape(m.text);
    }
    return out;
  }

  std::string Advance(const std::string& ms_text) {
    const std::optional<int32_t> ms = WholeNumber(ms_text);
    if (!ms || *ms < 0) return Error("advance needs milliseconds");
    form_.app().services().Advance(static_cast<uint32_t>(*ms));
    return "ok";
  }

  std::string AnswerFile(const Parsed& p) {
    if (p.name.empty()) return Error("answer-file needs a path or --cancel");
    if (p.name == "--cancel" && !p.has_rest) {
      form_.app().services().QueueFileAnswer(std::nullopt);
    } else {
      form_.app().services().QueueFileAnswer(p.has_rest ? p.name + " " + p.rest : p.name);
    }
    return "ok";
  }

  static std::string Items(ui::Component& c) {
    if (auto* combo = dynamic_cast<ui::ComboBox*>(&c)) return Join(combo->items());
    if (auto* group = dynamic_cast<ui::RadioGroup*>(&c)) return Join(group->items());
    return Error(c.name() + " has no items");
  }

  static std::string Lines(ui::Component& c) {
    if (auto* memo = dynamic_cast<ui::Memo*>(&c)) return Join(memo->lines());
    if (auto* label = dynamic_cast<ui::Label*>(&c)) return Join(label->Lines());
    return Error(c.name() + " has no lines");
  }

  static std::string Click(ui::Control& c, const std::string& arg) {
    if (auto* button = dynamic_cast<ui::Button*>(&c)) return Ok(button->UserClick());
    if (auto* box = dynamic_cast<ui::CheckBox*>(&c)) return Ok(box->UserToggle());
    if (auto* updown = dynamic_cast<ui::UpDown*>(&c)) {
      if (arg != "" && arg != "up" && arg != "down") return Error("click up or down");
      return Ok(updown->UserClick(arg != "down"));
    }
    return Error(c.name() + " cannot be clicked");
  }

  static std::string Check(ui::Control& c, const std::string& arg) {
    auto* box = dynamic_cast<ui::CheckBox*>(&c);
    if (box == nullptr) return Error(c.name() + " is not a check box");
    if (arg != "0" && arg != "1") return Error("check needs 0 or 1");
    if (box->checked() != (arg == "1")) box->UserToggle();
    return "ok";
  }

  static std::string Select(ui::Control& c, const std::string& arg) {
    const std::optional<int32_t> index = WholeNumber(arg);
    if (!index) return Error("select needs an item index");
    bool done = false;
    if (auto* combo = dynamic_cast<ui::ComboBox*>(&c)) {
      done = combo->UserSelect(*index);
    } else if (auto* group = dynamic_cast<ui::RadioGroup*>(&c)) {
      done = group->UserSelect(*index);
    } else {
      return Error(c.name() + " has no items to select");
    }
    return done ? "ok" : Error("no item " + arg + " in " + c.name());
  }

  static std::string Type(ui::Control& c, const std::string& text) {
    if (auto* edit = dynamic_cast<ui::Edit*>(&c)) {
      return edit->UserType(text) ? "ok" : Error(c.name() + " is read-only");
    }
    if (auto* combo = dynamic_cast<ui::ComboBox*>(&c)) {
      return combo->UserType(text) ? "ok" : Error(c.name() + " is a drop-down list");
    }
    return Error(c.name() + " takes no text");
  }

  static std::string Leave(ui::Control& c) {
    if (auto* edit = dynamic_cast<ui::Edit*>(&c)) {
      edit->UserLeave();
      return "ok";
    }
    if (auto* combo = dynamic_cast<ui::ComboBox*>(&c)) {
      combo->UserLeave();
      return "ok";
    }
    return Error(c.name() + " takes no focus");
  }

  static std::string DropDown(ui::Control& c) {
    auto* combo = dynamic_cast<ui::ComboBox*>(&c);
    if (combo == nullptr) return Error(c.name() + " is not a combo box");
    combo->UserDropDown();
    return "ok";
  }

  static std::string Ok(bool done) { return done ? "ok" : Error("refused"); }

  ui::Form& form_;
};

}  // namespace

std::string QuoteText(const std::string& text) {
  return "\"" + Escape(text) + "\"";
}

std::string RunAutomation(ui::Form& form, const std::string& command) {
  return Automation(form).Run(command);
}
