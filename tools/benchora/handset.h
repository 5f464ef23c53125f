// The handset side of the host stand-in: fills the host function table with
// functions that answer as a phone on the test connection would.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace benchora {

enum class Chip { kGen1, kGen2 };

class SimulatedHandset {
 public:
  explicit SimulatedHandset(Chip chip);
  ~SimulatedHandset();
  SimulatedHandset(const SimulatedHandset&) = delete;
  SimulatedHandset& operator=(const SimulatedHandset&) = delete;

  // The 191-slot table the host hands to the plug-in; its slots call into
  // this handset (only one handset is active at a time).
  const std::array<void*, 191>& table() const { return table_; }

  // Text answered by slot 3: the last failure, "No errors" when none.
  const std::string& last_error() const { return last_error_; }

  // Slot handlers. Each fills `reply` (a 200-byte buffer) and `reply_length`.
  bool SendAtCommand(uint16_t id, const uint8_t* request, uint16_t length, uint16_t* reply_length,
                     uint8_t* reply);
  bool SendBinary(int slot, uint16_t id, const uint8_t* request, uint16_t length,
                  uint16_t* reply_length, uint8_t* reply);
  void ResetLastError() { last_error_ = "No errors"; }

 private:
  Chip chip_;
  std::array<void*, 191> table_{};
  std::string last_error_ = "No errors";
};

}  // namespace benchora
