#include "ui/automation.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/state_writer.h"

namespace ui {
namespace {

// Splits "verb name rest": the rest keeps its blanks (a typed text).
// Views into the command text.
struct Parsed {
  std::string_view verb;
  std::string_view name;
  std::string_view rest;
  bool has_rest = false;
};

Parsed Parse(std::string_view line) {
  Parsed p;
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  size_t start = line.find_first_not_of(' ');
  if (start == std::string_view::npos) return p;
  size_t end = line.find(' ', start);
  p.verb = line.substr(start, end - start);
  if (end == std::string_view::npos) return p;
  start = line.find_first_not_of(' ', end);
  if (start == std::string_view::npos) return p;
  end = line.find(' ', start);
  p.name = line.substr(start, end - start);
  if (end == std::string_view::npos) return p;
  p.rest = line.substr(end + 1);
  p.has_rest = true;
  return p;
}

// The name and the rest as one text, as typed.
std::string Joined(const Parsed& p) {
  std::string text(p.name);
  if (p.has_rest) (text += ' ') += p.rest;
  return text;
}

// A refusal. Its text may quote the command's own words, which can hold any
// byte, so it is escaped like every other text of a reply.
std::string Error(const std::string& text) {
  return "error: " + EscapeText(text);
}

// The texts escaped, one per line.
std::string JoinEscaped(const std::vector<std::string>& lines) {
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) out += '\n';
    out += EscapeText(lines[i]);
  }
  return out;
}

// The nearest group box around a control, null when none.
const GroupBox* EnclosingGroup(const Component& c) {
  const Control* control = c.AsControl();
  for (const Control* up = control ? control->parent() : nullptr; up; up = up->parent()) {
    if (up->kind() == Kind::kGroupBox) return static_cast<const GroupBox*>(up);
  }
  return nullptr;
}

// Whether `text` contains `part`, comparing ASCII letters without case.
bool ContainsFolded(std::string_view text, std::string_view part) {
  auto fold = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
  const auto hit = std::search(text.begin(), text.end(), part.begin(), part.end(),
                               [&](char a, char b) { return fold(a) == fold(b); });
  return hit != text.end() || part.empty();
}

class Automation;

// One command of the table: `usage` is its form as `help` shows it (its
// first word the verb), `other` a second form the bench guide lists too (empty
// when none), `summary` the rest of its `help` line ("{form}" stands for
// the form's name), `run` what it does.
struct Verb {
  std::string_view usage;
  std::string_view other;
  std::string_view summary;
  std::string (*run)(Automation&, const Parsed&);

  constexpr std::string_view name() const { return usage.substr(0, usage.find(' ')); }
};

class Automation {
 public:
  explicit Automation(Form& form) : form_(form) {}

  std::string Run(std::string_view command);

  // The state, and the caption of the group box the control sits in: two
  // group boxes may hold controls that read alike (the received station
  // name and the one to transmit).
  std::string Get(const Parsed& p) {
    return WithComponent(p, [&](Component& c) {
      std::string out = Describe(c);
      if (const GroupBox* group = EnclosingGroup(c)) {
        out += " group=\"" + EscapeText(group->caption(), true) + "\"";
      }
      return out;
    });
  }
  std::string Items(const Parsed& p) {
    return WithComponent(p,
                         [](Component& c) { return Texts(c, TextList::kItems, " has no items"); });
  }
  std::string Lines(const Parsed& p) {
    return WithComponent(p,
                         [](Component& c) { return Texts(c, TextList::kLines, " has no lines"); });
  }
  // The user action `verb` on the named control.
  std::string Act(const Parsed& p, UserVerb verb) {
    return WithComponent(p, [&](Component& c) {
      const ActResult result = c.Act(verb, p.rest);
      return result.done ? std::string("ok") : Error(result.why);
    });
  }

  std::string List() {
    std::string out;
    for (const auto& c : form_.components()) {
      if (!out.empty()) out += '\n';
      out += c->name() + " " + KindName(c->kind());
    }
    return out;
  }

