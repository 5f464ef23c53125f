#include "text/checked_input.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tooltext {
namespace {

#ifdef _WIN32
int OpenForReading(const std::string& path) {
  return ::_open(path.c_str(), _O_RDONLY | _O_BINARY);
}
long ReadDescriptor(int descriptor, char* into, size_t capacity) {
  const unsigned most = capacity > 0x40000000 ? 0x40000000u : static_cast<unsigned>(capacity);
  return ::_read(descriptor, into, most);
}
void CloseDescriptor(int descriptor) {
  (void)::_close(descriptor);
}
#else
int OpenForReading(const std::string& path) {
  return ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
}
long ReadDescriptor(int descriptor, char* into, size_t capacity) {
  return static_cast<long>(::read(descriptor, into, capacity));
}
void CloseDescriptor(int descriptor) {
  (void)::close(descriptor);
}
#endif

}  // namespace

std::unique_ptr<CheckedInputBuf> CheckedInputBuf::StandardInput() {
  return std::unique_ptr<CheckedInputBuf>(new CheckedInputBuf(0, false));
}

std::unique_ptr<CheckedInputBuf> CheckedInputBuf::OpenFile(const std::string& path,
                                                           std::string& error) {
  errno = 0;
  const int descriptor = OpenForReading(path);
  if (descriptor < 0) {
    error = errno != 0 ? std::strerror(errno) : "cannot open";
    return nullptr;
  }
  return std::unique_ptr<CheckedInputBuf>(new CheckedInputBuf(descriptor, true));
}

CheckedInputBuf::~CheckedInputBuf() {
  if (owned_) CloseDescriptor(descriptor_);
}

size_t CheckedInputBuf::ReadSome(char* into, size_t capacity) {
  for (;;) {
    errno = 0;
    const long got = ReadDescriptor(descriptor_, into, capacity);
    if (got >= 0) return static_cast<size_t>(got);
    if (errno == EINTR) continue;
    throw std::system_error(errno != 0 ? errno : EIO, std::generic_category());
  }
}

CheckedInputBuf::int_type CheckedInputBuf::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  const size_t got = ReadSome(buffer_.data(), buffer_.size());
  if (got == 0) return traits_type::eof();
  setg(buffer_.data(), buffer_.data(), buffer_.data() + got);
  return traits_type::to_int_type(*gptr());
}

std::streamsize CheckedInputBuf::xsgetn(char* into, std::streamsize count) {
  if (count <= 0) return 0;
  if (gptr() < egptr()) {
    const std::streamsize held = std::min<std::streamsize>(count, egptr() - gptr());
    std::memcpy(into, gptr(), static_cast<size_t>(held));
    gbump(static_cast<int>(held));
    return held;
  }
  return static_cast<std::streamsize>(ReadSome(into, static_cast<size_t>(count)));
}

}  // namespace tooltext
