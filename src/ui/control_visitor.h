// Visitors of the control kinds: code that does something different for
// every kind (the layout's size rules, a backend's native peers) implements
// one Visit per kind, and Control::Accept calls the one for the control's
// kind. A kind added to the model is a compile error in every visitor until
// it handles it.
#pragma once

#include <type_traits>

#include "ui/component.h"

namespace ui {

class Button;
class CheckBox;
class ComboBox;
class Edit;
class GroupBox;
class Label;
class LabeledEdit;
class Memo;
class PageControl;
class RadioGroup;
class TabSheet;
class UpDown;

// kConst: the visitor reads the controls (const references).
template <bool kConst>
class BasicControlVisitor {
 protected:
  template <typename T>
  using Ref = std::conditional_t<kConst, const T&, T&>;

 public:
  virtual ~BasicControlVisitor() = default;

  virtual void Visit(Ref<Form> form) = 0;
  virtual void Visit(Ref<Button> button) = 0;
  virtual void Visit(Ref<Edit> edit) = 0;
  virtual void Visit(Ref<LabeledEdit> edit) = 0;
  virtual void Visit(Ref<CheckBox> box) = 0;
  virtual void Visit(Ref<ComboBox> combo) = 0;
  virtual void Visit(Ref<RadioGroup> group) = 0;
  virtual void Visit(Ref<Label> label) = 0;
  virtual void Visit(Ref<Memo> memo) = 0;
  virtual void Visit(Ref<UpDown> updown) = 0;
  virtual void Visit(Ref<GroupBox> group) = 0;
  virtual void Visit(Ref<PageControl> pages) = 0;
  virtual void Visit(Ref<TabSheet> sheet) = 0;
};

}  // namespace ui
