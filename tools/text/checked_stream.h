// A stream buffer that writes through a CheckedOutput, so that code written
// for std::ostream gets every write checked: a failed write sets the
// stream's badbit (a writer loop can stop there) and the output keeps the
// reason. It buffers nothing itself; the output's file does.
#pragma once

#include <streambuf>

#include "text/checked_output.h"

namespace tooltext {

class CheckedStreamBuf final : public std::streambuf {
 public:
  explicit CheckedStreamBuf(CheckedOutput& output) : output_(output) {}

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* text, std::streamsize count) override;
  int sync() override;

 private:
  CheckedOutput& output_;
};

}  // namespace tooltext
