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
};

struct Method {
  const char* text;
  std::function<int32_t(aud_app&)> call;
};

inline std::vector<Method> AllMethods(Records& r) {
  return {
      {"at@audapp:fmr_configure_audio_dst(0)",
       [](aud_app& a) { return a.fmr_configure_audio_dst(0); }},
      {"at@audapp:fmrx_enable()", [](aud_app& a) { return a.fmrx_enable(); }},
      {"at@audapp:fmrx_set_band(108000000,87500000,100000,0)",
       [](aud_app& a) {
         return a.fmrx_set_band({108000000, 87500000, 100000, 0});
       }},
      {"at@audapp:fmrx_set_station(0,98100000,-1,1)",
       [](aud_app& a) {
         return a.fmrx_set_station({kTuneToFrequency, 98100000, -1, 1});
       }},
      {"at@audapp:fmrx_set_sideband(2)", [](aud_app& a) { return a.fmrx_set_sideband(2); }},
      {"at@audapp:fmrx_set_output_mode(1)", [](aud_app& a) { return a.fmrx_set_output_mode(1); }},
      {"at@audapp:fmrx_forcemono(0)", [](aud_app& a) { return a.fmrx_forcemono(0); }},
      {"at@audapp:fmrx_set_antenna(1)", [](aud_app& a) { return a.fmrx_set_antenna(1); }},
      {"at@audapp:fmrx_set_snc(-20,40,1)",
       [](aud_app& a) {
         return a.fmrx_set_snc({-20, 40, 1});
       }},
      {"at@audapp:fmrx_set_sm(-5,3,1)",
       [](aud_app& a) {
         return a.fmrx_set_sm({-5, 3, 1});
       }},
      {"at@audapp:fmrx_set_volume(1,112)",
       [](aud_app& a) {
         return a.fmrx_set_volume({kVolumeLeft, 112});
       }},
      {"at@audapp:fmrx_set_rds(1,2,1000)",
       [](aud_app& a) {
         return a.fmrx_set_rds({1, 2, 1000});
       }},
      {"at@audapp:fmrx_set_rssi(1,-10,60)",
       [](aud_app& a) {
         return a.fmrx_set_rssi({1, -10, 60});
       }},
      {"at@audapp:fmrx_set_gain_control(1,7)",
       [](aud_app& a) {
         return a.fmrx_set_gain_control({1, 7});
       }},
      {"at@audapp:fmr_get_version()", [&r](aud_app& a) { return a.fmr_get_version(r.version); }},
      {"at@audapp:fmrx_get_static_config()",
       [&r](aud_app& a) { return a.fmrx_get_static_config(r.config); }},
      {"at@audapp:fmrx_get_dynamic_data()",
       [&r](aud_app& a) { return a.fmrx_get_dynamic_data(r.data); }},
      {"at@audapp:fmrx_get_rds_data()", [&r](aud_app& a) { return a.fmrx_get_rds_data(r.rds); }},
      {"at@audapp:fmrx_get_auto_seek_report()",
       [&r](aud_app& a) { return a.fmrx_get_auto_seek_report(r.seek); }},
      {"at@audapp:fmr_disable()", [](aud_app& a) { return a.fmr_disable(); }},
  };
}

}  // namespace MANAGED_IF
