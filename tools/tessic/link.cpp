#include "link.h"

#include <chrono>

namespace tessic {

void Link::Drain(int limit_ms) {
  if (!connected()) return;
  char scratch[0x4000];
  size_t received = 0;
  // Usually nothing is there: one read, and no clock reading.
  if (Read(scratch, sizeof(scratch), 0, received) != ReadResult::kData) return;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limit_ms);
  while (std::chrono::steady_clock::now() < end &&
         Read(scratch, sizeof(scratch), 0, received) == ReadResult::kData) {
  }
}

}  // namespace tessic
