// Decoding hand-built groups: PS and radio text assembly, alternative
// frequencies, clock time, and block status handling.
#include <gtest/gtest.h>

#include "fmr-rds/alternative_frequencies.h"
#include "fmr-rds/station_decoder.h"
#include "rds_groups.h"

namespace rdstest {
namespace {

using fmrrds::GroupReport;
using fmrrds::StationDecoder;

TEST(StationDecoderTest, PsIsReportedOnceAllSegmentsArrivedAndAChangedOneStartsANewName) {
  StationDecoder decoder;
  for (unsigned segment : {2u, 0u, 3u}) EXPECT_FALSE(decoder.Decode(Ps0A("CLASSIC ", segment)).ps);
  EXPECT_EQ(decoder.Summary().ps_partial, "CL??SIC ");
  EXPECT_EQ(decoder.Decode(Ps0A("CLASSIC ", 1)).ps, "CLASSIC ");
  // Another name: the old one is kept until the new one is complete.
  EXPECT_TRUE(decoder.Decode(Ps0A("TRAFFIC ", 2)).ps_changed);
  EXPECT_EQ(decoder.Summary().ps, "CLASSIC ");
  EXPECT_FALSE(decoder.Decode(Ps0A("TRAFFIC ", 2)).ps_changed);  // a repeat is no change
  for (unsigned s : {0u, 1u, 3u}) decoder.Decode(Ps0A("TRAFFIC ", s));
  EXPECT_EQ(decoder.Summary().ps_names, (std::vector<std::string>{"CLASSIC ", "TRAFFIC "}));
}

TEST(StationDecoderTest, RadioTextEndsAtItsReturnAndTheAbFlagOrALostBlockClearsIt) {
  StationDecoder decoder;
  const std::string first = "Jazz all night long\r";
  for (unsigned s : {0u, 1u, 2u, 4u}) EXPECT_FALSE(decoder.Decode(Rt2A(first, s)).rt);
  EXPECT_EQ(decoder.Decode(Rt2A(first, 3)).rt, "Jazz all night long");
  // Flag B: a new text; what is left of the old one must not show through.
  EXPECT_TRUE(decoder.Decode(Rt2A("Rock\r", 0, true)).rt_cleared);
  // The return sits in block C of segment 1, which is lost: no end yet.
  EXPECT_FALSE(decoder.Decode(Rt2A("Rock\r", 1, true, 0x00F0)).rt);
  EXPECT_EQ(decoder.Decode(Rt2A("Rock\r", 1, true)).rt, "Rock");
}

TEST(StationDecoderTest, AlternativeFrequencyCodes) {
  struct Case {
    uint16_t block_c;
    std::vector<uint32_t> vhf_khz;
    std::vector<uint32_t> lf_mf_khz;
    std::optional<unsigned> count;
  };
  const Case cases[] = {
      {0xE106, {88100}, {}, 1},           // 225: one frequency; code 6
      {0x01CC, {87600, 107900}, {}, {}},  // codes 1 and 204, the band ends
      {0xE0CD, {}, {}, 0},                // 224: no alternative frequency
      {0xFA10, {}, {531}, {}},            // 250: MF code 16 follows
      {0x00CE, {}, {}, {}},               // 0 and 206: nothing
      {0xF9CB, {107800}, {}, 25},         // 249: the longest list
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "block C 0x" << std::hex << c.block_c);
    const fmrrds::AfPair pair = fmrrds::DecodeAfPair(c.block_c);
    EXPECT_EQ(pair.vhf_khz, c.vhf_khz);
    EXPECT_EQ(pair.lf_mf_khz, c.lf_mf_khz);
    EXPECT_EQ(pair.count, c.count);
  }
  // A station's list collects across groups, each frequency once.
  StationDecoder decoder;
  for (const uint16_t c : std::initializer_list<uint16_t>{0xE306, 0x1A06, 0x1ACD, 0xE306}) {
    decoder.Decode(Ps0A("CLASSIC ", 0, c));
  }
  const auto summary = decoder.Summary();
  EXPECT_EQ(std::vector<uint32_t>(summary.af.vhf_khz().begin(), summary.af.vhf_khz().end()),
            (std::vector<uint32_t>{88100, 90100}));
  EXPECT_EQ(summary.af.count(), 3u);
}

TEST(StationDecoderTest, ClockTime) {
  struct Case {
    uint32_t mjd;  // 60431 is 2024-05-01
    unsigned hour, minute;
    int half_hours;
    std::string text;  // date, UTC, offset and local time; "" for an impossible time
  };
  const Case cases[] = {
      {60431, 12, 34, 4, "2024-05-01 12:34 +02:00 2024-05-01 14:34"},
      {60431, 0, 15, -10, "2024-05-01 00:15 -05:00 2024-04-30 19:15"},
      {60431, 23, 50, 11, "2024-05-01 23:50 +05:30 2024-05-02 05:20"},
      {60431, 25, 61, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    StationDecoder decoder;
    const auto d = static_cast<uint16_t>(((c.hour & 0xF) << 12) | (c.minute << 6) |
                                         (c.half_hours < 0 ? 0x20 : 0) | std::abs(c.half_hours));
    const GroupReport r =
        decoder.Decode(Group(kPi, BlockB(4, false, (c.mjd >> 15) & 0x3),
                             static_cast<uint16_t>(((c.mjd & 0x7FFF) << 1) | (c.hour >> 4)), d));
    ASSERT_TRUE(r.ct.has_value());
    EXPECT_EQ(r.ct->valid, !c.text.empty());
    // An impossible time is reported but never becomes the station's clock.
    EXPECT_EQ(decoder.Summary().ct.has_value(), r.ct->valid);
    if (!r.ct->valid) continue;
    EXPECT_EQ(r.ct->mjd, c.mjd);
    EXPECT_EQ(fmrrds::FormatDate(*r.ct) + " " + fmrrds::FormatUtc(*r.ct) + " " +
                  fmrrds::FormatOffset(*r.ct) + " " + fmrrds::FormatLocal(*r.ct),
              c.text);
  }
}

TEST(StationDecoderTest, UnusableBlocksLeaveOutWhatTheyCarry) {
  struct Case {
    const char* what;
    fmrrds::RawGroup group;
    bool skipped;
    bool ps;  // PS segment decoded
    bool af;
    std::string rt_chars;
    bool partial;
  };
  const Case cases[] = {
      {"0A clean", Ps0A("CLASSIC ", 0, 0xE106, 0x0000), false, true, true, "", false},
      {"0A block B lost", Ps0A("CLASSIC ", 0, 0xE106, 0x0F00), true, false, false, "", false},
      {"0A block C lost", Ps0A("CLASSIC ", 0, 0xE106, 0x00F0), false, true, false, "", true},
      {"0A block D lost", Ps0A("CLASSIC ", 0, 0xE106, 0x000F), false, false, true, "", true},
      {"0A status 6 is not a count of corrected bits", Ps0A("CLASSIC ", 0, 0xE106, 0x0006), false,
       false, true, "", true},
      {"2A block C lost", Rt2A("Jazz", 0, false, 0x00F0), false, false, false, "??zz", true},
      {"2A block D lost", Rt2A("Jazz", 0, false, 0x000F), false, false, false, "Ja??", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StationDecoder decoder;
    const GroupReport r = decoder.Decode(c.group);
    EXPECT_EQ(!r.skipped.empty(), c.skipped);
    EXPECT_EQ(r.ps_segment.has_value(), c.ps);
    EXPECT_EQ(r.af.has_value(), c.af);
    EXPECT_EQ(r.rt_chars, c.rt_chars);
    const auto summary = decoder.Summary();
    EXPECT_EQ(summary.skipped, c.skipped ? 1u : 0u);
    EXPECT_EQ(summary.partial, c.partial ? 1u : 0u);
  }
}

}  // namespace
}  // namespace rdstest
