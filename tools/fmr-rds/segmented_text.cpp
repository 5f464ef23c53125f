#include "fmr-rds/segmented_text.h"

#include <algorithm>

namespace fmrrds {

SegmentedText::SegmentedText(size_t pairs, bool ends_at_return)
    : ends_at_return_(ends_at_return),
      chars_(2 * pairs, ' '),
      received_(pairs, 0),
      confirmed_(pairs, 0),
      end_pair_(pairs) {}

bool SegmentedText::Put(size_t index, char first, char second) {
  if (index >= received_.size()) return false;
  const bool changed =
      received_[index] && (chars_[2 * index] != first || chars_[2 * index + 1] != second);
  if (changed) {
    std::fill(received_.begin(), received_.end(), 0);
    std::fill(confirmed_.begin(), confirmed_.end(), 0);
  }
  confirmed_[index] = received_[index];
  chars_[2 * index] = first;
  chars_[2 * index + 1] = second;
  received_[index] = 1;
  // A change leaves this pair the only one received.
  const bool ends_here = ends_at_return_ && (first == '\r' || second == '\r');
  if (changed) end_pair_ = received_.size();
  if (ends_here) end_pair_ = std::min(end_pair_, index + 1);
  return changed;
}

void SegmentedText::Clear() {
  std::fill(received_.begin(), received_.end(), 0);
  std::fill(confirmed_.begin(), confirmed_.end(), 0);
  std::fill(chars_.begin(), chars_.end(), ' ');
  end_pair_ = received_.size();
}

void SegmentedText::Resize(size_t pairs) {
  chars_.assign(2 * pairs, ' ');
  received_.assign(pairs, 0);
  confirmed_.assign(pairs, 0);
  end_pair_ = pairs;
}

bool SegmentedText::Empty() const {
  return std::none_of(received_.begin(), received_.end(), [](uint8_t r) { return r != 0; });
}

bool SegmentedText::Complete() const {
  const size_t end = EndPair();
  if (end == 0) return false;
  return std::all_of(received_.begin(), received_.begin() + static_cast<std::ptrdiff_t>(end),
                     [](uint8_t r) { return r != 0; });
}

bool SegmentedText::Confirmed() const {
  if (!Complete()) return false;
  const size_t end = EndPair();
  return std::all_of(confirmed_.begin(), confirmed_.begin() + static_cast<std::ptrdiff_t>(end),
                     [](uint8_t c) { return c != 0; });
}

std::string SegmentedText::Text() const {
  const size_t end = EndPair();
  std::string text;
  text.reserve(2 * end);
  for (size_t i = 0; i < end; ++i) {
    for (size_t k = 0; k < 2; ++k) {
      const char c = chars_[2 * i + k];
      if (received_[i] != 0 && ends_at_return_ && c == '\r') return text;
      text += received_[i] != 0 ? c : '?';
    }
  }
  return text;
}

}  // namespace fmrrds
