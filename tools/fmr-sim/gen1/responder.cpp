#include "fmr-sim/gen1/responder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "fmr-sim/gen1/le_bytes.h"

namespace fmrsim {
namespace {

constexpr uint32_t kPilotHz = 19000;
constexpr uint32_t kPmuModeRegister = 28;
constexpr uint32_t kPmuModeDefault = 0x00C04A17;  // bit 22 set: PWM mode

std::string Hex(uint16_t id) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(id));
  return text;
}

}  // namespace

Gen1Responder::Gen1Responder(RadioModel& radio) : radio_(radio) {
  pmu_registers_[kPmuModeRegister] = kPmuModeDefault;
}

void Gen1Responder::InjectFault(uint16_t message_id, Gen1Fault fault) {
  faults_.Set(Gen1FaultTarget{gen1::kSlotTestFunction, message_id, {}}, std::move(fault));
}

void Gen1Responder::InjectSlotFault(int slot, Gen1Fault fault) {
  faults_.Set(Gen1FaultTarget{slot, std::nullopt, {}}, std::move(fault));
}

bool Gen1Responder::AddFault(std::string_view rule, std::string& error) {
  Gen1FaultTarget target;
  Gen1Fault fault;
  if (!ParseGen1Fault(rule, target, fault, error)) return false;
  faults_.Set(target, std::move(fault));
  return true;
}

bool Gen1Responder::Fail(std::string text) {
  last_error_ = std::move(text);
  return false;
}

bool Gen1Responder::Deliver(const Reply& reply, const std::optional<Gen1Fault>& fault,
                            uint16_t* reply_length, uint8_t* out) {
  if (reply_length == nullptr || out == nullptr) {
    return Fail("The host was given no reply buffer");
  }
  uint16_t length = reply.length;
  size_t written = reply.written;
  if (fault && fault->kind == Gen1FaultKind::kWrongLength) {
    length = fault->value.value_or(reply.length > 0 ? static_cast<uint16_t>(reply.length - 1)
                                                    : uint16_t{1});
    // Never write more than the message's own reply would have taken.
    written = std::min<size_t>(written, length);
  }
  std::memcpy(out, reply.bytes.data(), written);
  *reply_length = length;
  last_error_ = "No errors";
  return true;
}

template <typename Handler>
bool Gen1Responder::Exchange(int slot, const gen1::MessageShape& shape, const uint8_t* request,
                             uint16_t length, uint16_t* reply_length, uint8_t* out,
                             Handler handler) {
  const std::optional<Gen1Fault> fault = faults_.Take(slot, shape.id);
  if (fault && fault->kind == Gen1FaultKind::kHostFailure) {
    return Fail(!fault->error_text.empty() ? fault->error_text
                                           : "Simulated failure of message " + Hex(shape.id) +
                                                 " on slot " + std::to_string(slot));
  }
  Reply reply;
  reply.length = shape.reply_bytes;
  reply.written = shape.reply_bytes;
  const Out body(reply.bytes.data(), shape.reply_bytes);
  uint16_t status = gen1::kStatusOk;
  if (fault && fault->kind == Gen1FaultKind::kBadStatus) {
    status = fault->value.value_or(0);  // the radio refused: nothing happens
  } else if (length != shape.request_bytes || (length > 0 && request == nullptr)) {
    status = gen1::kStatusBadRequest;
  } else {
    status = handler(Request(request, length), body);
  }
  if (status != gen1::kStatusOk) std::fill(body.begin(), body.end(), uint8_t{0});
  le::Put16(body, 0, status);
  if (fault && fault->kind == Gen1FaultKind::kValue && status == gen1::kStatusOk) {
    ChangeReplyField(reply.bytes.data(), shape.reply_bytes, *fault);
  }
  return Deliver(reply, fault, reply_length, out);
}

