#include "fmr-plot/axis_groups.h"

namespace fmrplot {

std::vector<AxisGroup> GroupByUnit(const std::vector<SampleSeries>& series) {
  std::vector<AxisGroup> groups;
  for (size_t i = 0; i < series.size(); ++i) {
    const std::string& unit = series[i].unit;
    AxisGroup* group = nullptr;
    if (!unit.empty()) {
      for (AxisGroup& g : groups) {
        if (g.unit == unit) group = &g;
      }
    }
    if (group == nullptr) group = &groups.emplace_back(AxisGroup{unit, {}, {}});
    group->series.push_back(i);
  }
  for (AxisGroup& g : groups) {
    for (const size_t i : g.series) g.title += (g.title.empty() ? "" : ", ") + series[i].Shown();
    if (!g.unit.empty()) g.title += " (" + g.unit + ")";
  }
  return groups;
}

}  // namespace fmrplot
