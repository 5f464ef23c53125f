// What a session needs of the link to the handset's AT port: a byte stream
// that can be opened again after it failed. TCP (tcp_link.h) and, on POSIX,
// a serial device (serial_link.h) implement it.
#pragma once

#include <cstddef>
#include <string>

namespace tessic {

class Link {
 public:
  Link() = default;
  virtual ~Link() = default;
  Link(const Link&) = delete;
  Link& operator=(const Link&) = delete;

  // Opens the link to its target, waiting at most `timeout_ms`; closes any
  // earlier one first. False with `error` set (a line for the user) when it
  // cannot be opened.
  [[nodiscard]] virtual bool Open(int timeout_ms, std::string& error) = 0;
  virtual void Close() = 0;
  [[nodiscard]] virtual bool connected() const = 0;

  // Writes all bytes; false (and the link closed) when the link fails.
  [[nodiscard]] virtual bool SendAll(const char* data, size_t size) = 0;

  enum class ReadResult { kData, kNothing, kClosed };
  // Waits up to `wait_ms` for data, then reads what is there (up to
  // `capacity` bytes) into `out`. kClosed when the peer went away (the link
  // is closed then).
  virtual ReadResult Read(char* out, size_t capacity, int wait_ms, size_t& received) = 0;
  // Reads and drops whatever has already arrived, without waiting, for at
  // most `limit_ms`. A link found closed is closed here too.
  void Drain(int limit_ms);
};

}  // namespace tessic
