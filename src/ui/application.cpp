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

void Application::DestroyForm(Form* form) {
  auto it = std::find_if(forms_.begin(), forms_.end(),
                         [form](const std::unique_ptr<Form>& f) { return f.get() == form; });
  if (it != forms_.end()) forms_.erase(it);
}

}  // namespace ui
