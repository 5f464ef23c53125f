// A fixed window for a platform the library does not know.
#pragma once

#include "ui/form.h"

namespace host {

class TFCSonvio : public ui::Form {
 public:
  explicit TFCSonvio(ui::Application& app);
};

}  // namespace host
