// The library's application object: owner of every form, and the way to the
// window system's services.
#pragma once

#include <memory>
#include <vector>

#include "ui/services.h"

namespace ui {

class Form;

class Application {
 public:
  explicit Application(Services& services);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  Services& services() const { return *services_; }

  // The host's opaque application object once it has been installed in
  // place of the library's own (null before).
  void* handle() const { return handle_; }
  void set_handle(void* handle) { handle_ = handle; }

  // Takes ownership of a form; it lives until DestroyForm or the end of the
  // application, as windows owned by the application do.
  Form& Adopt(std::unique_ptr<Form> form);
  void DestroyForm(Form* form);
  size_t form_count() const { return forms_.size(); }

 private:
  Services* services_;
  void* handle_ = nullptr;
  std::vector<std::unique_ptr<Form>> forms_;
};

}  // namespace ui
