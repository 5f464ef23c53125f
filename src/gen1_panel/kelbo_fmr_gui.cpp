#include "gen1_panel/kelbo_fmr_gui.h"

TKelboFMRGUI::TKelboFMRGUI(ui::Application& app) : ui::Form(app, "TKelboFMRGUI") {
  set_maximized(true);
}
