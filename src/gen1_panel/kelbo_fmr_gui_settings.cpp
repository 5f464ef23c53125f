// The panel's settings file: Save and Load of the saved controls, the two
// register histories kept from one opening of the window to the next, and
// the choice of the alternative-frequency list file.
#include <string>
#include <type_traits>

#include "common/convert.h"
#include "gen1_panel/kelbo_fmr_gui.h"
#include "platform/platform.h"
#include "ui/control_visitor.h"

namespace gen1_panel {

namespace {

constexpr char kSettingsFile[] = "Sonvio.ini";
constexpr char kParametersSection[] = "FM Radio Parameters";
constexpr char kAddressSection[] = "Register_Address";
constexpr char kDataSection[] = "Register_Data";
constexpr size_t kSavedHistoryEntries = 10;

// The kinds the settings file saves are edits, labelled edits, selectors,
// check boxes and radio groups, each by its exact kind; the others
// (buttons, labels, group boxes, ...) and components that are no controls
// (timers, dialogs) are not saved.
template <bool kConst>
class SavedKinds : public ui::BasicControlVisitor<kConst> {
 protected:
  template <typename T>
  using Ref = std::conditional_t<kConst, const T&, T&>;

 public:
  void Visit(Ref<ui::Form>) override {}
  void Visit(Ref<ui::Button>) override {}
  void Visit(Ref<ui::Label>) override {}
  void Visit(Ref<ui::Memo>) override {}
  void Visit(Ref<ui::UpDown>) override {}
  void Visit(Ref<ui::GroupBox>) override {}
  void Visit(Ref<ui::PageControl>) override {}
  void Visit(Ref<ui::TabSheet>) override {}
};

class SaveControl final : public SavedKinds<true> {
 public:
  explicit SaveControl(platform::IniFile& file) : file_(file) {}
  using SavedKinds<true>::Visit;
  void Visit(const ui::Edit& edit) override { Write(edit, edit.text()); }
  void Visit(const ui::LabeledEdit& edit) override { Write(edit, edit.text()); }
  void Visit(const ui::ComboBox& box) override { Write(box, std::to_string(box.item_index())); }
  void Visit(const ui::CheckBox& box) override { Write(box, box.checked() ? "1" : "0"); }
  void Visit(const ui::RadioGroup& group) override {
    Write(group, std::to_string(group.item_index()));
  }

 private:
  void Write(const ui::Control& control, const std::string& value) {
    file_.Write(kParametersSection, control.name(), value);
  }
  platform::IniFile& file_;
};

// Sets the controls as code does: a check box that changes runs its click
// handler, a selector's new index runs nothing.
class LoadControl final : public SavedKinds<false> {
 public:
  explicit LoadControl(const platform::IniFile& file) : file_(file) {}
  using SavedKinds<false>::Visit;
  void Visit(ui::Edit& edit) override { LoadText(edit); }
  void Visit(ui::LabeledEdit& edit) override { LoadText(edit); }
  void Visit(ui::ComboBox& box) override { box.SetItemIndex(Integer(box, -1)); }
  void Visit(ui::CheckBox& box) override { box.SetChecked(Integer(box, 0) != 0); }
  void Visit(ui::RadioGroup& group) override { group.SetItemIndex(Integer(group, -1)); }

 private:
  void LoadText(ui::Edit& edit) {
    edit.SetText(file_.Read(kParametersSection, edit.name()).value_or(""));
  }
  int32_t Integer(const ui::Control& control, int32_t fallback) const {
    return common::ReadIniInteger(file_, kParametersSection, control.name(), fallback);
  }
  const platform::IniFile& file_;
};

}  // namespace

void TKelboFMRGUI::btn_saveClick() {
  platform::IniFile file(kSettingsFile);
  SaveControl save(file);
  for (const auto& component : components()) {
    if (const ui::Control* control = component->AsControl()) control->Accept(save);
  }
  if (file.Commit()) {
    Log("FM Radio settings saved.");
  } else {
    // A file beyond the size limit is never rewritten: say so, since
    // nothing else tells why.
    const std::string reason =
        platform::IniFileTooLarge(file.path())
            ? ": the file is larger than " +
                  std::to_string(platform::kIniFileMostBytes / (1024 * 1024)) + " MiB"
            : "";
    context_.host.Log("FM Radio settings could not be written to " +
                          platform::IniResolvePath(file.path()) + reason + ".",
                      common::LogFlag::kFailure);
  }
}

void TKelboFMRGUI::btn_loadClick() {
  {
    const platform::IniFile file(kSettingsFile);
    LoadControl load(file);
    for (const auto& component : components()) {
      if (ui::Control* control = component->AsControl()) control->Accept(load);
    }
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

}  // namespace gen1_panel
