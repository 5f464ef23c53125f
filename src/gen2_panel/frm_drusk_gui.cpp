#include "gen2_panel/frm_drusk_gui.h"

Tfrm_DruskGUI::Tfrm_DruskGUI(ui::Application& app) : ui::Form(app, "Tfrm_DruskGUI") {}
