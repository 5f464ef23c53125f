// Every method of the command set with the command text it sends, in an
// order in which each call is valid for a radio that starts switched off.
#pragma once

#include <functional>
#include <vector>

#include "gen2/aud_app.h"

namespace MANAGED_IF {

// The records the read methods fill.
struct Records {
  T_Version version;
  T_AutoSeekReport seek;
  T_RdsReport rds;
  T_StaticConfig config;
  T_DynamicData data;
  bool operator==(const Records&) const = default;
};

struct Method {
  const char* text;
  std::function<int32_t(aud_app&)> call;
};

#define METHOD(text, call)                                \
  Method {                                                \
    "at@audapp:" text, [&](aud_app& a) { return a.call; } \
  }

inline std::vector<Method> AllMethods(Records& r) {
  return {
      METHOD("fmr_configure_audio_dst(0)", fmr_configure_audio_dst(0)),
      METHOD("fmrx_enable()", fmrx_enable()),
      METHOD("fmrx_set_band(108000000,87500000,100000,0)",
             fmrx_set_band({108000000, 87500000, 100000, 0})),
      METHOD("fmrx_set_station(0,98100000,-1,1)",
             fmrx_set_station({kTuneToFrequency, 98100000, -1, 1})),
      METHOD("fmrx_set_sideband(2)", fmrx_set_sideband(2)),
      METHOD("fmrx_set_output_mode(1)", fmrx_set_output_mode(1)),
      METHOD("fmrx_forcemono(0)", fmrx_forcemono(0)),
      METHOD("fmrx_set_antenna(1)", fmrx_set_antenna(1)),
      METHOD("fmrx_set_snc(-20,40,1)", fmrx_set_snc({-20, 40, 1})),
      METHOD("fmrx_set_sm(-5,3,1)", fmrx_set_sm({-5, 3, 1})),
      METHOD("fmrx_set_volume(1,112)", fmrx_set_volume({kVolumeLeft, 112})),
      METHOD("fmrx_set_rds(1,2,1000)", fmrx_set_rds({1, 2, 1000})),
      METHOD("fmrx_set_rssi(1,-10,60)", fmrx_set_rssi({1, -10, 60})),
      METHOD("fmrx_set_gain_control(1,7)", fmrx_set_gain_control({1, 7})),
      METHOD("fmr_get_version()", fmr_get_version(r.version)),
      METHOD("fmrx_get_static_config()", fmrx_get_static_config(r.config)),
      METHOD("fmrx_get_dynamic_data()", fmrx_get_dynamic_data(r.data)),
      METHOD("fmrx_get_rds_data()", fmrx_get_rds_data(r.rds)),
      METHOD("fmrx_get_auto_seek_report()", fmrx_get_auto_seek_report(r.seek)),
      METHOD("fmr_disable()", fmr_disable()),
  };
}

#undef METHOD

}  // namespace MANAGED_IF
