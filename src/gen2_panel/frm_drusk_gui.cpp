// The window: construction, the binding of handlers and showing.
#include "gen2_panel/frm_drusk_gui.h"

#include <memory>

#include "gen2_panel/command_set_keeper.h"

namespace gen2_panel {

Tfrm_DruskGUI::Tfrm_DruskGUI(ui::Application& app, const common::ModuleContext& context)
    : ui::Form(app, "Tfrm_DruskGUI"), context_(context) {
  CreateControls();
  BindHandlers();
  // A new, unopened session: the command set copies its ids and opens one
  // of its own.
  MANAGED_IF::TransportWrapper fresh(context);
  command_set_ = &KeepCommandSet(std::make_unique<MANAGED_IF::aud_app>(fresh));
}

void Tfrm_DruskGUI::BindHandlers() {
  OnShow = [this] { FormShow(); };
  btn_onoff->OnClick = [this] { btn_onoffClick(); };
  btn_setband->OnClick = [this] { btn_setbandClick(); };
  cb_sideband->OnChange = [this] { cb_sidebandChange(); };
  cb_forcemono->OnClick = [this] { cb_forcemonoClick(); };
  cb_snc->OnClick = [this] { cb_sncClick(); };
  cb_softmute->OnClick = [this] { cb_softmuteClick(); };
  cb_agc->OnClick = [this] { cb_agcClick(); };
  cb_gaincontrol->OnClick = [this] { cb_gaincontrolClick(); };
  cb_dspmode->OnClick = [this] { cb_dspmodeClick(); };
  cb_audiooutput->OnClick = [this] { cb_audiooutputClick(); };
  cb_antenna->OnClick = [this] { cb_antennaClick(); };
  btn_set_station->OnClick = [this] { btn_set_stationClick(); };
  btn_seekup->OnClick = [this] { btn_seekupClick(); };
  btn_seekdown->OnClick = [this] { btn_seekdownClick(); };
  btn_findstation->OnClick = [this] { btn_findstationClick(); };
  cb_rssi->OnClick = [this] { cb_rssiClick(); };
  CheckBox_rds->OnClick = [this] { CheckBox_rdsClick(); };
  btn_volume->OnClick = [this] { btn_volumeClick(); };
  cb_band->OnClick = [this] { cb_bandClick(); };
  cb_volume->OnClick = [this] { cb_volumeClick(); };
  e_lvol->OnChange = [this] { e_lvolChange(); };
  e_rvol->OnChange = [this] { e_rvolChange(); };
  cb_mute->OnClick = [this] { cb_muteClick(); };
  cb_station->OnClick = [this] { cb_stationClick(); };
  btn_readall->OnClick = [this] { btn_readallClick(); };
  cb_quickinfo->OnClick = [this] { cb_quickinfoClick(); };
  Timer1->OnTimer = [this] { Timer1Timer(); };
  // The arrows step the volume edits.
  ud_lvol->OnClick = [this](bool) { e_lvol->SetText(std::to_string(ud_lvol->position())); };
  ud_rvol->OnClick = [this](bool) { e_rvol->SetText(std::to_string(ud_rvol->position())); };
}

void Tfrm_DruskGUI::FormShow() {
  auto_seek_pending_ = false;
  ts_fmtx->SetTabVisible(false);
  PageControl1->SetActivePage(ts_fmrx);
}

}  // namespace gen2_panel
