// A first-generation panel on the headless backend, talking through a
// recording host to a small scripted radio that answers every message id
// with a reply of the right length.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "gen1_panel/kelbo_fmr_gui.h"
#include "recording_host.h"
#include "ui/application.h"
#include "ui/headless/headless_services.h"

struct ScriptedRadio {
  uint32_t frequency_hz = 87500000;  // reported by status and tune replies
  uint32_t seek_up_hz = 89100000;    // where a seek up / down lands
  uint32_t seek_down_hz = 86500000;
  int16_t rssi = 42;
  uint32_t power_state = 0;
  // Status word per message id (1 when not listed).
  std::map<uint16_t, uint16_t> status;

  testing_host::HostAnswer Answer(const testing_host::HostCall& call);
};

class PanelTest : public ::testing::Test {
 protected:
  PanelTest();

  FmrParameters& params() { return panel.radio().parameters(); }
  // The message ids sent since the host's record was last cleared.
  std::vector<uint16_t> SentIds() const;
  const testing_host::HostCall* LastCall(uint16_t id) const;
  // Switches the radio on in the given mode and forgets the traffic.
  void PowerOn(bool transmit);
  // Sets controls from code, as the panel's handlers do, from "NAME=VALUE"
  // words: an edit or editable combo box takes the text, a check box 0 or 1,
  // a drop-down list or radio group the item index.
  void SetControls(const std::string& assignments);
  // What a control shows: an edit or editable combo box its text, a label or
  // button its caption, a check box 0 or 1, a drop-down list or radio group
  // its item index.
  std::string Shown(const std::string& name) const;
  // "NAME=SHOWN" for each "NAME=..." word of `assignments`, so that a list
  // of expected contents compares with what the controls show.
  std::string Showing(const std::string& assignments) const;
  // '1' or '0' for each of the space-separated controls as it is enabled.
  std::string Enabled(const std::string& names) const;

  ui::HeadlessServices services;
  ui::Application app{services};
  testing_host::RecordingHost host;
  ScriptedRadio radio;
  TKelboFMRGUI panel{app};
};
