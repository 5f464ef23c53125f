// The handset side of the host stand-in: fills the host function table with
// functions that answer as a phone on the test connection would.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "link/host_table.h"

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
  const std::array<void*, kHostSlotCount>& table() const { return table_; }

  // Text answered by the last-error slot: the last failure, "No errors" when none.
  const std::string& last_error() const { return last_error_; }

  // Slot handlers. Each fills `reply` and `reply_length`: text replies fit
  // the plug-in's 200-byte buffer; binary replies have exactly the length
  // of their message (up to 252 bytes, which the plug-in's buffer holds).
  // The chip probe is answered here; on a first-generation handset every
  // other request goes to the simulated radio.
  bool SendAtCommand(uint16_t id, const uint8_t* request, uint16_t length, uint16_t* reply_length,
                     uint8_t* reply);
  bool SendBinary(size_t slot, uint16_t id, const uint8_t* request, uint16_t length,
                  uint16_t* reply_length, uint8_t* reply);
  void ResetLastError() { last_error_ = "No errors"; }

  // Told of every exchange on the test-function slot: message id, request,
  // and the reply handed back (empty when the host call failed).
  std::function<void(uint16_t, std::span<const uint8_t>, std::span<const uint8_t>)>
      on_test_function;

  // Injects a fault into the simulated first-generation radio, in the
  // syntax of the --fault option; false with `error` set when the text is
  // malformed or no simulator is built in.
  bool AddFault(const std::string& rule, std::string& error);
  // The fault rules that never met an exchange.
  std::vector<std::string> UnfiredFaults() const;
  // The first line of the chip-version probe's answer as the plug-in got
  // it ("+CHIPVER: KF1021 rev 3"); empty before the probe.
  const std::string& chip_probe_answer() const { return chip_probe_answer_; }

 private:
  struct Simulator;

  // The chip-version probe, answered as the chosen chip would.
  bool AnswerChipProbe(uint16_t id, uint16_t* reply_length, uint8_t* reply);

  Chip chip_;
  std::unique_ptr<Simulator> sim_;
  std::array<void*, kHostSlotCount> table_{};
  std::string last_error_ = "No errors";
  std::string chip_probe_answer_;
};

}  // namespace benchora