  // The form first, then its components in order: each component whose
  // name, shown name or items contain `text`, whatever the letter case.
  std::string FindText(const std::string& text) {
    if (text.empty()) return Error("find needs a text");
    std::string out;
    auto consider = [&](const Component& c) {
      const std::string shown = c.ShownName();
      bool hit = ContainsFolded(c.name(), text) || ContainsFolded(shown, text);
      if (const auto items = c.Texts(TextList::kItems); items && !hit) {
        hit = std::any_of(items->begin(), items->end(),
                          [&](const std::string& item) { return ContainsFolded(item, text); });
      }
      if (!hit) return;
      if (!out.empty()) out += '\n';
      out += c.name() + " " + KindName(c.kind()) + " \"" + EscapeText(shown, true) + "\"";
      if (const GroupBox* group = EnclosingGroup(c)) {
        out += " in \"" + EscapeText(group->caption(), true) + "\"";
      }
    };
    consider(form_);
    for (const auto& c : form_.components()) consider(*c);
    return out;
  }

  // The captions of the group boxes and tab sheets around a control, the
  // nearest first: which part of the panel a value belongs to.
  std::string Where(const Parsed& p) {
    return WithComponent(p, [](Component& c) {
      std::string out;
      const Control* control = c.AsControl();
      for (const Control* up = control ? control->parent() : nullptr; up; up = up->parent()) {
        if (up->kind() != Kind::kGroupBox && up->kind() != Kind::kTabSheet) continue;
        if (!out.empty()) out += " < ";
        out += "\"" + EscapeText(up->ShownName(), true) + "\"";
      }
      return out.empty() ? std::string("(the form)") : out;
    });
  }

  std::string Clock() { return std::to_string(form_.app().services().NowMs()); }

  std::string Snapshot() {
    std::string out = form_.name() + ": " + Describe(form_);
    for (const auto& c : form_.components()) out += "\n" + c->name() + ": " + Describe(*c);
    return out;
  }

  std::string Help() const;

  std::string Dialogs() {
    const ShownMessages taken = form_.app().services().TakeMessages();
    std::string out;
    if (taken.dropped > 0) {
      out = "(" + std::to_string(taken.dropped) + " older message boxes dropped)";
    }
    for (const ShownMessage& m : taken.messages) {
      if (!out.empty()) out += '\n';
      out += EscapeText(m.caption) + "\t" + EscapeText(m.text);
    }
    return out;
  }

  std::string Advance(std::string_view ms_text) {
    uint32_t ms = 0;
    const char* end = ms_text.data() + ms_text.size();
    const auto [last, error] = std::from_chars(ms_text.data(), end, ms);
    if (ms_text.empty() || error != std::errc() || last != end) {
      return Error("advance needs milliseconds");
    }
    form_.app().services().Advance(ms);
    return "ok";
  }

  std::string AnswerFile(const Parsed& p) {
    if (p.name.empty()) return Error("answer-file needs a path or --cancel");
    if (p.name == "--cancel" && !p.has_rest) {
      form_.app().services().QueueFileAnswer(std::nullopt);
    } else {
      form_.app().services().QueueFileAnswer(Joined(p));
    }
    return "ok";
  }

 private:
  Component* Find(std::string_view name) {
    if (name == form_.name()) return &form_;
    return form_.FindComponent(name);
  }

  // Runs `act` on the component the command names, or refuses.
  template <typename Act>
  std::string WithComponent(const Parsed& p, Act act) {
    if (p.name.empty()) return Error("'" + std::string(p.verb) + "' needs a control name");
    Component* c = Find(p.name);
    if (c == nullptr) return Error("no control named " + std::string(p.name));
    return act(*c);
  }

  // The state, then the bounds of a control (the last key).
  std::string Describe(const Component& c) {
    StateWriter out;
    out.Word("kind", KindName(c.kind()));
    c.Describe(out);
    if (const Control* control = c.AsControl()) {
      if (const std::optional<Rect> r = form_.LaidOutBounds(*control))
        out.Numbers("bounds", {r->x, r->y, r->width, r->height});
    }
    return out.str();
  }

  static std::string Texts(const Component& c, TextList list, const char* none) {
    const std::optional<std::vector<std::string>> texts = c.Texts(list);
    return texts ? JoinEscaped(*texts) : Error(c.name() + none);
  }

  Form& form_;
};

