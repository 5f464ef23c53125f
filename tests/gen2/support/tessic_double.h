// Test-side handle on the TESSIC.dll test double: points the program folder
// at the double's folder, so the session loads it, and reaches the double's
// state, which lives as long as this handle keeps the library loaded
// whatever the session loads and unloads meanwhile.
#pragma once

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "platform/platform.h"
#include "tessic_double_state.h"

namespace gen2_test {

class TessicDouble {
 public:
  enum class Variant { kComplete, kMissingDedChClose };
  explicit TessicDouble(Variant variant = Variant::kComplete)
      : folder_(std::string(SONVIO_DOUBLES_DIR) +
                (variant == Variant::kComplete ? "/complete/" : "/missing/")) {
    ::setenv("SONVIO_PROGRAM_DIR", folder_.c_str(), 1);
    library_ = platform::DynamicLibrary::Open(path());
    const auto state = reinterpret_cast<DoubleState* (*)()>(library_.Symbol("Double_State"));
    if (state == nullptr) throw std::runtime_error("cannot load the test double " + path());
    state_ = state();
    *state_ = DoubleState{};
  }
  ~TessicDouble() { ::unsetenv("SONVIO_PROGRAM_DIR"); }

  std::string path() const { return folder_ + "TESSIC.dll"; }
  DoubleState* operator->() const { return state_; }

 private:
  std::string folder_;
  platform::DynamicLibrary library_;
  DoubleState* state_ = nullptr;
};

}  // namespace gen2_test
