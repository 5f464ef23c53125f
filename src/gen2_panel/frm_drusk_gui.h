// The second-generation FM radio panel.
#pragma once

#include "ui/form.h"

class Tfrm_DruskGUI : public ui::Form {
 public:
  explicit Tfrm_DruskGUI(ui::Application& app);
};
