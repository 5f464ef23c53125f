// A first-generation panel on the headless backend, talking through a
// recording host to a small scripted radio that answers every message id
// with a reply of the right length.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "form_probe.h"
#include "gen1_panel/kelbo_fmr_gui.h"
#include "recording_host.h"
#include "ui/application.h"
#include "ui/automation.h"
#include "ui/headless/headless_services.h"

using Ids = std::vector<uint16_t>;  // message ids

struct ScriptedRadio {
  uint32_t frequency_hz = 87500000;  // reported by status and tune replies
  int16_t rssi = 42;
  uint32_t power_state = 0;
  uint16_t volume = 0x4000;                 // reported by the audio read
  std::map<uint16_t, uint32_t> registers;   // what register reads report
  std::string at_reply = "OK\n\r0x400000";  // the answer to AT commands
  uint8_t groups_taken = 20;                // of each RDS group send
  std::map<uint16_t, uint16_t> status;      // status word per message id (1 when not listed)

  testing_host::HostAnswer Answer(const testing_host::HostCall& call);
};

class PanelTest : public ::testing::Test {
 protected:
  PanelTest() {
    host.responder = [this](const testing_host::HostCall& call) { return radio.Answer(call); };
  }

  gen1::FmrParameters& params() { return panel.radio().parameters(); }
  // The message ids sent since the host's record was last cleared.
  Ids SentIds() const;
  const testing_host::HostCall* LastCall(uint16_t id) const;
  // Switches the radio on in the given mode and forgets the traffic.
  void PowerOn(bool transmit);
  // Automation commands separated by "; ", as a user would give them; their
  // replies joined the same way.
  std::string Run(const std::string& commands);
  // The message boxes shown since the last call, as automation lists them.
  std::string Dialogs() { return Run("dialogs"); }
  // The form probe on this panel.
  void SetControls(const std::string& text) { testing_form::SetControls(panel, text); }
  std::string Shown(const std::string& name) const { return testing_form::Shown(panel, name); }
  std::string Showing(const std::string& names) const {
    return testing_form::Showing(panel, names);
  }

  ui::HeadlessServices services;
  ui::Application app{services};
  testing_host::RecordingHost host;
  ScriptedRadio radio;
  gen1_panel::TKelboFMRGUI panel{app, host.Context(services)};
};
