#include "fmr-rds/station_decoder.h"

#include "fmr-rds/rds_characters.h"

namespace fmrrds {
namespace {

constexpr size_t kPsPairs = 4;
constexpr size_t kRtPairsA = 32;  // 64 characters, four per 2A group
constexpr size_t kRtPairsB = 16;  // 32 characters, two per 2B group
constexpr uint8_t kMostCorrectedBits = 5;
constexpr char kBlockLetters[] = "ABCD";

uint8_t Nibble(uint16_t status, size_t block) {
  return static_cast<uint8_t>((status >> (12 - 4 * block)) & 0xF);
}

char High(uint16_t block) {
  return static_cast<char>(block >> 8);
}

char Low(uint16_t block) {
  return static_cast<char>(block & 0xFF);
}

}  // namespace

std::string GroupType::Name() const {
  return std::to_string(number) + (version_b ? "B" : "A");
}

StationDecoder::StationDecoder(size_t bler_window) : ps_(kPsPairs, false), rt_(kRtPairsA, true) {
  station_.bler = BlockErrorRate(bler_window);
}

void StationDecoder::NewStation(uint16_t pi) {
  StationSummary fresh;
  fresh.pi = pi;
  fresh.pi_history = std::move(station_.pi_history);
  fresh.group_counts = std::move(station_.group_counts);
  fresh.received = station_.received;
  fresh.skipped = station_.skipped;
  fresh.partial = station_.partial;
  fresh.bler = std::move(station_.bler);
  station_ = std::move(fresh);
  if (!pi_seen_.test(pi)) {
    pi_seen_.set(pi);
    station_.pi_history.push_back(pi);
  }
  ps_seen_.clear();
  ps_.Clear();
  rt_.Resize(kRtPairsA);
  rt_flag_.reset();
  rt_version_b_ = false;
}

void StationDecoder::RefreshRtPlusText() {
  // The tags point into the text being received, confirmed or not.
  const std::string text = station_.rt_plus ? rt_.Text() : std::string();
  for (size_t i = 0; i < 2; ++i) {
    station_.rt_plus_text[i].clear();
    if (station_.rt_plus)
      station_.rt_plus_text[i] = RdsTextToUtf8(TaggedText(station_.rt_plus->tags[i], text));
  }
}

GroupReport StationDecoder::Decode(const RawGroup& group) {
  ++station_.received;
  GroupReport report;
  report.line = group.line;
  report.status = group.status;
  std::array<bool, 4> usable{};
  for (size_t b = 0; b < 4; ++b) {
    usable[b] = Nibble(group.status, b) <= kMostCorrectedBits;
    if (!usable[b]) report.lost += kBlockLetters[b];
  }
  station_.bler.Add(static_cast<unsigned>(report.lost.size()));
  report.bler_recent = station_.bler.RecentPercent();
  if (!usable[1]) {
    report.skipped = "block B uncorrectable";
    ++station_.skipped;
    return report;
  }

  const uint16_t b = group.blocks[1];
  const GroupType type{static_cast<uint8_t>(b >> 12), ((b >> 11) & 1) != 0};
  report.type = type;
  ++station_.group_counts[type];

  // Version B groups repeat the PI in block C.
  std::optional<uint16_t> pi;
  if (usable[0]) {
    pi = group.blocks[0];
  } else if (type.version_b && usable[2]) {
    pi = group.blocks[2];
  }
  if (pi) {
    if (station_.pi && *station_.pi != *pi) {
      NewStation(*pi);
      report.pi_changed = true;
    } else if (!station_.pi) {
      station_.pi = pi;
      pi_seen_.set(*pi);
      station_.pi_history.push_back(*pi);
    }
    report.pi = pi;
  }
  report.tp = ((b >> 10) & 1) != 0;
  report.pty = static_cast<uint8_t>((b >> 5) & 0x1F);
  station_.tp = report.tp;
  station_.pty = report.pty;

  // Blocks whose loss leaves out part of what the group carries.
  bool needed[4] = {!pi.has_value(), false, false, false};
  switch (type.number) {
    case 0:
      needed[2] = !type.version_b;
      needed[3] = true;
      DecodeBasicTuning(group, usable, report);
      break;
    case 2:
      needed[2] = !type.version_b;
      needed[3] = true;
      DecodeRadioText(group, usable, report);
      break;
    case 4:
      if (!type.version_b) {
        needed[2] = needed[3] = true;
        DecodeClockTime(group, usable, report);
      }
      break;
    default:
      DecodeOtherGroup(group, usable, report, needed);
      break;
  }
  for (size_t i = 0; i < 4; ++i) {
    if (needed[i] && !usable[i]) {
      ++station_.partial;
      break;
    }
  }
  return report;
}

void StationDecoder::DecodeBasicTuning(const RawGroup& group, const std::array<bool, 4>& usable,
                                       GroupReport& report) {
  const uint16_t b = group.blocks[1];
  const auto segment = static_cast<uint8_t>(b & 0x3);
  report.ta = ((b >> 4) & 1) != 0;
  report.ms = ((b >> 3) & 1) != 0 ? Programme::kMusic : Programme::kSpeech;
  report.di = DiBit{static_cast<uint8_t>(3 - segment), ((b >> 2) & 1) != 0};
  station_.ta = report.ta;
  station_.ms = report.ms;
  station_.di[report.di->index] = report.di->value;

  if (usable[3]) {
    const uint16_t d = group.blocks[3];
    report.ps_segment = segment;
    report.ps_chars = RdsTextToUtf8(std::string{High(d), Low(d)});
    report.ps_changed = ps_.Put(segment, High(d), Low(d));
    if (ps_.Confirmed()) {
      report.ps = RdsTextToUtf8(ps_.Text());
      // Each confirmed name once, first seen first.
      if (station_.ps != report.ps && ps_seen_.insert(*report.ps).second)
        station_.ps_names.push_back(*report.ps);
      station_.ps = report.ps;
      station_.ps_progressive.clear();
    } else {
      report.ps_progressive = RdsTextToUtf8(ps_.Text());
      station_.ps_progressive = *report.ps_progressive;
    }
  }
  if (!report.type->version_b && usable[2]) {
    report.af = DecodeAfPair(group.blocks[2]);
    station_.af.Add(*report.af);
  }
}

void StationDecoder::DecodeRadioText(const RawGroup& group, const std::array<bool, 4>& usable,
                                     GroupReport& report) {
  const uint16_t b = group.blocks[1];
  const bool version_b = report.type->version_b;
  const char flag = ((b >> 4) & 1) != 0 ? 'B' : 'A';
  const auto segment = static_cast<uint8_t>(b & 0xF);
  report.rt_flag = flag;
  report.rt_segment = segment;

  // A flipped A/B flag announces a new text; 2A and 2B texts differ in length.
  if (version_b != rt_version_b_) {
    rt_.Resize(version_b ? kRtPairsB : kRtPairsA);
    rt_version_b_ = version_b;
    report.rt_cleared = rt_flag_.has_value();
    station_.rt_plus.reset();
  } else if (rt_flag_ && *rt_flag_ != flag) {
    rt_.Clear();
    report.rt_cleared = true;
    station_.rt_plus.reset();
  }
  rt_flag_ = flag;

  std::string chars;
  auto put = [&](size_t block, size_t pair) {
    if (!usable[block]) {
      chars += "??";
      return;
    }
    const uint16_t value = group.blocks[block];
    chars += High(value);
    chars += Low(value);
    if (rt_.Put(pair, High(value), Low(value))) report.rt_changed = true;
  };
  if (version_b) {
    put(3, segment);
  } else {
    put(2, 2u * segment);
    put(3, 2u * segment + 1);
  }
  report.rt_chars = RdsTextToUtf8(chars);
  if (rt_.Confirmed()) {
    report.rt = RdsTextToUtf8(rt_.Text());
    station_.rt = report.rt;
    station_.rt_progressive.clear();
  } else {
    report.rt_progressive = RdsTextToUtf8(rt_.Text());
    // The summary has no text in progress while nothing of it arrived.
    station_.rt_progressive = rt_.Empty() ? std::string() : *report.rt_progressive;
  }
  RefreshRtPlusText();
}

void StationDecoder::DecodeOtherGroup(const RawGroup& group, const std::array<bool, 4>& usable,
                                      GroupReport& report, bool needed[4]) {
  const GroupType type = *report.type;
  const uint16_t b = group.blocks[1];
  if (type == GroupType{1, false}) {
    needed[2] = true;
    // Block C: variant code in bits 14..12; variant 0 holds the ECC.
    if (usable[2] && ((group.blocks[2] >> 12) & 0x7) == 0) {
      report.ecc = static_cast<uint8_t>(group.blocks[2] & 0xFF);
      station_.ecc = report.ecc;
    }
  } else if (type == GroupType{3, false}) {
    needed[3] = true;
    if (usable[3]) {
      report.oda_application = group.blocks[3];
      report.oda_group = GroupType{static_cast<uint8_t>((b >> 1) & 0xF), (b & 1) != 0};
      if (*report.oda_application == kRtPlusApplication) station_.rt_plus_group = report.oda_group;
    }
  } else if (station_.rt_plus_group && type == *station_.rt_plus_group) {
    needed[2] = needed[3] = true;
    if (usable[2] && usable[3]) {
      const RtPlusGroup tags = DecodeRtPlus(b, group.blocks[2], group.blocks[3]);
      report.rt_plus = tags;
      station_.rt_plus = tags;
      // Tags count RDS characters, one byte each: cut first, then decode.
      const std::string text = rt_.Text();
      for (size_t i = 0; i < 2; ++i) {
        report.rt_plus_text[i] = RdsTextToUtf8(TaggedText(tags.tags[i], text));
        station_.rt_plus_text[i] = report.rt_plus_text[i];
      }
    }
  }
}

void StationDecoder::DecodeClockTime(const RawGroup& group, const std::array<bool, 4>& usable,
                                     GroupReport& report) {
  if (!usable[2] || !usable[3]) return;
  report.ct = fmrrds::DecodeClockTime(group.blocks[1], group.blocks[2], group.blocks[3]);
  if (report.ct->valid) station_.ct = report.ct;
}

}  // namespace fmrrds
