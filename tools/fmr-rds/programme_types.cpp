#include "fmr-rds/programme_types.h"

#include <array>

namespace fmrrds {
namespace {

// Spelled exactly as the panel's programme-type list shows them.
constexpr std::array<std::string_view, 32> kRdsNames = {
    "No Program type or undefined",
    "News",
    "Current Affairs",
    "Information",
    "Sport",
    "Education",
    "Drama",
    "Culture",
    "Science",
    "Varied",
    "Pop Music",
    "Rock Music",
    "M.O.R Nusic",
    "Light classical",
    "Serious classical",
    "Other Music",
    "Weather",
    "Finance",
    "Children's programs",
    "Social Affairs",
    "Religion",
    "Phone In",
    "Travel",
    "Leisure",
    "Jazz Music",
    "Country Music",
    "National Music",
    "Oldies Music",
    "Folk Music",
    "Documentary",
    "Alarm Test",
    "Alarm",
};

constexpr std::array<std::string_view, 32> kRbdsNames = {
    "No Program type or undefined",
    "News",
    "Information",
    "Sports",
    "Talk",
    "Rock",
    "Classic Rock",
    "Adult Hits",
    "Soft Rock",
    "Top 40",
    "Country",
    "Oldies",
    "Soft",
    "Nostalgia",
    "Jazz",
    "Classical",
    "Rhythm and Blues",
    "Soft Rhythm and Blues",
    "Languages",
    "Religious Music",
    "Religious Talk",
    "Personality",
    "Public",
    "College",
    "Unassigned",
    "Unassigned",
    "Unassigned",
    "Unassigned",
    "Unassigned",
    "Weather",
    "Emergency Test",
    "Emergency",
};

}  // namespace

std::string_view ProgrammeTypeName(PtyTable table, uint8_t code) {
  const size_t index = code & 0x1F;
  return table == PtyTable::kRbds ? kRbdsNames[index] : kRdsNames[index];
}

}  // namespace fmrrds
