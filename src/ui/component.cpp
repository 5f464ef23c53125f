#include "ui/component.h"

#include "ui/form.h"

namespace ui {

const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::kForm:
      return "Form";
    case Kind::kButton:
      return "Button";
    case Kind::kEdit:
      return "Edit";
    case Kind::kLabeledEdit:
      return "LabeledEdit";
    case Kind::kCheckBox:
      return "CheckBox";
    case Kind::kComboBox:
      return "ComboBox";
    case Kind::kRadioGroup:
      return "RadioGroup";
    case Kind::kLabel:
      return "Label";
    case Kind::kMemo:
      return "Memo";
    case Kind::kUpDown:
      return "UpDown";
    case Kind::kGroupBox:
      return "GroupBox";
    case Kind::kPageControl:
      return "PageControl";
    case Kind::kTabSheet:
      return "TabSheet";
    case Kind::kTimer:
      return "Timer";
    case Kind::kOpenDialog:
      return "OpenDialog";
  }
  return "?";
}

Component::Component(Form& form, std::string name, Kind kind)
    : form_(form), name_(std::move(name)), kind_(kind) {}

Services& Component::services() const {
  return form_.app().services();
}

void Component::Changed() {
  form_.NotifyChanged(*this);
}

void Component::Raise(const Handler& handler) const {
  form_.app().RunHandler(handler);
}

void Component::Raise(std::initializer_list<const Handler*> handlers) const {
  form_.app().RunHandlers(handlers);
}

Control::Control(Form& form, std::string name, Kind kind, Control* parent)
    : Component(form, std::move(name), kind), parent_(parent) {
  if (parent_ != nullptr) parent_->children_.push_back(this);
}

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Changed();
}

void Control::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Changed();
}

bool Control::Reachable() const {
  for (const Control* c = this; c != nullptr; c = c->parent_) {
    if (!c->enabled_ || !c->visible_) return false;
  }
  return true;
}

void Control::SetFocus() {
  services().SetFocus(this);
}

}  // namespace ui
