#include "host/fc_sonvio.h"

#include "ui/controls.h"

namespace host {

TFCSonvio::TFCSonvio(ui::Application& app) : ui::Form(app, "TFCSonvio") {
  SetCaption("FM Radio");
  Add<ui::Label>("Label1", this, "Platform is not defined");
}

}  // namespace host
