// Declares a form's controls container by container: each control goes into
// the builder's container, on the current row, starting a new row, or
// starting a new column to the right, in the order of the calls (which is
// also the reading and tab order: down a column, then the next column).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ui/controls.h"
#include "ui/form.h"

namespace ui {

// Where a control goes in its container's flow.
enum class Row { kSame, kNew, kNewColumn };

class Builder {
 public:
  Builder(Form& form, Control& container) : form_(form), container_(container) {}

  // A builder for another container of the same form.
  Builder In(Control& container) const { return Builder(form_, container); }

  // Any component kind: `args` follow the kind's name and parent.
  template <typename T, typename... Args>
  T& Add(Row row, std::string name, Args&&... args) {
    T& control = form_.Add<T>(std::move(name), &container_, std::forward<Args>(args)...);
    control.set_new_row(row == Row::kNew);
    control.set_new_column(row == Row::kNewColumn);
    return control;
  }

  GroupBox& AddGroup(std::string name, std::string caption, Row row = Row::kNew) {
    return Add<GroupBox>(row, std::move(name), std::move(caption));
  }
  LabeledEdit& AddEdit(std::string name, std::string label, std::string text, Row row = Row::kNew) {
    return Add<LabeledEdit>(row, std::move(name), std::move(label), std::move(text));
  }
  // A read-only labelled edit that shows a value.
  LabeledEdit& AddDisplay(std::string name, std::string label, Row row = Row::kNew) {
    LabeledEdit& edit = AddEdit(std::move(name), std::move(label), "", row);
    edit.set_read_only(true);
    return edit;
  }
  CheckBox& AddCheck(std::string name, std::string caption, bool checked, Row row = Row::kNew) {
    return Add<CheckBox>(row, std::move(name), std::move(caption), checked);
  }
  Button& AddButton(std::string name, std::string caption, Row row = Row::kSame) {
    return Add<Button>(row, std::move(name), std::move(caption));
  }
  Label& AddLabel(std::string name, std::string caption, Row row = Row::kSame) {
    return Add<Label>(row, std::move(name), std::move(caption));
  }
  // A selector behind a caption label named `label_name`.
  ComboBox& AddChoice(std::string label_name, std::string caption, std::string name,
                      std::vector<std::string> items, int index, Row row = Row::kNew,
                      ComboBox::Style style = ComboBox::Style::kDropDownList) {
    AddLabel(std::move(label_name), std::move(caption), row);
    return Add<ComboBox>(Row::kSame, std::move(name), style, std::move(items), index);
  }

 private:
  Form& form_;
  Control& container_;
};

}  // namespace ui
