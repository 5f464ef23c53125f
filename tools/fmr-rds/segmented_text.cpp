#include "fmr-rds/segmented_text.h"

#include <algorithm>

namespace fmrrds {

SegmentedText::SegmentedText(size_t pairs, bool ends_at_return)
    : ends_at_return_(ends_at_return),
      chars_(2 * pairs, ' '),
      received_(pairs, false),
      confirmed_(pairs, false) {}

bool SegmentedText::Put(size_t index, char first, char second) {
  if (index >= received_.size()) return false;
  const bool changed =
      received_[index] && (chars_[2 * index] != first || chars_[2 * index + 1] != second);
  if (changed) {
    std::fill(received_.begin(), received_.end(), false);
    std::fill(confirmed_.begin(), confirmed_.end(), false);
  }
  confirmed_[index] = received_[index];
  chars_[2 * index] = first;
  chars_[2 * index + 1] = second;
  received_[index] = true;
  return changed;
}

void SegmentedText::Clear() {
  std::fill(received_.begin(), received_.end(), false);
  std::fill(confirmed_.begin(), confirmed_.end(), false);
  std::fill(chars_.begin(), chars_.end(), ' ');
}

void SegmentedText::Resize(size_t pairs) {
  chars_.assign(2 * pairs, ' ');
  received_.assign(pairs, false);
  confirmed_.assign(pairs, false);
}

bool SegmentedText::Empty() const {
  return std::none_of(received_.begin(), received_.end(), [](bool r) { return r; });
}

size_t SegmentedText::EndPair() const {
  if (ends_at_return_) {
    for (size_t i = 0; i < received_.size(); ++i) {
      if (received_[i] && (chars_[2 * i] == '\r' || chars_[2 * i + 1] == '\r')) return i + 1;
    }
  }
  return received_.size();
}

bool SegmentedText::Complete() const {
  const size_t end = EndPair();
  if (end == 0) return false;
  return std::all_of(received_.begin(), received_.begin() + static_cast<std::ptrdiff_t>(end),
                     [](bool r) { return r; });
}

bool SegmentedText::Confirmed() const {
  if (!Complete()) return false;
  const size_t end = EndPair();
  return std::all_of(confirmed_.begin(), confirmed_.begin() + static_cast<std::ptrdiff_t>(end),
                     [](bool c) { return c; });
}

std::string SegmentedText::Text() const {
  const size_t end = EndPair();
  std::string text;
  for (size_t i = 0; i < end; ++i) {
    for (size_t k = 0; k < 2; ++k) {
      const char c = chars_[2 * i + k];
      if (received_[i] && ends_at_return_ && c == '\r') return text;
      text += received_[i] ? c : '?';
    }
  }
  return text;
}

}  // namespace fmrrds
