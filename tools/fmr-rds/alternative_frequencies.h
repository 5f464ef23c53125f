// Alternative-frequency codes of 0A groups (method A lists): block C holds
// two codes; a count code (225..249) opens a list, codes 1..204 are VHF
// frequencies 87.6 to 107.9 MHz, 205 is a filler, 250 says that the other
// code of the pair is an LF/MF frequency.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <vector>

namespace fmrrds {

struct AfPair {
  std::vector<uint32_t> vhf_khz;    // VHF frequencies, in kHz
  std::vector<uint32_t> lf_mf_khz;  // LF/MF frequencies, in kHz
  std::optional<unsigned> count;    // number of frequencies the list announces
};

AfPair DecodeAfPair(uint16_t block_c);

// The frequencies of one station's lists, collected across groups.
class AfList {
 public:
  void Add(const AfPair& pair);
  void Clear();

  const std::set<uint32_t>& vhf_khz() const { return vhf_khz_; }
  const std::set<uint32_t>& lf_mf_khz() const { return lf_mf_khz_; }
  const std::optional<unsigned>& count() const { return count_; }
  bool Empty() const { return vhf_khz_.empty() && lf_mf_khz_.empty() && !count_; }

 private:
  std::set<uint32_t> vhf_khz_;
  std::set<uint32_t> lf_mf_khz_;
  std::optional<unsigned> count_;
};

}  // namespace fmrrds
