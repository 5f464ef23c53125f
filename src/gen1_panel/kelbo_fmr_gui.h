// The first-generation FM radio panel.
#pragma once

#include "ui/form.h"

class TKelboFMRGUI : public ui::Form {
 public:
  explicit TKelboFMRGUI(ui::Application& app);

  // Set while the radio is switched on.
  bool radioOn = false;
};
