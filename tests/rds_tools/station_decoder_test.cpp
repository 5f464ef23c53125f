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
  for (unsigned segment : {2u, 0u, 3u}) {
    const GroupReport r = decoder.Decode(Ps0A("CLASSIC ", segment));
    EXPECT_EQ(r.ps_segment, segment);
    EXPECT_FALSE(r.ps.has_value());
  }
  EXPECT_EQ(decoder.Summary().ps_partial, "CL??SIC ");
  const GroupReport last = decoder.Decode(Ps0A("CLASSIC ", 1));
  EXPECT_EQ(last.ps_chars, "AS");
  EXPECT_EQ(last.ps, "CLASSIC ");
  ASSERT_TRUE(last.di.has_value());
  EXPECT_EQ(last.di->index, 2);  // segment 1 carries d2
  EXPECT_EQ(decoder.Summary().ps_partial, "");

  // Another name: the old one is kept until the new one is complete.
  const GroupReport changed = decoder.Decode(Ps0A("TRAFFIC ", 2));
  EXPECT_TRUE(changed.ps_changed);
  EXPECT_FALSE(changed.ps.has_value());
  EXPECT_EQ(decoder.Summary().ps, "CLASSIC ");
  EXPECT_EQ(decoder.Summary().ps_partial, "????FI??");
  EXPECT_FALSE(decoder.Decode(Ps0A("TRAFFIC ", 2)).ps_changed);  // a repeat is no change
  for (unsigned s : {0u, 1u, 3u}) decoder.Decode(Ps0A("TRAFFIC ", s));
  EXPECT_EQ(decoder.Summary().ps, "TRAFFIC ");
  EXPECT_EQ(decoder.Summary().ps_names, (std::vector<std::string>{"CLASSIC ", "TRAFFIC "}));
}

TEST(StationDecoderTest, RadioTextEndsAtItsReturnAndTheAbFlagClearsIt) {
  StationDecoder decoder;
  const std::string first = "Jazz all night long\r";
  for (unsigned s : {0u, 1u, 2u, 4u}) EXPECT_FALSE(decoder.Decode(Rt2A(first, s)).rt);
  EXPECT_EQ(decoder.Summary().rt_partial, "Jazz all nig????ong");
  const GroupReport complete = decoder.Decode(Rt2A(first, 3));
  EXPECT_EQ(complete.rt_flag, 'A');
  EXPECT_EQ(complete.rt_chars, "ht l");
  EXPECT_EQ(complete.rt, "Jazz all night long");

  // Flag B: a new text; what is left of the old one must not show through.
  const GroupReport flipped = decoder.Decode(Rt2A("Top 40\r", 0, true));
  EXPECT_TRUE(flipped.rt_cleared);
  EXPECT_FALSE(flipped.rt.has_value());
  const GroupReport next = decoder.Decode(Rt2A("Top 40\r", 1, true));
  EXPECT_FALSE(next.rt_cleared);
  EXPECT_EQ(next.rt, "Top 40");
}

TEST(StationDecoderTest, ALostRadioTextBlockNeverCompletesTheText) {
  StationDecoder decoder;
  decoder.Decode(Rt2A("Rock\r", 0));
  // The return sits in block C of segment 1, which is lost: no end yet.
  decoder.Decode(Rt2A("Rock\r", 1, false, 0x00F0));
  EXPECT_FALSE(decoder.Summary().rt.has_value());
  decoder.Decode(Rt2A("Rock\r", 1));
  EXPECT_EQ(decoder.Summary().rt, "Rock");
}

TEST(StationDecoderTest, RadioText2BCarriesTwoCharactersPerGroupAndPiInBlockC) {
  StationDecoder decoder;
  const std::string text = "Hi there\r ";
  GroupReport r;
  for (unsigned s = 0; s < 5; ++s) {  // block A lost: the PI comes from block C
    r = decoder.Decode(Group(0x1234, BlockB(2, true, s), kPi, Chars(text.substr(2 * s)), 0xF000));
  }
  EXPECT_EQ(r.type->Name(), "2B");
  EXPECT_EQ(r.pi, kPi);
  EXPECT_EQ(r.rt, "Hi there");
  EXPECT_EQ(decoder.Summary().partial, 0u);
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
      {0xCDCD, {}, {}, {}},               // fillers
      {0xE0CD, {}, {}, 0},                // 224: no alternative frequency
      {0xFA10, {}, {531}, {}},            // 250: MF code 16 follows
      {0xFA01, {}, {153}, {}},            // LF code 1
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
      {51544, 0, 0, 0, "2000-01-01 00:00 +00:00 2000-01-01 00:00"},
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
      {"0A corrected bits", Ps0A("CLASSIC ", 0, 0xE106, 0x5555), false, true, true, "", false},
      {"0A block B lost", Ps0A("CLASSIC ", 0, 0xE106, 0x0F00), true, false, false, "", false},
      {"0A block C lost", Ps0A("CLASSIC ", 0, 0xE106, 0x00F0), false, true, false, "", true},
      {"0A block D lost", Ps0A("CLASSIC ", 0, 0xE106, 0x000F), false, false, true, "", true},
      {"0A status 6 is not a count of corrected bits", Ps0A("CLASSIC ", 0, 0xE106, 0x0006), false,
       false, true, "", true},
      {"2A block C lost", Rt2A("Jazz", 0, false, 0x00F0), false, false, false, "??zz", true},
      {"2A block D lost", Rt2A("Jazz", 0, false, 0x000F), false, false, false, "Ja??", true},
      {"2A block B lost", Rt2A("Jazz", 0, false, 0xFFFF), true, false, false, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StationDecoder decoder;
    const GroupReport r = decoder.Decode(c.group);
    EXPECT_EQ(!r.skipped.empty(), c.skipped);
    EXPECT_EQ(r.type.has_value(), !c.skipped);
    EXPECT_EQ(r.ps_segment.has_value(), c.ps);
    EXPECT_EQ(r.af.has_value(), c.af);
    EXPECT_EQ(r.rt_chars, c.rt_chars);
    const auto summary = decoder.Summary();
    EXPECT_EQ(summary.skipped, c.skipped ? 1u : 0u);
    EXPECT_EQ(summary.partial, c.partial ? 1u : 0u);
    EXPECT_EQ(summary.received, 1u);
    EXPECT_EQ(summary.pi.has_value(), !c.skipped);
    EXPECT_EQ(summary.group_counts.empty(), c.skipped);
  }
}

TEST(StationDecoderTest, ANewPiStartsANewStation) {
  StationDecoder decoder;
  for (unsigned s = 0; s < 4; ++s) decoder.Decode(Ps0A("CLASSIC ", s, 0xE106));
  decoder.Decode(Rt2A("Classic\r", 0));
  decoder.Decode(Rt2A("Classic\r", 1));
  EXPECT_TRUE(decoder.Decode(Ps0A("NEWS 24 ", 0, 0xE11C, 0, 0xC203)).pi_changed);
  const auto summary = decoder.Summary();
  EXPECT_EQ(summary.pi, 0xC203);
  EXPECT_EQ(summary.pi_history, (std::vector<uint16_t>{kPi, 0xC203}));
  EXPECT_FALSE(summary.ps.has_value());
  EXPECT_EQ(summary.ps_partial, "NE??????");
  EXPECT_FALSE(summary.rt.has_value());
  EXPECT_EQ(std::vector<uint32_t>(summary.af.vhf_khz().begin(), summary.af.vhf_khz().end()),
            std::vector<uint32_t>{90300});
  EXPECT_EQ(summary.received, 7u);  // counts go on across stations
}

}  // namespace
}  // namespace rdstest
