#include "panel_fixture.h"

#include <sstream>

#include "common/le_bytes.h"
#include "host/host_interface.h"

using testing_host::HostAnswer;
using testing_host::HostCall;

namespace {

const std::map<uint16_t, size_t> kReplyLengths = {
    {0x01, 2},  {0x02, 2},   {0x03, 48},  {0x04, 12}, {0x05, 4}, {0x06, 22}, {0x07, 168},
    {0x08, 16}, {0x0C, 8},   {0x0D, 2},   {0x0E, 24}, {0x0F, 2}, {0x10, 2},  {0x11, 2},
    {0x12, 2},  {0x13, 2},   {0x14, 12},  {0x15, 2},  {0x16, 2}, {0x17, 2},  {0x18, 64},
    {0x19, 4},  {0x1A, 252}, {0x1B, 204}, {0x23, 56}, {0x3A, 16}};

}  // namespace

HostAnswer ScriptedRadio::Answer(const HostCall& call) {
  const auto length = kReplyLengths.find(call.message_id);
  if (call.slot != kSlotSendTestFunction || length == kReplyLengths.end()) {
    return testing_host::HostFailure("not scripted");
  }
  const auto it = status.find(call.message_id);
  HostAnswer answer =
      testing_host::StatusReply(length->second, it != status.end() ? it->second : 1);
  std::span<uint8_t> reply(answer.reply);
  switch (call.message_id) {
    case 0x03:  // receive status
      le::PutU32(reply, 4, frequency_hz);
      le::PutU8(reply, 8, 1);
      le::PutS16(reply, 16, rssi);
      le::PutU16(reply, 18, 0x4000);
      break;
    case 0x04: {  // tune or seek
      const uint8_t action = call.request.at(0);
      frequency_hz = action == 1   ? seek_up_hz
                     : action == 2 ? seek_down_hz
                                   : le::GetU32(call.request, 4);
      le::PutU32(reply, 4, frequency_hz);
      le::PutS16(reply, 8, rssi);
      le::PutU8(reply, 10, 1);
      break;
    }
    case 0x13:  // transmit tune
      frequency_hz = le::GetU32(call.request, 0);
      break;
    case 0x18:  // transmit status
      le::PutU32(reply, 4, frequency_hz);
      le::PutS16(reply, 8, 120);
      le::PutU32(reply, 12, 108000000);
      le::PutU32(reply, 16, 87500000);
      le::PutU32(reply, 20, 100000);
      le::PutU16(reply, 52, 0x7FFF);
      break;
    case 0x23:
      le::PutU32(reply, 32, power_state);
      break;
    default:
      break;
  }
  return answer;
}

PanelTest::PanelTest() {
  host.responder = [this](const HostCall& call) { return radio.Answer(call); };
}

std::vector<uint16_t> PanelTest::SentIds() const {
  std::vector<uint16_t> ids;
  for (const HostCall& call : host.calls) ids.push_back(call.message_id);
  return ids;
}

const HostCall* PanelTest::LastCall(uint16_t id) const {
  for (auto it = host.calls.rbegin(); it != host.calls.rend(); ++it) {
    if (it->message_id == id) return &*it;
  }
  return nullptr;
}

void PanelTest::PowerOn(bool transmit) {
  panel.Show();
  if (transmit) panel.CBTMode->UserSelect(1);
  panel.BtnFMREnable->UserClick();
  host.Clear();
}

void PanelTest::SetControls(const std::string& assignments) {
  std::istringstream words(assignments);
  for (std::string word; words >> word;) {
    const size_t equals = word.find('=');
    ui::Component* c = panel.FindComponent(word.substr(0, equals));
    ASSERT_NE(c, nullptr) << word;
    const std::string value = word.substr(equals + 1);
    switch (c->kind()) {
      case ui::Kind::kEdit:
      case ui::Kind::kLabeledEdit:
        static_cast<ui::Edit*>(c)->SetText(value);
        break;
      case ui::Kind::kCheckBox:
        static_cast<ui::CheckBox*>(c)->SetChecked(value == "1");
        break;
      case ui::Kind::kComboBox: {
        auto* box = static_cast<ui::ComboBox*>(c);
        if (box->style() == ui::ComboBox::Style::kDropDown) {
          box->SetText(value);
        } else {
          box->SetItemIndex(std::stoi(value));
        }
        break;
      }
      case ui::Kind::kRadioGroup:
        static_cast<ui::RadioGroup*>(c)->SetItemIndex(std::stoi(value));
        break;
      default:
        FAIL() << word;
    }
  }
}

std::string PanelTest::Shown(const std::string& name) const {
  const ui::Component* c = panel.FindComponent(name);
  switch (c != nullptr ? c->kind() : ui::Kind::kForm) {
    case ui::Kind::kEdit:
    case ui::Kind::kLabeledEdit:
      return static_cast<const ui::Edit*>(c)->text();
    case ui::Kind::kLabel:
      return static_cast<const ui::Label*>(c)->caption();
    case ui::Kind::kButton:
      return static_cast<const ui::Button*>(c)->caption();
    case ui::Kind::kCheckBox:
      return static_cast<const ui::CheckBox*>(c)->checked() ? "1" : "0";
    case ui::Kind::kComboBox: {
      const auto* box = static_cast<const ui::ComboBox*>(c);
      if (box->style() == ui::ComboBox::Style::kDropDown) return box->text();
      return std::to_string(box->item_index());
    }
    case ui::Kind::kRadioGroup:
      return std::to_string(static_cast<const ui::RadioGroup*>(c)->item_index());
    default:
      return "<" + name + " shows nothing>";
  }
}

std::string PanelTest::Enabled(const std::string& names) const {
  std::istringstream words(names);
  std::string flags;
  for (std::string name; words >> name;) {
    const auto* control = dynamic_cast<const ui::Control*>(panel.FindComponent(name));
    flags += control == nullptr ? '?' : control->enabled() ? '1' : '0';
  }
  return flags;
}

std::string PanelTest::Showing(const std::string& assignments) const {
  std::istringstream words(assignments);
  std::string out;
  for (std::string word; words >> word;) {
    const std::string name = word.substr(0, word.find('='));
    out += (out.empty() ? "" : " ") + name + "=" + Shown(name);
  }
  return out;
}
