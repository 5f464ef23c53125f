#include "ui/application.h"

#include <algorithm>

#include "ui/form.h"

namespace ui {

Application::Application(Services& services) : services_(&services) {}

Application::~Application() {
  while (!forms_.empty()) forms_.pop_back();
}

Form& Application::Adopt(std::unique_ptr<Form> form) {
  forms_.push_back(std::move(form));
  return *forms_.back();
}

void Application::RunHandlers(std::initializer_list<const std::function<void()>*> handlers) {
  ++depth_;
  try {
    for (const std::function<void()>* handler : handlers) {
      if (*handler) (*handler)();
    }
  } catch (...) {
    // The caller catches it (an export's guard); what waited for the
    // handlers runs after the next outermost one, or at once when asked
    // for outside a handler.
    --depth_;
    throw;
  }
  if (--depth_ > 0) return;
  // Outermost: what waited runs now (and what that queues, in turn).
  while (!when_idle_.empty()) {
    std::vector<std::function<void()>> actions;
    actions.swap(when_idle_);
    for (auto& action : actions) action();
  }
}

void Application::WhenIdle(std::function<void()> action) {
  if (depth_ == 0) {
    action();
    return;
  }
  when_idle_.push_back(std::move(action));
}

void Application::DestroyForm(Form* form) {
  auto it = std::find_if(forms_.begin(), forms_.end(),
                         [form](const std::unique_ptr<Form>& f) { return f.get() == form; });
  if (it != forms_.end()) forms_.erase(it);
}

}  // namespace ui
