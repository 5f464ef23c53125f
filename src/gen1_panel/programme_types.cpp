#include "gen1_panel/programme_types.h"

namespace gen1_panel {

const ProgrammeTypeNames& RdsProgrammeTypes() {
  static constexpr ProgrammeTypeNames kNames = {
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
  return kNames;
}

const ProgrammeTypeNames& RbdsProgrammeTypes() {
  static constexpr ProgrammeTypeNames kNames = {
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
  return kNames;
}

}  // namespace gen1_panel
