#include "gen2_panel/command_set_keeper.h"

#include <vector>

namespace gen2_panel {

namespace {

class CommandSetKeeper {
 public:
  CommandSetKeeper() = default;
  CommandSetKeeper(const CommandSetKeeper&) = delete;
  CommandSetKeeper& operator=(const CommandSetKeeper&) = delete;
  // Runs when the library is released: the sessions are abandoned, not
  // closed.
  ~CommandSetKeeper() {
    for (auto& command_set : kept_) command_set->session().Abandon();
  }

  MANAGED_IF::aud_app& Keep(std::unique_ptr<MANAGED_IF::aud_app> command_set) {
    kept_.push_back(std::move(command_set));
    return *kept_.back();
  }

 private:
  std::vector<std::unique_ptr<MANAGED_IF::aud_app>> kept_;
};

}  // namespace

MANAGED_IF::aud_app& KeepCommandSet(std::unique_ptr<MANAGED_IF::aud_app> command_set) {
  static CommandSetKeeper keeper;
  return keeper.Keep(std::move(command_set));
}

}  // namespace gen2_panel
