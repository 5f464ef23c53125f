// RadioText+: tags that mark parts of the radio text as title, artist and
// so on. A 3A group announces the application (its identifier 4BD7) and the
// group type that carries the tags; each tag group holds two tags (content
// type, start and length in the text) and the item toggle and running bits.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace fmrrds {

inline constexpr uint16_t kRtPlusApplication = 0x4BD7;

struct RtPlusTag {
  uint8_t content_type = 0;  // 0..63, 0 a dummy tag
  uint8_t start = 0;         // first character in the radio text
  uint8_t length = 0;        // characters (one more than the marker says)
};

struct RtPlusGroup {
  bool item_toggle = false;
  bool item_running = false;
  std::array<RtPlusTag, 2> tags{};
};

RtPlusGroup DecodeRtPlus(uint16_t block_b, uint16_t block_c, uint16_t block_d);

// "ITEM.TITLE"; "RFU" and "PRIVATE" for the codes without a name.
std::string_view ContentTypeName(uint8_t content_type);

// The tagged part of `text`; "" when the tag points past its end.
std::string TaggedText(const RtPlusTag& tag, const std::string& text);

}  // namespace fmrrds
