// The panel's bound controls, one row each: the control, the field of the
// parameter block it fills (before an operation) and shows (after it), the
// conversion between the two, and the power states it is enabled in. Rows
// without a field only follow the power state. Storing, showing and
// enabling run over the rows in table order; what depends on an order of its
// own stays an explicit step of those functions.
#pragma once

#include <cstdint>
#include <span>

#include "gen1/fmr_parameters.h"

namespace ui {
class Control;
}

namespace gen1_panel {

class TKelboFMRGUI;

// When the power state enables a control (and disables it otherwise).
enum class EnabledIn : uint8_t {
  kAlways,        // left as it is: another rule enables it, or nothing
  kOff,           // the radio off
  kOn,            // the radio on, either mode
  kOnManualBand,  // the radio on with the band chosen by hand
  kReceive,       // the radio on in receive mode
  kTransmit,      // the radio on in transmit mode
};

struct ControlBinding {
  ui::Control* (*control)(TKelboFMRGUI& panel);
  // The field's address, for telling fields apart; nullptr: no field.
  const void* (*field)(const gen1::FmrParameters& params);
  // Fills the field from the control; nullptr: the field is only shown.
  void (*store)(const TKelboFMRGUI& panel, gen1::FmrParameters& params);
  // Shows the field in the control; nullptr: the field is only stored.
  void (*show)(TKelboFMRGUI& panel, const gen1::FmrParameters& params);
  EnabledIn enabled_in;
};

// The rows, in the order the block is shown.
std::span<const ControlBinding> PanelBindings();

}  // namespace gen1_panel
