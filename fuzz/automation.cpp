// The automation command parser and its replies, on a headless form with a
// component of every kind whose handlers carry typed texts into captions,
// items, memo lines, message boxes and the dialog's file name.
//
// Input: commands separated by zero bytes (a command reaches the plug-in as
// a zero-terminated text), at most 64 of them.
//
// Checks: a reply holds no control byte, except the line feeds between the
// lines of "list", "items", "lines", "find", "snapshot", "help" and
// "dialogs" and the tab between a message box's caption and text in
// "dialogs" (one per line); a refusal ("error: ...") and the reply of any
// other command are one line; every byte of 0x80 and above belongs to a
// well-formed UTF-8 sequence (broken ones come escaped).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz_input.h"
#include "ui/automation.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/headless/headless_services.h"
#include "ui/state_writer.h"
#include "ui/timer.h"

namespace {

constexpr int kMostCommands = 64;
constexpr size_t kMostLines = 32;  // memo lines and combo items the handlers add

using Items = std::vector<std::string>;

struct Panel {
  ui::HeadlessServices services;
  ui::Application app{services};
  ui::Form form{app, "TFuzzGUI"};
  ui::GroupBox& group = form.Add<ui::GroupBox>("GBControls", &form, "Controls");
  ui::Button& show = form.Add<ui::Button>("BtnShow", &group, "Show");
  ui::Button& open = form.Add<ui::Button>("BtnOpen", &group, "Open");
  ui::Button& start = form.Add<ui::Button>("BtnStart", &group, "Start");
  ui::Edit& edit = form.Add<ui::Edit>("EText", &group);
  ui::LabeledEdit& labeled = form.Add<ui::LabeledEdit>("LEValue", &group, "Value", "5");
  ui::CheckBox& check = form.Add<ui::CheckBox>("CBGroup", &form, "Group on", true);
  ui::ComboBox& list =
      form.Add<ui::ComboBox>("CBList", &group, ui::ComboBox::Style::kDropDownList,
                             Items{"Europe", "Japan", "tab\there", "bell\a", "Europe 2"}, 0);
  ui::ComboBox& editable =
      form.Add<ui::ComboBox>("CBEdit", &group, ui::ComboBox::Style::kDropDown, Items{"0x0000"}, -1);
  ui::RadioGroup& radio =
      form.Add<ui::RadioGroup>("RGMode", &form, "Mode", Items{"Rx", "Tx", "line\nbreak"}, 0);
  ui::Label& label = form.Add<ui::Label>("LStatus", &form, "ready\r\nset");
  ui::Memo& memo = form.Add<ui::Memo>("MLog", &form);
  ui::UpDown& updown = form.Add<ui::UpDown>("UDLevel", &group, 0, 15, 7);
  ui::PageControl& pages = form.Add<ui::PageControl>("PCPages", &form);
  ui::TabSheet& first = form.Add<ui::TabSheet>("TSFirst", &pages, "First");
  ui::TabSheet& second = form.Add<ui::TabSheet>("TSSecond", &pages, "Second");
  ui::Edit& inner = form.Add<ui::Edit>("EInner", &second);
  ui::Timer& timer = form.Add<ui::Timer>("TTick", 500);
  ui::OpenDialog& dialog = form.Add<ui::OpenDialog>("ODFile");

  void AddLine(std::string line) {
    if (memo.lines().size() >= kMostLines) memo.Clear();
    memo.AddLine(std::move(line));
  }

