// A fixed window for a platform the library does not know.
#pragma once

#include "ui/form.h"

class TFCSonvio : public ui::Form {
 public:
  explicit TFCSonvio(ui::Application& app);
};