// Every command: what dispatches it, what `help` shows and what the bench guide
// lists, in the order of `help`.
constexpr Verb kVerbs[] = {
    {"list", "", "the components, one per line: NAME KIND",
     [](Automation& a, const Parsed&) { return a.List(); }},
    {"get NAME", "",
     "a control's state as key=value pairs and its group box (the form: get {form})",
     [](Automation& a, const Parsed& p) { return a.Get(p); }},
    {"items NAME", "", "a combo box's or radio group's items, one per line",
     [](Automation& a, const Parsed& p) { return a.Items(p); }},
    {"lines NAME", "", "a memo's or label's lines",
     [](Automation& a, const Parsed& p) { return a.Lines(p); }},
    {"find TEXT", "",
     "controls whose name, caption, label or items contain TEXT (any case): NAME KIND \"caption\" "
     "in \"group\"",
     [](Automation& a, const Parsed& p) { return a.FindText(Joined(p)); }},
    {"where NAME", "", "the captions of the group boxes and pages around a control, nearest first",
     [](Automation& a, const Parsed& p) { return a.Where(p); }},
    {"snapshot", "", "every control's state, NAME: before each",
     [](Automation& a, const Parsed&) { return a.Snapshot(); }},
    {"click NAME", "click NAME up|down",
     "click a button or toggle a check box (an up-down: click NAME up|down)",
     [](Automation& a, const Parsed& p) { return a.Act(p, UserVerb::kClick); }},
    {"check NAME 0|1", "", "set a check box",
     [](Automation& a, const Parsed& p) { return a.Act(p, UserVerb::kCheck); }},
    {"select NAME ITEM", "",
     "select an item: its text (any case when only one matches), its index (from 0), or the "
     "start of one item's text",
     [](Automation& a, const Parsed& p) { return a.Act(p, UserVerb::kSelect); }},
    {"type NAME TEXT", "", "replace an edit's text with TEXT (the rest of the line, may be empty)",
     [](Automation& a, const Parsed& p) { return a.Act(p, UserVerb::kType); }},
    {"leave NAME", "", "move the focus out of an edit (runs its range check)",
     [](Automation& a, const Parsed& p) { return a.Act(p, UserVerb::kLeave); }},
    {"dropdown NAME", "", "open a combo box's list",
     [](Automation& a, const Parsed& p) { return a.Act(p, UserVerb::kDropDown); }},
    {"advance MS", "", "let MS milliseconds pass with the panel idle: its timers fire",
     [](Automation& a, const Parsed& p) { return a.Advance(p.name); }},
    {"clock", "", "the panel's clock in milliseconds (virtual with the headless backend)",
     [](Automation& a, const Parsed&) { return a.Clock(); }},
    {"dialogs", "", "message boxes shown since the last call: CAPTION<TAB>TEXT",
     [](Automation& a, const Parsed&) { return a.Dialogs(); }},
    {"answer-file PATH", "answer-file --cancel",
     "the answer of the next file-open dialog (--cancel: cancel it)",
     [](Automation& a, const Parsed& p) { return a.AnswerFile(p); }},
    {"help", "", "this list", [](Automation& a, const Parsed&) { return a.Help(); }},
};

// The width of the usage column of `help`.
constexpr size_t kUsageColumn = 24;

std::string Automation::Run(std::string_view command) {
  const Parsed p = Parse(command);
  if (p.verb.empty()) return Error("empty command");
  for (const Verb& verb : kVerbs) {
    if (verb.name() == p.verb) return verb.run(*this, p);
  }
  return Error("unknown command '" + std::string(p.verb) + "'");
}

std::string Automation::Help() const {
  std::string out;
  for (const Verb& verb : kVerbs) {
    if (!out.empty()) out += '\n';
    out += verb.usage;
    out.append(kUsageColumn - std::min(verb.usage.size(), kUsageColumn - 1), ' ');
    const size_t form = verb.summary.find("{form}");
    if (form == std::string_view::npos) {
      out += verb.summary;
    } else {
      ((out += verb.summary.substr(0, form)) += form_.name()) += verb.summary.substr(form + 6);
    }
  }
  return out;
}

}  // namespace

std::string RunAutomation(Form& form, const std::string& command) {
  return Automation(form).Run(command);
}

std::vector<std::string_view> AutomationCommandForms() {
  std::vector<std::string_view> forms;
  for (const Verb& verb : kVerbs) {
    forms.push_back(verb.usage);
    if (!verb.other.empty()) forms.push_back(verb.other);
  }
  return forms;
}

}  // namespace ui
