// The panel's settings file: Save and Load of the saved controls, the two
// register histories kept from one opening of the window to the next, and
// the choice of the alternative-frequency list file.
#include <string>

#include "common/convert.h"
#include "gen1_panel/kelbo_fmr_gui.h"
#include "platform/platform.h"

namespace {

constexpr char kSettingsFile[] = "Sonvio.ini";
constexpr char kParametersSection[] = "FM Radio Parameters";
constexpr char kAddressSection[] = "Register_Address";
constexpr char kDataSection[] = "Register_Data";
constexpr size_t kSavedHistoryEntries = 10;

// Saves and loads one control of an exactly matching kind; other kinds
// (buttons, labels, group boxes, timers, dialogs) are not saved.
class SavedControl {
 public:
  explicit SavedControl(ui::Component& c) : c_(c) {}

  void Save(platform::IniFile& file) const {
    const std::string& key = c_.name();
    switch (c_.kind()) {
      case ui::Kind::kEdit:
      case ui::Kind::kLabeledEdit:
        file.Write(kParametersSection, key, static_cast<ui::Edit&>(c_).text());
        break;
      case ui::Kind::kComboBox:
        file.Write(kParametersSection, key,
                   std::to_string(static_cast<ui::ComboBox&>(c_).item_index()));
        break;
      case ui::Kind::kCheckBox:
        file.Write(kParametersSection, key, static_cast<ui::CheckBox&>(c_).checked() ? "1" : "0");
        break;
      case ui::Kind::kRadioGroup:
        file.Write(kParametersSection, key,
                   std::to_string(static_cast<ui::RadioGroup&>(c_).item_index()));
        break;
      default:
        break;
    }
  }

  // Sets the control as code does: a check box that changes runs its click
  // handler, a selector's new index runs nothing.
  void Load(const platform::IniFile& file) const {
    const std::string& key = c_.name();
    switch (c_.kind()) {
      case ui::Kind::kEdit:
      case ui::Kind::kLabeledEdit:
        static_cast<ui::Edit&>(c_).SetText(file.Read(kParametersSection, key).value_or(""));
        break;
      case ui::Kind::kComboBox:
        static_cast<ui::ComboBox&>(c_).SetItemIndex(
            ReadIniInteger(file, kParametersSection, key, -1));
        break;
      case ui::Kind::kCheckBox:
        static_cast<ui::CheckBox&>(c_).SetChecked(
            ReadIniInteger(file, kParametersSection, key, 0) != 0);
        break;
      case ui::Kind::kRadioGroup:
        static_cast<ui::RadioGroup&>(c_).SetItemIndex(
            ReadIniInteger(file, kParametersSection, key, -1));
        break;
      default:
        break;
    }
  }

 private:
  ui::Component& c_;
};

}  // namespace

void TKelboFMRGUI::btn_saveClick() {
  platform::IniFile file(kSettingsFile);
  for (const auto& component : components()) SavedControl(*component).Save(file);
  if (file.Commit()) {
    Log("FM Radio settings saved.");
  } else {
    context_.host.Log(
        "FM Radio settings could not be written to " + platform::IniResolvePath(file.path()) + ".",
        LogFlag::kFailure);
  }
}

void TKelboFMRGUI::btn_loadClick() {
  {
    const platform::IniFile file(kSettingsFile);
    for (const auto& component : components()) SavedControl(*component).Load(file);
  }
  Log("FM Radio settings loaded.");
}

void TKelboFMRGUI::LoadRegisterHistories() {
  const platform::IniFile file(kSettingsFile);
  for (size_t i = 0; i < kSavedHistoryEntries; ++i) {
    const std::string key = std::to_string(i);
    const std::string address = file.Read(kAddressSection, key).value_or("");
    if (!address.empty()) LERegAddress->AddItem(address);
    const std::string data = file.Read(kDataSection, key).value_or("");
    if (!data.empty()) LERegData->AddItem(data);
  }
}

void TKelboFMRGUI::FormClose() {
  platform::IniFile file(kSettingsFile);
  for (size_t i = 0; i < kSavedHistoryEntries; ++i) {
    const std::string key = std::to_string(i);
    const auto& addresses = LERegAddress->items();
    if (i < addresses.size() && !addresses[i].empty())
      file.Write(kAddressSection, key, addresses[i]);
    const auto& data = LERegData->items();
    if (i < data.size() && !data[i].empty()) file.Write(kDataSection, key, data[i]);
  }
  // Closing goes on whatever became of the file.
  static_cast<void>(file.Commit());
}

void TKelboFMRGUI::BtnLoadClick() {
  OpenDialog1->title = "Open Alternative Freq file";
  OpenDialog1->filter = "Ini File (*.ini)|*.ini|Any File (*.*)|*.*";
  OpenDialog1->default_ext = "*.ini";
  if (OpenDialog1->Execute()) LEAFList->SetText(OpenDialog1->file_name);
}
