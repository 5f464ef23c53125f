// An input a tool reads its data from (standard input or a file) with every
// read checked: a read that fails (a folder on POSIX, a device that reports
// an error) throws std::system_error with the system's reason instead of
// looking like the end of the input, as a file stream's failure does. It
// hands out what the system gives at once, so a live pipe or terminal is
// read line by line as it arrives.
#pragma once

#include <array>
#include <memory>
#include <streambuf>
#include <string>

namespace tooltext {

class CheckedInputBuf final : public std::streambuf {
 public:
  // Standard input, left open at the end.
  [[nodiscard]] static std::unique_ptr<CheckedInputBuf> StandardInput();
  // `path` opened for reading; null when it cannot be opened, with `error`
  // the system's reason ("No such file or directory").
  [[nodiscard]] static std::unique_ptr<CheckedInputBuf> OpenFile(const std::string& path,
                                                                 std::string& error);

  ~CheckedInputBuf() override;
  CheckedInputBuf(const CheckedInputBuf&) = delete;
  CheckedInputBuf& operator=(const CheckedInputBuf&) = delete;

 protected:
  int_type underflow() override;
  // What is buffered, or else one read of the system: fewer bytes than
  // asked for unless at the end, 0 only at the end.
  std::streamsize xsgetn(char* into, std::streamsize count) override;

 private:
  CheckedInputBuf(int descriptor, bool owned) : descriptor_(descriptor), owned_(owned) {}
  // One read of at most `capacity` bytes; 0 at the end; throws on failure.
  size_t ReadSome(char* into, size_t capacity);

  int descriptor_;
  bool owned_;
  std::array<char, 4096> buffer_{};
};

}  // namespace tooltext
