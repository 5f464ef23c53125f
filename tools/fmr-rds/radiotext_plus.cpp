#include "fmr-rds/radiotext_plus.h"

namespace fmrrds {

RtPlusGroup DecodeRtPlus(uint16_t block_b, uint16_t block_c, uint16_t block_d) {
  // 37 bits from bit 4 of block B to bit 0 of block D: toggle (1), running
  // (1), type 1 (6), start 1 (6), length 1 (6), type 2 (6), start 2 (6),
  // length 2 (5).
  const uint64_t bits = (static_cast<uint64_t>(block_b & 0x1F) << 32) |
                        (static_cast<uint64_t>(block_c) << 16) | block_d;
  auto field = [&](unsigned low, unsigned width) {
    return static_cast<uint8_t>((bits >> low) & ((1u << width) - 1));
  };
  RtPlusGroup g;
  g.item_toggle = field(36, 1) != 0;
  g.item_running = field(35, 1) != 0;
  g.tags[0] = {field(29, 6), field(23, 6), static_cast<uint8_t>(field(17, 6) + 1)};
  g.tags[1] = {field(11, 6), field(5, 6), static_cast<uint8_t>(field(0, 5) + 1)};
  return g;
}

std::string_view ContentTypeName(uint8_t content_type) {
  static constexpr std::string_view kNames[] = {
      "DUMMY_CLASS",
      "ITEM.TITLE",
      "ITEM.ALBUM",
      "ITEM.TRACKNUMBER",
      "ITEM.ARTIST",
      "ITEM.COMPOSITION",
      "ITEM.MOVEMENT",
      "ITEM.CONDUCTOR",
      "ITEM.COMPOSER",
      "ITEM.BAND",
      "ITEM.COMMENT",
      "ITEM.GENRE",
      "INFO.NEWS",
      "INFO.NEWS.LOCAL",
      "INFO.STOCKMARKET",
      "INFO.SPORT",
      "INFO.LOTTERY",
      "INFO.HOROSCOPE",
      "INFO.DAILY_DIVERSION",
      "INFO.HEALTH",
      "INFO.EVENT",
      "INFO.SCENE",
      "INFO.CINEMA",
      "INFO.STUPIDITY_MACHINE",
      "INFO.DATE_TIME",
      "INFO.WEATHER",
      "INFO.TRAFFIC",
      "INFO.ALARM",
      "INFO.ADVERTISEMENT",
      "INFO.URL",
      "INFO.OTHER",
      "STATIONNAME.SHORT",
      "STATIONNAME.LONG",
      "PROGRAMME.NOW",
      "PROGRAMME.NEXT",
      "PROGRAMME.PART",
      "PROGRAMME.HOST",
      "PROGRAMME.EDITORIAL_STAFF",
      "PROGRAMME.FREQUENCY",
      "PROGRAMME.HOMEPAGE",
      "PROGRAMME.SUBCHANNEL",
      "PHONE.HOTLINE",
      "PHONE.STUDIO",
      "PHONE.OTHER",
      "SMS.STUDIO",
      "SMS.OTHER",
      "EMAIL.HOTLINE",
      "EMAIL.STUDIO",
      "EMAIL.OTHER",
      "MMS.OTHER",
      "CHAT",
      "CHAT.CENTRE",
      "VOTE.QUESTION",
      "VOTE.CENTRE",
      "RFU",
      "RFU",
      "PRIVATE",
      "PRIVATE",
      "PRIVATE",
      "PLACE",
      "APPOINTMENT",
      "IDENTIFIER",
      "PURCHASE",
      "GET_DATA",
  };
  return kNames[content_type & 0x3F];
}

std::string TaggedText(const RtPlusTag& tag, const std::string& text) {
  if (tag.start >= text.size() || tag.start + tag.length > text.size()) return {};
  return text.substr(tag.start, tag.length);
}

}  // namespace fmrrds
