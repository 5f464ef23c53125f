// The recording host installed in the loaded library's host table, for tests
// that drive the library through its exports as a real host does. It fills
// slots 3, 15, 54, 56 and 77, the log callback and a communication handle.
// The module has one table, so one instance at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "recording_host.h"

namespace testing_host {

class TableHost : public RecordingHost {
 public:
  TableHost();
  ~TableHost() override;

  static constexpr uint32_t kComHandle = 0x00C0FFEE;
  // The communication handle of every send, in order.
  std::vector<uint32_t> com_handles;

  // Installs the table again, without `missing_slot` (as a host that leaves it empty).
  void Install(std::optional<size_t> missing_slot = std::nullopt);
};

}  // namespace testing_host
