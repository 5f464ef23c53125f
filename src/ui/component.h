// Base of the component model: every control, timer and dialog of a form is
// a Component with a name and a kind; visual ones are Controls.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class Control;
class Form;
class Services;
template <bool kConst>
class BasicControlVisitor;
using ControlVisitor = BasicControlVisitor<false>;
using ConstControlVisitor = BasicControlVisitor<true>;

enum class Kind {
  kForm,
  kButton,
  kEdit,
  kLabeledEdit,
  kCheckBox,
  kComboBox,
  kRadioGroup,
  kLabel,
  kMemo,
  kUpDown,
  kGroupBox,
  kPageControl,
  kTabSheet,
  kTimer,
  kOpenDialog,
};

// The kind's name as the automation interface reports it ("LabeledEdit").
const char* KindName(Kind kind);

using Handler = std::function<void()>;

class StateWriter;

// What automation asks a control to do, as a user would.
enum class UserVerb { kClick, kCheck, kSelect, kType, kLeave, kDropDown };

// The lists of texts automation reads from a component.
enum class TextList { kItems, kLines };

// The outcome of a user action performed by automation.
struct ActResult {
  bool done = true;
  std::string why;  // when not done: the reason, for the refusal
  static ActResult Done() { return {}; }
  static ActResult Refused(std::string why) { return {false, std::move(why)}; }
};

class Component {
 public:
  Component(Form& form, std::string name, Kind kind);
  virtual ~Component() = default;
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  const std::string& name() const { return name_; }
  Kind kind() const { return kind_; }
  Form& form() const { return form_; }
  Services& services() const;

  // Automation. Describe writes the component's state behind its kind
  // (enabled, visible, then what the kind shows); Texts gives its item or
  // line texts, nullopt when it has none; Act performs a user action
  // (controls only: a component without a window refuses every action).
  // ShownName is the text a user reads as the component's name: its
  // caption, a labelled edit's label, a dialog's title; empty when none.
  virtual void Describe(StateWriter& out) const;
  virtual std::optional<std::vector<std::string>> Texts(TextList list) const;
  virtual std::string ShownName() const;
  virtual ActResult Act(UserVerb verb, std::string_view argument);

  // The component as a control; nullptr for one without a window (a timer,
  // a dialog).
  virtual Control* AsControl() { return nullptr; }
  virtual const Control* AsControl() const { return nullptr; }

 protected:
  // Tells the backend that this component's state changed.
  void Changed();
  // Runs event handlers through the application, so that work which could
  // free this component waits until the outermost handler has returned.
  void Raise(const Handler& handler) const;
  void Raise(std::initializer_list<const Handler*> handlers) const;

 private:
  Form& form_;
  std::string name_;
  Kind kind_;
};

// A control sits in a container (the form, a group box or a tab sheet) and
// is laid out from the containers' order of children: a container fills
// columns left to right, each with rows top to bottom. A control that
// starts a new row, or a new column, says so.
class Control : public Component {
 public:
  Control(Form& form, std::string name, Kind kind, Control* parent);

  Control* parent() const { return parent_; }
  const std::vector<Control*>& children() const { return children_; }

  bool enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool visible() const { return visible_; }
  void SetVisible(bool visible);
  // Enabled and visible, and so are all containers around it: what a user
  // can reach.
  bool Reachable() const;

  // The control starts a new row below the ones before it.
  bool new_row() const { return new_row_ || new_column_; }
  void set_new_row(bool new_row) { new_row_ = new_row; }
  // The control starts a new column, at the top of its container to the
  // right of everything before it (and so a new row too).
  bool new_column() const { return new_column_; }
  void set_new_column(bool new_column) { new_column_ = new_column; }
  // Layout hint: the width of the control's text in average characters
  // (0: as wide as its content needs).
  int width_chars() const { return width_chars_; }
  void set_width_chars(int chars) { width_chars_ = chars; }

  void SetFocus();

  void Describe(StateWriter& out) const override;
  // Checks that a user can reach the control, then performs the action.
  ActResult Act(UserVerb verb, std::string_view argument) final;

  Control* AsControl() final { return this; }
  const Control* AsControl() const final { return this; }

  // Calls the visitor's Visit for this control's kind (ui/control_visitor.h).
  void Accept(ControlVisitor& visitor);
  void Accept(ConstControlVisitor& visitor) const;

 protected:
  // The kind's own actions on a reachable control; by default none.
  virtual ActResult ActOnReachable(UserVerb verb, std::string_view argument);

 private:
  Control* parent_;
  std::vector<Control*> children_;
  bool enabled_ = true;
  bool visible_ = true;
  bool new_row_ = false;
  bool new_column_ = false;
  int width_chars_ = 0;
};

}  // namespace ui
