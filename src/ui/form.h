// A form (window) owns its components in creation order.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ui/application.h"
#include "ui/component.h"
#include "ui/layout.h"

namespace ui {

// Lets a native backend follow the model's state.
class FormObserver {
 public:
  virtual ~FormObserver() = default;
  virtual void ComponentChanged(Component& component) = 0;
};

class Form : public Control {
 public:
  // `class_name` is the window class ("TKelboFMRGUI").
  Form(Application& app, std::string class_name);
  ~Form() override;

  Application& app() const { return app_; }
  const std::string& class_name() const { return class_name_; }

  const std::string& caption() const { return caption_; }
  void SetCaption(std::string caption);
  const std::string& help_keyword() const { return help_keyword_; }
  void SetHelpKeyword(std::string keyword);
  // Whether the window should open maximized (a native backend's concern).
  bool maximized() const { return maximized_; }
  void set_maximized(bool maximized) { maximized_ = maximized; }

  // Creates a component owned by this form, appended to the component list.
  template <typename T, typename... Args>
  T& Add(std::string name, Args&&... args) {
    auto component = std::make_unique<T>(*this, std::move(name), std::forward<Args>(args)...);
    T& ref = *component;
    by_name_.try_emplace(ref.name(), &ref);  // the first of a name is found
    components_.push_back(std::move(component));
    layout_stale_ = true;
    return ref;
  }

  const std::vector<std::unique_ptr<Component>>& components() const { return components_; }
  Component* FindComponent(std::string_view name) const;
  // Moves the named components to the front of the component list in the
  // order given; the others follow in creation order. A form whose saved
  // settings follow the component order fixes that order this way.
  void OrderComponents(const std::vector<std::string_view>& names);

  bool shown() const { return shown_; }
  // Shows the window: the backend creates it, then OnShow fires.
  void Show();
  // Asks the window to close: OnClose fires.
  void Close();

  void set_observer(FormObserver* observer) { observer_ = observer; }
  void NotifyChanged(Component& component);

  // Where the controls go, in the dialog font, brought up to date with
  // their state: a native backend places its controls by it, and
  // automation reports it, on every backend alike. Width hints and rows are
  // set as the controls are created.
  const Layout& LaidOut();
  // The control's bounds in the client area (nullopt for a control the
  // layout does not place).
  std::optional<Rect> LaidOutBounds(const Control& control) {
    return LaidOut().ClientBounds(control);
  }

  void Describe(StateWriter& out) const override;
  std::string ShownName() const override;

  Handler OnShow;
  Handler OnClose;

 private:
  Application& app_;
  std::string class_name_;
  std::string caption_;
  std::string help_keyword_;
  bool maximized_ = false;
  bool shown_ = false;
  FormObserver* observer_ = nullptr;
  std::vector<std::unique_ptr<Component>> components_;
  // Keyed by the components' own names, which never change.
  std::unordered_map<std::string_view, Component*> by_name_;
  Layout layout_;
  bool layout_stale_ = true;  // a component was added or changed since the last run
};

}  // namespace ui
