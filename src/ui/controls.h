// The control kinds of the component model. Operations named User* act as
// the user would and fire what a user action fires; the others are what the
// program does, with the events of the classic form toolkit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/component.h"

namespace ui {

class Button : public Control {
 public:
  Button(Form& form, std::string name, Control* parent, std::string caption);
  const std::string& caption() const { return caption_; }
  void SetCaption(std::string caption);
  // Performs the click from code: fires even when disabled or invisible.
  void Click();
  // A user click: false (nothing fired) when the button cannot be reached.
  bool UserClick();
  Handler OnClick;

  void Describe(StateWriter& out) const override;
  std::string ShownName() const override;

 protected:
  ActResult ActOnReachable(UserVerb verb, std::string_view argument) override;

 private:
  std::string caption_;
};

class Edit : public Control {
 public:
  Edit(Form& form, std::string name, Control* parent, std::string text = {});
  const std::string& text() const { return text_; }
  // Fires OnChange when the text differs (and only then copies it).
  void SetText(std::string_view text);
  bool read_only() const { return read_only_; }
  void set_read_only(bool read_only) { read_only_ = read_only; }
  // Most characters a user can type (0: no limit; UTF-8 characters, not
  // bytes); text set by the program is not limited, as with the native edit
  // control.
  size_t max_length() const { return max_length_; }
  void set_max_length(size_t max_length) { max_length_ = max_length; }
  // The user replaces the whole text (cut to max_length): fires OnChange.
  bool UserType(std::string text);
  // Focus leaves the edit: fires OnExit.
  void UserLeave();
  Handler OnChange;
  Handler OnExit;

  void Describe(StateWriter& out) const override;

 protected:
  Edit(Form& form, std::string name, Kind kind, Control* parent, std::string text);
  ActResult ActOnReachable(UserVerb verb, std::string_view argument) override;

 private:
  std::string text_;
  bool read_only_ = false;
  size_t max_length_ = 0;
};

// An edit with a caption label of its own.
class LabeledEdit : public Edit {
 public:
  LabeledEdit(Form& form, std::string name, Control* parent, std::string label,
              std::string text = {});
  const std::string& label() const { return label_; }
  void SetLabel(std::string label);

  void Describe(StateWriter& out) const override;
  std::string ShownName() const override;

 private:
  std::string label_;
};

class CheckBox : public Control {
 public:
  CheckBox(Form& form, std::string name, Control* parent, std::string caption,
           bool checked = false);
  const std::string& caption() const { return caption_; }
  void SetCaption(std::string caption);
  bool checked() const { return checked_; }
  // Fires OnClick when the state changes.
  void SetChecked(bool checked);
  // The user toggles the box: the state flips, then OnClick.
  bool UserToggle();
  Handler OnClick;

  void Describe(StateWriter& out) const override;
  std::string ShownName() const override;

 protected:
  ActResult ActOnReachable(UserVerb verb, std::string_view argument) override;

 private:
  std::string caption_;
  bool checked_;
};

class ComboBox : public Control {
 public:
  enum class Style { kDropDownList, kDropDown };
  ComboBox(Form& form, std::string name, Control* parent, Style style,
           std::vector<std::string> items = {}, int item_index = -1);

  Style style() const { return style_; }
  const std::vector<std::string>& items() const { return items_; }
  void SetItems(std::vector<std::string> items);
  // Appends an item; the list's revision stays, so a backend adds just it.
  void AddItem(std::string item);
  // Inserts an item before `index` (at the end when beyond it); the text
  // and the selected item stay.
  void InsertItem(size_t index, std::string item);
  void ClearItems();
  int item_index() const { return item_index_; }
  // Counts changes of the list other than appending items: a backend that
  // saw the same revision only needs the items added since.
  uint64_t items_revision() const { return items_revision_; }
  // Fires nothing; an index outside the items clears the selection (-1).
  void SetItemIndex(int index);
  const std::string& text() const { return text_; }
  // Sets the text of an editable box (fires nothing); the selection follows
  // an item of exactly that text.
  void SetText(std::string_view text);

  // The user picks an item: OnClick, then OnChange.
  bool UserSelect(int index);
  // The user types into an editable box: OnChange.
  bool UserType(std::string text);
  // The user opens the list: OnDropDown.
  bool UserDropDown();
  void UserLeave();

  Handler OnClick;
  Handler OnChange;
  Handler OnDropDown;
  Handler OnExit;

  void Describe(StateWriter& out) const override;
  std::optional<std::vector<std::string>> Texts(TextList list) const override;