  Panel() {
    form.SetCaption("Fuzz \"panel\"");
    labeled.set_max_length(40);
    dialog.title = "Open\tfile";
    show.OnClick = [this] {
      services.ShowMessage(edit.text(), editable.text(), ui::MessageIcon::kInformation);
    };
    open.OnClick = [this] {
      if (dialog.Execute()) label.SetCaption(dialog.file_name);
    };
    // A one-shot timer, so that advancing any time costs one tick.
    start.OnClick = [this] { timer.SetEnabled(true); };
    timer.OnTimer = [this] {
      timer.SetEnabled(false);
      AddLine("tick " + labeled.text());
    };
    edit.OnChange = [this] {
      label.SetCaption(edit.text());
      AddLine(edit.text());
    };
    labeled.OnExit = [this] { labeled.SetLabel(labeled.text()); };
    check.OnClick = [this] {
      group.SetEnabled(check.checked());
      pages.SetActivePage(check.checked() ? &first : &second);
    };
    list.OnChange = [this] { form.SetCaption(list.text()); };
    editable.OnChange = [this] {
      if (editable.items().size() >= kMostLines) editable.ClearItems();
      editable.AddItem(editable.text());
    };
    editable.OnDropDown = [this] { radio.SetItemIndex(radio.item_index() + 1); };
    radio.OnClick = [this] { second.SetTabVisible(radio.item_index() != 0); };
    updown.OnClick = [this](bool) { labeled.SetText(std::to_string(updown.position())); };
    inner.OnChange = [this] { form.SetHelpKeyword(inner.text()); };
  }
};

// The command's first two words, as the parser finds them: line ends at
// the end dropped, then words separated by blanks.
std::pair<std::string_view, std::string_view> VerbAndName(std::string_view command) {
  command = command.substr(0, command.find_last_not_of("\r\n") + 1);
  std::string_view words[2];
  for (std::string_view& word : words) {
    command.remove_prefix(std::min(command.find_first_not_of(' '), command.size()));
    word = command.substr(0, command.find(' '));
    command.remove_prefix(word.size());
  }
  return {words[0], words[1]};
}

// Whether the reply is a list of lines rather than a single line. A text
// list can begin "error: " just as a refusal does, so this asks the form.
bool ListsLines(ui::Form& form, std::string_view verb, std::string_view name) {
  if (verb == "list" || verb == "dialogs" || verb == "snapshot" || verb == "help") return true;
  if (verb == "find") return !name.empty();
  if (verb != "items" && verb != "lines") return false;
  const std::string wanted(name);
  const ui::Component* c = wanted == form.name() ? &form : form.FindComponent(wanted);
  return c != nullptr &&
         c->Texts(verb == "items" ? ui::TextList::kItems : ui::TextList::kLines).has_value();
}

// The length of the well-formed UTF-8 sequence at `at`, 0 for none, by the
// table of well-formed byte sequences: the lead byte (C2 to F4) gives the
// length and the range of the second byte, which shuts out the overlong
// forms (E0, F0), the surrogates (ED) and what lies above U+10FFFF (F4);
// every further byte is 80 to BF.
size_t WellFormedLength(std::string_view text, size_t at) {
  const auto byte = [&](size_t i) -> unsigned {
    return at + i < text.size() ? static_cast<unsigned char>(text[at + i]) : 0;
  };
  const unsigned lead = byte(0);
  const size_t length = lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
  const unsigned low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
  const unsigned high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
  if (length == 0 || byte(1) < low || byte(1) > high) return 0;
  for (size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

void CheckReply(ui::Form& form, std::string_view command, const std::string& reply) {
  const auto Require = [&](bool condition) {
    if (condition) return;
    std::fprintf(stderr, "command: %s\nreply:   %s\n", ui::EscapeText(command).c_str(),
                 ui::EscapeText(reply).c_str());
    std::abort();
  };
  const auto [verb, name] = VerbAndName(command);
  Require(ListsLines(form, verb, name) || reply.find('\n') == std::string::npos);
  // A tab only between a message box's caption and text, one a line.
  const bool boxes = verb == "dialogs" && !reply.empty();
  for (size_t start = 0, end = 0; start <= reply.size(); start = end + 1) {
    end = std::min(reply.find('\n', start), reply.size());
    const std::string_view line = std::string_view(reply).substr(start, end - start);
    const auto tabs = std::count(line.begin(), line.end(), '\t');
    Require(boxes ? tabs == 1 || (tabs == 0 && line.starts_with("(") &&
                                  line.ends_with(" older message boxes dropped)"))
                  : tabs == 0);
  }
  for (size_t i = 0; i < reply.size(); ++i) {
    const auto byte = static_cast<unsigned char>(reply[i]);
    const size_t length = byte >= 0x80 ? WellFormedLength(reply, i) : 1;
    Require(length > 0 && (byte >= 0x20 ? byte != 0x7F : byte == '\t' || byte == '\n'));
    i += length - 1;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Panel panel;
  fuzz::FuzzInput in(data, size);
  for (int i = 0; i < kMostCommands && !in.empty(); ++i) {
    const std::string command(in.Until('\0'));
    CheckReply(panel.form, command, ui::RunAutomation(panel.form, command));
  }
  return 0;
}
