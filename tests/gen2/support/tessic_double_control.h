// Test-side handle on the TESSIC.dll test double: points the program folder
// at the double's folder, so the session loads it, and binds the double's
// scripting functions. The double's state lives as long as this handle keeps
// the library loaded, whatever the session loads and unloads meanwhile.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace gen2_test {

class TessicDouble {
 public:
  enum class Variant { kComplete, kMissingDedChClose };
  explicit TessicDouble(Variant variant = Variant::kComplete);
  ~TessicDouble();
  TessicDouble(const TessicDouble&) = delete;
  TessicDouble& operator=(const TessicDouble&) = delete;

  // The folder that holds this variant's TESSIC.dll, with a trailing "/".
  static std::string Folder(Variant variant);
  std::string path() const { return folder_ + "TESSIC.dll"; }

  void SetOpenResults(int32_t session, int32_t channel, uint8_t close);
  void QueueReceive(int32_t status, const std::string& text = {});
  void QueueFullBuffer(int32_t status);
  void SetReply(const std::string& command_prefix, int32_t status, const std::string& text = {});

  int CallCount(const std::string& function) const;
  std::vector<std::string> Sent() const;
  int32_t SentChannel(int index) const;
  int32_t SentLength(int index) const;
  std::string LastConnection() const;
  std::string LastOptions() const;
  // Forgets what was sent so far (the script stays).
  void ClearSent();

 private:
  template <typename Func>
  Func Bind(const char* name) const;

  std::string folder_;
  platform::DynamicLibrary library_;
  size_t sent_base_ = 0;
};

}  // namespace gen2_test