bool Gen1Responder::SendTestFunction(uint16_t id, const uint8_t* request, uint16_t length,
                                     uint16_t* reply_length, uint8_t* reply) {
  const gen1::MessageShape* shape = gen1::FindTestFunction(id);
  if (shape == nullptr) {
    // An unknown id still meets the fault table, so a slot-wide fault holds.
    const std::optional<Gen1Fault> fault = faults_.Take(gen1::kSlotTestFunction, id);
    if (fault && fault->kind == Gen1FaultKind::kHostFailure && !fault->error_text.empty()) {
      return Fail(fault->error_text);
    }
    return Fail("Test function " + Hex(id) + " is not supported by the simulated handset");
  }
  return Exchange(gen1::kSlotTestFunction, *shape, request, length, reply_length, reply,
                  [&](Request req, Out out) { return Dispatch(id, req, out); });
}

bool Gen1Responder::SendAudioRequest(uint16_t id, const uint8_t* request, uint16_t length,
                                     uint16_t* reply_length, uint8_t* reply) {
  if (id != gen1::kAudioOutputId) {
    return Fail("Audio request " + Hex(id) + " is not supported by the simulated handset");
  }
  return Exchange(gen1::kSlotAudioRequest, gen1::kAudioOutput, request, length, reply_length, reply,
                  [&](Request req, Out out) { return OnSetAudioOutput(req, out); });
}

bool Gen1Responder::SendInfoRequest(uint16_t id, const uint8_t* request, uint16_t length,
                                    uint16_t* reply_length, uint8_t* reply) {
  const std::optional<Gen1Fault> fault = faults_.Take(gen1::kSlotInfoRequest, id);
  if (fault && fault->kind == Gen1FaultKind::kHostFailure) {
    return Fail(!fault->error_text.empty() ? fault->error_text
                                           : "Simulated failure of info request " + Hex(id));
  }
  if (id != gen1::kInfoTextId) {
    return Fail("Info request " + Hex(id) + " is not supported by the simulated handset");
  }
  Reply r;
  const Out body(r.bytes.data(), gen1::kTextReplyCapacity);
  Request req;
  if (request != nullptr) req = Request(request, length);
  const bool known = req.size() == gen1::kInfoTextRequestBytes &&
                     le::U8(req, 1) == gen1::kVersionSelector && le::U8(req, 0) == 0;
  if (fault && fault->kind == Gen1FaultKind::kBadStatus) {
    le::Put8(body, 0, static_cast<uint8_t>(fault->value.value_or(0)));
    r.length = 2;
  } else if (known) {
    const size_t n = std::min(version_text_.size(), gen1::kTextReplyCapacity - 2);
    le::Put8(body, 0, 1);
    std::memcpy(r.bytes.data() + 1, version_text_.data(), n);
    r.length = static_cast<uint16_t>(n + 2);
  } else {
    r.length = 2;  // byte 0 = 0: no such text, and an empty one
  }
  r.written = r.length;
  return Deliver(r, fault, reply_length, reply);
}

bool Gen1Responder::SendAtCommand(uint16_t id, const uint8_t* request, uint16_t length,
                                  uint16_t* reply_length, uint8_t* reply) {
  std::string_view command;
  if (request != nullptr)
    command = std::string_view(reinterpret_cast<const char*>(request), length);
  if (const size_t nul = command.find('\0'); nul != std::string_view::npos) {
    command = command.substr(0, nul);
  }
  const std::optional<Gen1Fault> fault = faults_.Take(gen1::kSlotAtCommand, id, command);
  if (fault && fault->kind == Gen1FaultKind::kHostFailure) {
    return Fail(!fault->error_text.empty() ? fault->error_text
                                           : "Simulated failure of the AT command channel");
  }
  const std::string text =
      fault && fault->kind == Gen1FaultKind::kBadStatus ? "ERROR" : AnswerAtCommand(command);
  Reply r;
  const size_t n = std::min(text.size(), gen1::kTextReplyCapacity - 1);
  std::memcpy(r.bytes.data(), text.data(), n);
  r.length = static_cast<uint16_t>(n);
  r.written = static_cast<uint16_t>(n + 1);
  return Deliver(r, fault, reply_length, reply);
}

