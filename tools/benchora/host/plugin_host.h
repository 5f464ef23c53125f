// The host's view of the plug-in: the library and its exported entry points.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace benchora {

class PluginHost {
 public:
  using ShowLineCallback = void (*)(const char* text, uint8_t flag);

  // Loads the plug-in; `error` explains a failure.
  bool Load(const std::string& path, std::string& error);

  void SetShowLineFunc(ShowLineCallback callback) const { set_show_line_(callback); }
  void SetFuncInterface(const void* table, int32_t size) const { set_func_interface_(table, size); }
  void SetComHandle(uint32_t handle) const { set_com_handle_(handle); }
  void SetGetInterface(void* value) const { set_get_interface_(value); }
  void SetBasebandType(int32_t type) const { set_baseband_type_(type); }
  int32_t CanRun() const { return can_run_(); }
  void ShowMDIChildForm(void* app) const { show_(app); }
  void CloseMDIChildForm(void* app) const { close_(app); }
  // The full reply of one automation command ("" and false without a panel).
  // The command runs once; a reply longer than the first buffer is fetched
  // again with the plug-in's null command.
  bool Automate(const std::string& command, std::string& reply) const;

  static constexpr size_t kFirstReplyCapacity = 4096;

 private:
  platform::DynamicLibrary library_;
  void (*set_show_line_)(ShowLineCallback) = nullptr;
  void (*set_func_interface_)(const void*, int32_t) = nullptr;
  void (*set_com_handle_)(uint32_t) = nullptr;
  void (*set_get_interface_)(void*) = nullptr;
  void (*set_baseband_type_)(int32_t) = nullptr;
  int32_t (*can_run_)() = nullptr;
  void (*show_)(void*) = nullptr;
  void (*close_)(void*) = nullptr;
  int32_t (*automate_)(const char*, char*, int32_t) = nullptr;
};

}  // namespace benchora
