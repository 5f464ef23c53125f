// The library's application object: owner of every form, and the way to the
// window system's services.
#pragma once

#include <functional>
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

  // Runs an event handler of one of the application's components (or
  // several in one go). While handlers run, work that could free the
  // objects they belong to waits: WhenIdle runs it when the outermost
  // handler has returned, or at once when none runs.
  void RunHandlers(std::initializer_list<const std::function<void()>*> handlers);
  void RunHandler(const std::function<void()>& handler) { RunHandlers({&handler}); }
  void WhenIdle(std::function<void()> action);
  bool in_handler() const { return depth_ > 0; }

 private:
  Services* services_;
  void* handle_ = nullptr;
  std::vector<std::unique_ptr<Form>> forms_;
  int depth_ = 0;
  std::vector<std::function<void()>> when_idle_;
};

}  // namespace ui
