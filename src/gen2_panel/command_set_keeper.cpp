#include "gen2_panel/command_set_keeper.h"

#include <vector>

namespace {

// A holder whose member is constructed but never destroyed: the union's
// destructor deliberately does nothing.
union NeverDestroyed {
  NeverDestroyed() : kept() {}
  ~NeverDestroyed() {}
  std::vector<std::unique_ptr<MANAGED_IF::aud_app>> kept;
};

}  // namespace

MANAGED_IF::aud_app& KeepCommandSet(std::unique_ptr<MANAGED_IF::aud_app> command_set) {
  static NeverDestroyed keeper;
  keeper.kept.push_back(std::move(command_set));
  return *keeper.kept.back();
}