 protected:
  ActResult ActOnReachable(UserVerb verb, std::string_view argument) override;

 private:
  Style style_;
  std::vector<std::string> items_;
  uint64_t items_revision_ = 0;
  int item_index_ = -1;
  std::string text_;
};

class RadioGroup : public Control {
 public:
  RadioGroup(Form& form, std::string name, Control* parent, std::string caption,
             std::vector<std::string> items, int item_index = -1, int columns = 1);
  const std::string& caption() const { return caption_; }
  const std::vector<std::string>& items() const { return items_; }
  int columns() const { return columns_; }
  int item_index() const { return item_index_; }
  // Fires nothing; an index outside the items clears the selection.
  void SetItemIndex(int index);
  // The user picks a button: OnClick when the selection changes.
  bool UserSelect(int index);
  Handler OnClick;

  void Describe(StateWriter& out) const override;
  std::string ShownName() const override;
  std::optional<std::vector<std::string>> Texts(TextList list) const override;

 protected:
  ActResult ActOnReachable(UserVerb verb, std::string_view argument) override;

 private:
  std::string caption_;
  std::vector<std::string> items_;
  int item_index_;
  int columns_;
};

class Label : public Control {
 public:
  enum class Color { kDefault, kGreen, kRed };
  Label(Form& form, std::string name, Control* parent, std::string caption);
  const std::string& caption() const { return caption_; }
  void SetCaption(std::string caption);
  Color color() const { return color_; }
  void SetColor(Color color);
  // The caption split at line breaks (a multi-line label).
  std::vector<std::string> Lines() const;

  void Describe(StateWriter& out) const override;
  std::string ShownName() const override;
  std::optional<std::vector<std::string>> Texts(TextList list) const override;

 private:
  std::string caption_;
  Color color_ = Color::kDefault;
};

class Memo : public Control {
 public:
  Memo(Form& form, std::string name, Control* parent);
  const std::vector<std::string>& lines() const { return lines_; }
  // Counts changes other than appending lines (see ComboBox).
  uint64_t lines_revision() const { return lines_revision_; }
  void AddLine(std::string line);
  void SetLines(std::vector<std::string> lines);
  void Clear();
  bool read_only() const { return read_only_; }
  void set_read_only(bool read_only) { read_only_ = read_only; }

  void Describe(StateWriter& out) const override;
  std::optional<std::vector<std::string>> Texts(TextList list) const override;

 private:
  std::vector<std::string> lines_;
  uint64_t lines_revision_ = 0;
  bool read_only_ = true;
};

class UpDown : public Control {
 public:
  UpDown(Form& form, std::string name, Control* parent, int min, int max, int position = 0);
  int position() const { return position_; }
  void SetPosition(int position);
  int min() const { return min_; }
  int max() const { return max_; }
  // The user presses the up or down arrow: the position moves by one within
  // the limits, then OnClick.
  bool UserClick(bool up);
  std::function<void(bool up)> OnClick;

  void Describe(StateWriter& out) const override;

 protected:
  ActResult ActOnReachable(UserVerb verb, std::string_view argument) override;

 private:
  int min_;
  int max_;
  int position_;
};

class GroupBox : public Control {
 public:
  GroupBox(Form& form, std::string name, Control* parent, std::string caption);
  const std::string& caption() const { return caption_; }

  void Describe(StateWriter& out) const override;
  std::string ShownName() const override;

 private:
  std::string caption_;
};

class TabSheet;

class PageControl : public Control {
 public:
  PageControl(Form& form, std::string name, Control* parent);
  TabSheet* active_page() const { return active_; }
  void SetActivePage(TabSheet* page);

  void Describe(StateWriter& out) const override;

 private:
  TabSheet* active_ = nullptr;
};

class TabSheet : public Control {
 public:
  TabSheet(Form& form, std::string name, PageControl* parent, std::string caption);
  const std::string& caption() const { return caption_; }
  bool tab_visible() const { return tab_visible_; }
  void SetTabVisible(bool visible);

  void Describe(StateWriter& out) const override;
  std::string ShownName() const override;

 private:
  std::string caption_;
  bool tab_visible_ = true;
};

class OpenDialog : public Component {
 public:
  OpenDialog(Form& form, std::string name);
  std::string title;
  std::string filter;
  std::string default_ext;
  std::string file_name;
  void Describe(StateWriter& out) const override;
  std::string ShownName() const override;
  // Shows the dialog; true with file_name set when the user confirmed.
  bool Execute();
};

}  // namespace ui
