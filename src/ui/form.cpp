#include "ui/form.h"

#include <algorithm>

#include "ui/dialog_font.h"

namespace ui {
namespace {

std::string FormName(const std::string& class_name) {
  return (!class_name.empty() && class_name[0] == 'T') ? class_name.substr(1) : class_name;
}

}  // namespace

Form::Form(Application& app, std::string class_name)
    : Control(*this, FormName(class_name), Kind::kForm, nullptr),
      app_(app),
      class_name_(std::move(class_name)),
      layout_(DialogFont(), DialogFontStyle()) {}

Form::~Form() {
  app_.services().FormDestroyed(*this);
  // Components go in reverse creation order, the newest first.
  while (!components_.empty()) components_.pop_back();
}

void Form::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  NotifyChanged(*this);
}

void Form::SetHelpKeyword(std::string keyword) {
  help_keyword_ = std::move(keyword);
}

void Form::OrderComponents(const std::vector<std::string_view>& names) {
  std::unordered_map<std::string_view, size_t> ranks;
  for (size_t i = 0; i < names.size(); ++i) ranks.try_emplace(names[i], i);
  auto rank = [&ranks, &names](const std::unique_ptr<Component>& c) {
    const auto it = ranks.find(c->name());
    return it != ranks.end() ? it->second : names.size();
  };
  std::stable_sort(components_.begin(), components_.end(),
                   [&rank](const auto& a, const auto& b) { return rank(a) < rank(b); });
}

Component* Form::FindComponent(std::string_view name) const {
  const auto it = by_name_.find(name);
  return it != by_name_.end() ? it->second : nullptr;
}

void Form::Show() {
  shown_ = true;
  // Every backend starts from the sizes the controls have now.
  LaidOut();
  app_.services().FormShown(*this);
  Raise(OnShow);
}

void Form::Close() {
  Raise(OnClose);
  shown_ = false;
}

void Form::NotifyChanged(Component& component) {
  if (const Control* control = component.AsControl()) {
    layout_.Note(*control);
    layout_stale_ = true;
  }
  if (observer_ != nullptr) observer_->ComponentChanged(component);
}

const Layout& Form::LaidOut() {
  if (layout_stale_) layout_.Update(*this);
  layout_stale_ = false;
  return layout_;
}

}  // namespace ui
