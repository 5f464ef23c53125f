// RDS: switching reception or transmission on and off, the decode log of
// received groups, the replay of an RDS data file, the read-back of what
// the radio's own RDS stack sends, and the programme-type list.
#include <string>

#include "gen1_panel/kelbo_fmr_gui.h"
#include "gen1_panel/programme_types.h"
#include "platform/platform.h"

namespace gen1_panel {

namespace {

constexpr char kRdsOn[] = "RDS On";    // the caption while RDS is off
constexpr char kRdsOff[] = "RDS Off";  // the caption while RDS is on

// The asctime text without its line feed.
std::string RecordTime() {
  std::string time = platform::LocalTimeText();
  if (!time.empty() && time.back() == '\n') time.pop_back();
  return time;
}

}  // namespace

void TKelboFMRGUI::btn_rdsClick() {
  const bool switch_on = btn_rds->caption() == kRdsOn;
  if (!TransmitMode()) {
    if (switch_on) {
      StartRdsReception();
    } else {
      StopRdsReception();
    }
  } else if (!switch_on) {
    StopRdsTransmission();
  } else if (fmr_.parameters().rdsStackOn != 0) {
    StartRdsStack();
  } else {
    StartRdsReplay();
  }
  UpdateFreqDeviation();
}

void TKelboFMRGUI::StartRdsReception() {
  btn_rds->SetCaption(kRdsOff);
  Log("Turn on RDS subscribe");
  // Without a log file the reception runs all the same.
  static_cast<void>(decode_log_.Open(platform::ProgramFolder() + DecodeLog::kFileName));
  SyncParameters(true);
  fmr_.parameters().rdsState = gen1::FmrSwitch::kOn;
  fmr_.AccessRds();
  TRxRDS->SetEnabled(true);
}

void TKelboFMRGUI::StopRdsReception() {
  TRxRDS->SetEnabled(false);
  btn_rds->SetCaption(kRdsOn);
  Log("Turn off RDS subscribe");
  SyncParameters(true);
  fmr_.parameters().rdsState = gen1::FmrSwitch::kOff;
  fmr_.AccessRds();
  for (ui::Label* label : {LData, LData2, LStatus, LStatus2}) label->SetCaption("");
  decode_log_.Close();
}

void TKelboFMRGUI::StartRdsStack() {
  fmr_.parameters().rdsState = gen1::FmrSwitch::kOn;
  fmr_.WriteTxRds();
  TTxRDS2->SetEnabled(true);
  btn_rds->SetCaption(kRdsOff);
  Log("Turn on RDS subscribe");
  SyncParameters(true);
}

void TKelboFMRGUI::StartRdsReplay() {
  OpenDialog1->title = "Open RDS Data file";
  OpenDialog1->filter = "Log File (*.log)|*.log|Any File (*.*)|*.*";
  OpenDialog1->default_ext = "*.log";
  if (!OpenDialog1->Execute() || OpenDialog1->file_name.empty()) return;

  // A file that cannot be opened replays as an empty one.
  replay_lines_ = ReadRdsDataFile(OpenDialog1->file_name);
  replay_position_ = 0;
  LData2->SetCaption(FillTransmitGroups());
  if (!replay_lines_.empty()) SendReplayGroups();
  fmr_.parameters().rdsState = gen1::FmrSwitch::kOn;
  fmr_.WriteTxRds();
  if (!replay_lines_.empty()) TTxRDS1->SetEnabled(true);
  btn_rds->SetCaption(kRdsOff);
  Log("Turn on RDS subscribe");
  SyncParameters(true);
}

void TKelboFMRGUI::StopRdsTransmission() {
  TTxRDS1->SetEnabled(false);
  TTxRDS2->SetEnabled(false);
  btn_rds->SetCaption(kRdsOn);
  Log("Turn off RDS subscribe");
  SyncParameters(true);
  fmr_.parameters().rdsState = gen1::FmrSwitch::kOff;
  fmr_.WriteTxRds();
}

std::string TKelboFMRGUI::FillTransmitGroups() {
  gen1::FmrParameters& p = fmr_.parameters();
  const size_t left =
      replay_lines_.size() > replay_position_ ? replay_lines_.size() - replay_position_ : 0;
  const size_t n = std::min(left, gen1::kRdsTxGroups);
  p.rdsTxGroupCount = static_cast<uint8_t>(n);
  std::string shown;
  for (size_t g = 0; g < n; ++g) {
    const std::string& line = replay_lines_[replay_position_ + g];
    for (size_t b = 0; b < 4; ++b) p.rdsTxGroups[g][b] = RdsDataBlock(line, b);
    shown += line;
  }
  return shown;
}

void TKelboFMRGUI::SendReplayGroups() {
  uint8_t accepted = 0;
  // The position is eight bits wide and wraps.
  if (fmr_.SendRdsGroups(accepted))
    replay_position_ = static_cast<uint8_t>(replay_position_ + accepted);
}

void TKelboFMRGUI::TRxRDSTimer() {
  TRxRDS->SetEnabled(false);
  SyncParameters(true);
  if (TransmitMode()) {
    fmr_.WriteTxRds();
  } else {
    fmr_.AccessRds();
  }
  SyncParameters(false);
  TRxRDS->SetEnabled(true);
}

void TKelboFMRGUI::TTxRDS1Timer() {
  TTxRDS1->SetEnabled(false);
  if (replay_lines_.size() <= replay_position_) replay_position_ = 0;  // from the start again
  LData2->SetCaption(FillTransmitGroups());
  SendReplayGroups();
  SyncParameters(false);
  TTxRDS1->SetEnabled(true);
}

void TKelboFMRGUI::TTxRDS2Timer() {
  TTxRDS2->SetEnabled(false);
  SyncParameters(true);
  fmr_.ReadRdsBlocks();
  SyncParameters(false);
  TTxRDS2->SetEnabled(true);
}

void TKelboFMRGUI::cb_ptcDropDown() {
  const ProgrammeTypeNames& names =
      CBDecode->item_index() == 0 ? RdsProgrammeTypes() : RbdsProgrammeTypes();
  cb_ptc->SetItems(std::vector<std::string>(names.begin(), names.end()));
}

void TKelboFMRGUI::AppendDecodeLogRecord() {
  if (decode_log_.is_open()) decode_log_.Append(fmr_.parameters(), RecordTime());
}

}  // namespace gen1_panel
