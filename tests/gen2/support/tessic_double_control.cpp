#include "tessic_double_control.h"

#include <cstdlib>
#include <stdexcept>

namespace gen2_test {

std::string TessicDouble::Folder(Variant variant) {
  return std::string(SONVIO_DOUBLES_DIR) +
         (variant == Variant::kComplete ? "/complete/" : "/missing/");
}

TessicDouble::TessicDouble(Variant variant) : folder_(Folder(variant)) {
  ::setenv("SONVIO_PROGRAM_DIR", folder_.c_str(), 1);
  library_ = platform::DynamicLibrary::Open(path());
  if (!library_.IsLoaded()) throw std::runtime_error("cannot load the test double " + path());
  Bind<void (*)()>("Double_Reset")();
}

TessicDouble::~TessicDouble() {
  ::unsetenv("SONVIO_PROGRAM_DIR");
}

template <typename Func>
Func TessicDouble::Bind(const char* name) const {
  void* address = library_.Symbol(name);
  if (address == nullptr) throw std::runtime_error(std::string("test double lacks ") + name);
  return reinterpret_cast<Func>(address);
}

void TessicDouble::SetOpenResults(int32_t session, int32_t channel, uint8_t close) {
  Bind<void (*)(int32_t, int32_t, uint8_t)>("Double_SetOpenResults")(session, channel, close);
}

void TessicDouble::QueueReceive(int32_t status, const std::string& text) {
  Bind<void (*)(int32_t, const char*)>("Double_QueueReceive")(status, text.c_str());
}

void TessicDouble::QueueFullBuffer(int32_t status) {
  Bind<void (*)(int32_t)>("Double_QueueFullBuffer")(status);
}

void TessicDouble::SetReply(const std::string& command_prefix, int32_t status,
                            const std::string& text) {
  Bind<void (*)(const char*, int32_t, const char*)>("Double_SetReply")(command_prefix.c_str(),
                                                                       status, text.c_str());
}

int TessicDouble::CallCount(const std::string& function) const {
  return Bind<int32_t (*)(const char*)>("Double_CallCount")(function.c_str());
}

std::vector<std::string> TessicDouble::Sent() const {
  const auto count = Bind<int32_t (*)()>("Double_SentCount")();
  const auto sent = Bind<const char* (*)(int32_t)>("Double_Sent");
  std::vector<std::string> out;
  for (int32_t i = static_cast<int32_t>(sent_base_); i < count; ++i) out.emplace_back(sent(i));
  return out;
}

void TessicDouble::ClearSent() {
  sent_base_ = static_cast<size_t>(Bind<int32_t (*)()>("Double_SentCount")());
}

int32_t TessicDouble::SentChannel(int index) const {
  return Bind<int32_t (*)(int32_t)>("Double_SentChannel")(index);
}

int32_t TessicDouble::SentLength(int index) const {
  return Bind<int32_t (*)(int32_t)>("Double_SentLength")(index);
}

std::string TessicDouble::LastConnection() const {
  return Bind<const char* (*)()>("Double_LastConnection")();
}

std::string TessicDouble::LastOptions() const {
  return Bind<const char* (*)()>("Double_LastOptions")();
}

}  // namespace gen2_test
