// The one place that maps a control's kind to the class behind it.
#include "ui/control_visitor.h"

#include "ui/controls.h"
#include "ui/form.h"

namespace ui {
namespace {

// T, const when C is.
template <typename T, typename C>
using Like = std::conditional_t<std::is_const_v<C>, const T, T>;

template <typename Visitor, typename C>
void Dispatch(Visitor& visitor, C& control) {
  switch (control.kind()) {
    case Kind::kForm:
      return visitor.Visit(static_cast<Like<Form, C>&>(control));
    case Kind::kButton:
      return visitor.Visit(static_cast<Like<Button, C>&>(control));
    case Kind::kEdit:
      return visitor.Visit(static_cast<Like<Edit, C>&>(control));
    case Kind::kLabeledEdit:
      return visitor.Visit(static_cast<Like<LabeledEdit, C>&>(control));
    case Kind::kCheckBox:
      return visitor.Visit(static_cast<Like<CheckBox, C>&>(control));
    case Kind::kComboBox:
      return visitor.Visit(static_cast<Like<ComboBox, C>&>(control));
    case Kind::kRadioGroup:
      return visitor.Visit(static_cast<Like<RadioGroup, C>&>(control));
    case Kind::kLabel:
      return visitor.Visit(static_cast<Like<Label, C>&>(control));
    case Kind::kMemo:
      return visitor.Visit(static_cast<Like<Memo, C>&>(control));
    case Kind::kUpDown:
      return visitor.Visit(static_cast<Like<UpDown, C>&>(control));
    case Kind::kGroupBox:
      return visitor.Visit(static_cast<Like<GroupBox, C>&>(control));
    case Kind::kPageControl:
      return visitor.Visit(static_cast<Like<PageControl, C>&>(control));
    case Kind::kTabSheet:
      return visitor.Visit(static_cast<Like<TabSheet, C>&>(control));
    case Kind::kTimer:  // components, never controls
    case Kind::kOpenDialog:
      return;
  }
}

}  // namespace

void Control::Accept(ControlVisitor& visitor) {
  Dispatch(visitor, *this);
}

void Control::Accept(ConstControlVisitor& visitor) const {
  Dispatch(visitor, *this);
}

}  // namespace ui