uint16_t Gen1Responder::Dispatch(uint16_t id, Request req, Out out) {
  switch (id) {
    case gen1::kProbe:
      return OnProbe(out);
    case gen1::kRxPowerOn:
      return OnRxPowerOn(req);
    case gen1::kRxPowerOff:
      return OnRxPowerOff();
    case gen1::kReadRxStatus:
      return OnReadRxStatus(out);
    case gen1::kRxTune:
      return OnRxTune(req, out);
    case gen1::kWriteRxAudio:
      return OnWriteRxAudio(req, out);
    case gen1::kReadRxAudio:
      return OnReadRxAudio(out);
    case gen1::kAccessRds:
      return OnAccessRds(req, out);
    case gen1::kAccessRssi:
      return OnAccessRssi(req, out);
    case gen1::kAccessRegister:
      return OnAccessRegister(req, out);
    case gen1::kWriteGain:
      return OnWriteGain(req);
    case gen1::kReadGain:
      return OnReadGain(out);
    case gen1::kSetAntenna:
      return OnSetAntenna(req);
    case gen1::kSetTestTone:
      return OnSetTestTone(req);
    case gen1::kTxPowerOn:
      return OnTxPowerOn(req);
    case gen1::kTxPowerOff:
      return OnTxPowerOff();
    case gen1::kTxTune:
      return OnTxTune(req);
    case gen1::kTxScan:
      return OnTxScan(req, out);
    case gen1::kWriteTxAudio:
      return OnWriteTxAudio(req);
    case gen1::kWriteTxRds:
      return OnWriteTxRds(req);
    case gen1::kSetChirp:
      return OnSetChirp(req);
    case gen1::kReadTxStatus:
      return OnReadTxStatus(out);
    case gen1::kSendRdsGroups:
      return OnSendRdsGroups(req, out);
    case gen1::kReadRdsBlocks:
      return OnReadRdsBlocks(out);
    case gen1::kReadTxRds:
      return OnReadTxRds(out);
    case gen1::kReadPowerState:
      return OnReadPowerState(out);
    case gen1::kReadRadioInfo:
      return OnReadRadioInfo(out);
    default:
      return gen1::kStatusBadRequest;
  }
}

int16_t Gen1Responder::ReportedRssi() const {
  if (!radio_.powered()) return 0;
  return static_cast<int16_t>(std::clamp(radio_.Rssi() + rssi_.offset, -32768, 32767));
}

uint8_t Gen1Responder::ReportedStereo() const {
  return radio_.powered() && !radio_.transmitting() && radio_.Stereo() && rx_tuning_.force_mono == 0
             ? 1
             : 0;
}

uint32_t Gen1Responder::PilotFrequency() const {
  return radio_.powered() && !radio_.transmitting() && radio_.Stereo() ? kPilotHz : 0;
}

uint16_t Gen1Responder::RxStatusWord() const {
  uint16_t word = 0;
  if (radio_.powered()) word |= 0x0001;
  if (radio_.powered() && !radio_.transmitting()) word |= 0x0002;
  if (ReportedRssi() >= rx_tuning_.scan_min_rssi && radio_.CurrentStation() != nullptr) {
    word |= 0x0004;
  }
  if (ReportedStereo() != 0) word |= 0x0008;
  if (rds_rx_.enabled()) word |= 0x0010;
  if (rds_rx_.enabled() && radio_.powered() && RdsReceiver::InSync(radio_)) {
    word |= 0x0020;
  }
  return word;
}

bool Gen1Responder::ValidBand(uint32_t low_hz, uint32_t high_hz, uint32_t spacing_hz) const {
  return low_hz >= gen1::kSynthLowHz && high_hz <= gen1::kSynthHighHz && low_hz < high_hz &&
         spacing_hz >= gen1::kMinSpacingHz && spacing_hz <= high_hz - low_hz;
}

std::optional<Band> Gen1Responder::PowerOnFromRequest(Request req, bool transmit) {
  const uint32_t frequency = le::U32(req, 0);
  const Band band{
      .low_hz = le::U32(req, 12), .high_hz = le::U32(req, 8), .spacing_hz = le::U32(req, 16)};
  if (!ValidBand(band.low_hz, band.high_hz, band.spacing_hz)) return std::nullopt;

  radio_.PowerOn(transmit);
  radio_.SetBand(band);
  if (!radio_.Tune(frequency)) radio_.Tune(band.low_hz);
  return band;
}

}  // namespace fmrsim
