// Long sessions must not make the plug-in grow: after a warm-up, 100,000
// operations of each generation leave the heap in use where it was.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "fmr-sim/gen2/at_server.h"
#include "gen1_panel/kelbo_fmr_gui.h"
#include "gen2/transport_wrapper.h"
#include "gen2_panel/frm_drusk_gui.h"
#include "heap_meter.h"
#include "ui/application.h"
#include "ui/automation.h"
#include "ui/headless/headless_services.h"

namespace {

constexpr int kWarmUp = 1000;
constexpr int kOperations = 100000;

// A first-generation radio that answers every test function with a reply
// of the right length and status 1, and keeps nothing.
class QuietRadio : public common::HostLink {
 public:
  bool Send(common::HostChannel, uint16_t message_id, uint16_t, const void*, uint16_t& reply_length,
            void* reply) override {
    static const std::map<uint16_t, uint16_t> kLengths = {{0x01, 2},  {0x03, 48},  {0x23, 56},
                                                          {0x3A, 16}, {0x07, 168}, {0x04, 12}};
    const auto it = kLengths.find(message_id);
    reply_length = it != kLengths.end() ? it->second : 2;
    static_cast<uint8_t*>(reply)[0] = 1;
    static_cast<uint8_t*>(reply)[1] = 0;
    return true;
  }
  std::optional<std::string_view> LastError() override { return "No errors"; }
  void Log(const char*, common::LogFlag) override {}
};

// Bytes in use after `run` has been done `kOperations` times, less those
// in use before (after a warm-up of its own). The simulated handset's
// server thread finishes its answer after the plug-in has it: each reading
// waits a moment for it.
template <typename Run>
long Growth(Run run) {
  const auto settled = [] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return heap_meter::BytesInUse();
  };
  for (int i = 0; i < kWarmUp; ++i) run();
  const size_t before = settled();
  for (int i = 0; i < kOperations; ++i) run();
  return static_cast<long>(settled()) - static_cast<long>(before);
}

// The panels' surroundings; the second generation's tests start the
// simulated handset on a free port, with TESSIC.dll pointed at it.
class HeapGrowth : public ::testing::Test {
 protected:
  ~HeapGrowth() override { MANAGED_IF::TransportWrapper::Unload(); }
  void StartHandset() {
    fmrsim::AtServerConfig config;
    config.port = 0;
    std::string error;
    server_ = fmrsim::AtServer::Start(std::move(config), error);
    if (!server_) throw std::runtime_error(error);
    ::setenv("TESSIC_AT_SERVER", ("127.0.0.1:" + std::to_string(server_->port())).c_str(), 1);
  }
  common::ModuleContext Context() { return common::ModuleContext{radio_, services_}; }

  ui::HeadlessServices services_;
  ui::Application app_{services_};
  QuietRadio radio_;
  std::unique_ptr<fmrsim::AtServer> server_;
};

TEST_F(HeapGrowth, FirstGenerationOperations) {
  gen1_panel::TKelboFMRGUI panel(app_, Context());
  panel.Show();
  ASSERT_EQ(ui::RunAutomation(panel, "click BtnFMREnable"), "ok");
  // A read, a write and a warning box each round.
  EXPECT_EQ(Growth([&] {
              ui::RunAutomation(panel, "click BtnReadFrequency");
              ui::RunAutomation(panel, "click BtnWriteFrequency");
              ui::RunAutomation(panel, "type LEVolume 0");
              ui::RunAutomation(panel, "leave LEVolume");
            }),
            0);
}

TEST_F(HeapGrowth, SecondGenerationOperations) {
  StartHandset();
  gen2_panel::Tfrm_DruskGUI panel(app_, Context());
  panel.Show();
  ASSERT_EQ(ui::RunAutomation(panel, "type le_frequency 98100000"), "ok");
  EXPECT_EQ(Growth([&] { ui::RunAutomation(panel, "click btn_set_station"); }), 0);
}

// Every show of the panel keeps its command set for good; an exchange must
// not make it keep more: 1,000 reopens with a command each grow the heap as
// much as 1,000 without, give or take 1 MB.
TEST_F(HeapGrowth, SecondGenerationReopens) {
  StartHandset();
  const auto reopens = [&](const char* command) {
    const size_t before = heap_meter::BytesInUse();
    for (int i = 0; i < 1000; ++i) {
      gen2_panel::Tfrm_DruskGUI panel(app_, Context());
      panel.Show();
      if (command != nullptr) ui::RunAutomation(panel, command);
    }
    return static_cast<long>(heap_meter::BytesInUse()) - static_cast<long>(before);
  };
  const long without = reopens(nullptr);
  const long with = reopens("click btn_set_station");
  std::printf("1,000 reopens: %ld bytes kept without a command, %ld with one each\n", without,
              with);
  EXPECT_LT(with - without, 1L << 20);
}

}  // namespace
