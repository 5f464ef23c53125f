// A text that arrives two characters at a time at fixed positions, in any
// order and with gaps: the programme service name (4 pairs) and the radio
// text (32 pairs in 2A groups, 16 in 2B groups). It holds the RDS
// characters as received, one byte each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fmrrds {

class SegmentedText {
 public:
  // `ends_at_return`: a carriage return ends the text early (radio text).
  SegmentedText(size_t pairs, bool ends_at_return);

  size_t pairs() const { return received_.size(); }

  // Stores the pair at `index` (ignored when out of range). When a pair was
  // already received there with other characters, the broadcaster changed
  // the text: every other pair is forgotten, and the result is true. A pair
  // received again with the same characters is confirmed.
  bool Put(size_t index, char first, char second);
  void Clear();
  // Changes the length (forgets everything).
  void Resize(size_t pairs);

  bool Empty() const;
  // Every pair up to the end of the text has been received.
  bool Complete() const;
  // Complete, and every pair up to the end received twice alike.
  bool Confirmed() const;
  // The text up to its end; positions not yet received read '?'.
  std::string Text() const;

 private:
  // Pairs that make up the text as far as known: up to the first received
  // pair holding a carriage return, or all. Kept as pairs arrive, since
  // every question about the text asks it.
  size_t EndPair() const { return end_pair_; }

  bool ends_at_return_;
  std::vector<char> chars_;
  std::vector<uint8_t> received_;  // one flag a pair
  std::vector<uint8_t> confirmed_;
  size_t end_pair_ = 0;
};

}  // namespace fmrrds
