#include "form_probe.h"

#include "ui/timer.h"

#include <gtest/gtest.h>

#include <sstream>

#include "ui/controls.h"

namespace testing_form {

void SetControls(ui::Form& form, const std::string& assignments) {
  std::istringstream words(assignments);
  for (std::string word; words >> word;) {
    const size_t equals = word.find('=');
    ui::Component* c = form.FindComponent(word.substr(0, equals));
    const std::string value = word.substr(equals + 1);
    switch (c != nullptr ? c->kind() : ui::Kind::kForm) {
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
        ADD_FAILURE() << "cannot set " << word;
    }
  }
}

std::string Shown(const ui::Form& form, const std::string& name) {
  const ui::Component* c = form.FindComponent(name);
  switch (c != nullptr ? c->kind() : ui::Kind::kForm) {
    case ui::Kind::kEdit:
    case ui::Kind::kLabeledEdit:
      return static_cast<const ui::Edit*>(c)->text();
    case ui::Kind::kLabel:
      return static_cast<const ui::Label*>(c)->caption();
    case ui::Kind::kButton:
      return static_cast<const ui::Button*>(c)->caption();
    case ui::Kind::kGroupBox:
      return static_cast<const ui::GroupBox*>(c)->caption();
    case ui::Kind::kCheckBox:
      return static_cast<const ui::CheckBox*>(c)->checked() ? "1" : "0";
    case ui::Kind::kComboBox: {
      const auto* box = static_cast<const ui::ComboBox*>(c);
      if (box->style() == ui::ComboBox::Style::kDropDown) return box->text();
      return std::to_string(box->item_index());
    }
    case ui::Kind::kRadioGroup:
      return std::to_string(static_cast<const ui::RadioGroup*>(c)->item_index());
    case ui::Kind::kTimer:
      return static_cast<const ui::Timer*>(c)->enabled() ? "1" : "0";
    default:
      return "<" + name + " shows nothing>";
  }
}

std::string Showing(const ui::Form& form, const std::string& names) {
  std::istringstream words(names);
  std::string out;
  for (std::string word; words >> word;) {
    const std::string name = word.substr(0, word.find('='));
    out += (out.empty() ? "" : " ") + name + "=" + Shown(form, name);
  }
  return out;
}

std::string Enabled(const ui::Form& form, const std::string& names) {
  std::istringstream words(names);
  std::string flags;
  for (std::string name; words >> name;) {
    const auto* control = dynamic_cast<const ui::Control*>(form.FindComponent(name));
    flags += control == nullptr ? '?' : control->enabled() ? '1' : '0';
  }
  return flags;
}

}  // namespace testing_form
