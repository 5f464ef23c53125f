// The exported setters and CanRun, the log output, the exported automation
// function; choosing the panel from the chip-version probe, and the window
// life cycle.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <functional>
#include <new>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "form_probe.h"
#include "host/exports.h"
#include "host/host_interface.h"
#include "host/host_state.h"
#include "host/host_table_link.h"
#include "host/panel_selection.h"
#include "recording_host.h"
#include "test_folder.h"
#include "ui/application.h"
#include "ui/automation.h"
#include "ui/form.h"

namespace {

// The recording host installed in the loaded library's host table, as a
// real host drives the library through its exports: slots 3, 15, 54, 56 and
// 77 (by number as the host knows them, not by the library's own names for
// them), the log callback and a communication handle. The module has one
// table, so one instance at a time.
class TableHost : public testing_host::RecordingHost {
 public:
  TableHost() {
    current = this;
    Install();
    SetShowLineFunc(&ShowLine);
    SetComHandle(0x00C0FFEE);
  }
  ~TableHost() override {
    SetShowLineFunc(nullptr);
    const std::array<void*, host::kHostSlotCount> empty{};
    SetFuncInterface(empty.data(), static_cast<int32_t>(host::kHostTableBytes));
    current = nullptr;
  }

  // The communication handle of every send, in order.
  std::vector<uint32_t> com_handles;

  // Installs the table again, without `missing_slot` (as a host that leaves it empty).
  void Install(std::optional<size_t> missing_slot = std::nullopt) {
    std::array<void*, host::kHostSlotCount> table{};
    table[3] = reinterpret_cast<void*>(&GetLastError);
    table[15] = reinterpret_cast<void*>(&SendSlot<common::HostChannel::kAudioRequest>);
    table[54] = reinterpret_cast<void*>(&SendSlot<common::HostChannel::kAtCommand>);
    table[56] = reinterpret_cast<void*>(&SendSlot<common::HostChannel::kInfoRequest>);
    table[77] = reinterpret_cast<void*>(&SendSlot<common::HostChannel::kTestFunction>);
    if (missing_slot) table[*missing_slot] = nullptr;
    SetFuncInterface(table.data(), static_cast<int32_t>(host::kHostTableBytes));
  }

  // The host's log callback.
  static void ShowLine(const char* text, uint8_t flag) {
    current->Log(text, static_cast<common::LogFlag>(flag));
  }

 private:
  static inline TableHost* current = nullptr;

  static const char* GetLastError() {
    static std::string text;
    text = std::string(current->LastError().value_or(""));
    return text.c_str();
  }
  template <common::HostChannel kChannel>
  static uint8_t SendSlot(uint16_t id, uint16_t length, const void* request, uint16_t* reply_length,
                          void* reply, uint32_t com_handle) {
    current->com_handles.push_back(com_handle);
    return current->Send(kChannel, id, length, request, *reply_length, reply) ? 1 : 0;
  }
};

// A table fills the slots its size covers and empties the rest; an invalid
// one keeps the table before it. CanRun follows slot 77.
TEST(Exports, TheTableSizeDecidesTheSlotsAndCanRunFollowsTheTestFunctionSlot) {
  std::vector<void*> table(host::kHostSlotCount + 10, nullptr);
  int marker = 0;
  for (auto& slot : table) slot = &marker;
  const auto install = [&](size_t slots) {
    SetFuncInterface(table.data(), static_cast<int32_t>(slots * sizeof(void*)));
    return CanRun();
  };
  EXPECT_EQ(install(table.size()), 1);
  EXPECT_EQ(install(host::kSlotSendTestFunction), 0);
  EXPECT_EQ(host::Host().table[host::kSlotSendTestFunction - 1], &marker);
  EXPECT_EQ(install(host::kSlotSendTestFunction + 1), 1);
  EXPECT_EQ(host::Host().table[host::kSlotSendTestFunction + 1], nullptr);
  table[host::kSlotSendTestFunction] = nullptr;
  EXPECT_EQ(install(table.size()), 0);
  EXPECT_EQ(host::Host().table[host::kHostSlotCount - 1], &marker);

  install(4);
  SetFuncInterface(nullptr, 100);
  SetFuncInterface(table.data(), 0);
  SetFuncInterface(table.data(), -8);
  EXPECT_EQ(host::Host().table[3], &marker);
  EXPECT_EQ(host::Host().table[4], nullptr);
}

// The link over the host table: each channel goes to its own slot with the
// handle set last, an empty slot fails without a call, the error text comes
// from slot 3 while it is filled, and log lines keep their flag until the
// callback is taken away. Attaching the library forgets the log callback
// and the handle; the baseband type and the get-interface value change
// nothing that is used.
TEST(Exports, TheLinkUsesTheSlotsHandleAndLogCallbackAsSet) {
  TableHost host;
  common::HostLink& link = host::ModuleHostLink();
  host.AnswerText("x");
  int value = 0;
  SetBasebandType(7);
  SetGetInterface(&value);
  EXPECT_EQ(host::Host().get_interface, &value);
  const std::vector<common::HostChannel> channels = {
      common::HostChannel::kTestFunction, common::HostChannel::kAtCommand,
      common::HostChannel::kAudioRequest, common::HostChannel::kInfoRequest};
  uint8_t reply[8] = {};
  uint16_t length = 0;
  for (uint32_t i = 0; i < channels.size(); ++i) {
    SetComHandle(100 + i);
    EXPECT_TRUE(link.Send(channels[i], 5, 0, nullptr, length, reply));
    EXPECT_EQ(host.calls.at(i).channel, channels[i]);
  }
  EXPECT_EQ(host.com_handles, (std::vector<uint32_t>{100, 101, 102, 103}));
  host.Install(host::kSlotSendInfoRequest);
  EXPECT_FALSE(link.Send(common::HostChannel::kInfoRequest, 9, 0, nullptr, length, reply));
  EXPECT_EQ(host.calls.size(), channels.size());
  EXPECT_EQ(link.LastError(), std::optional<std::string_view>("No errors"));
  host.Install(host::kSlotGetLastError);
  EXPECT_EQ(link.LastError(), std::nullopt);
  link.Log("failed", common::LogFlag::kFailure);
  host::ShowLine("fine", 1);
  SetShowLineFunc(nullptr);
  host::ShowLine("dropped", 1);
  EXPECT_EQ(host.Transcript(), "!failed|fine");
  host::HostAttach();
  EXPECT_EQ(host::Host().com_handle, 0xFFFFFFFFu);
  EXPECT_EQ(host::Host().show_line, nullptr);
}

class Panel : public ::testing::Test {
 protected:
  TableHost host;
  int host_app = 0;

  void TearDown() override {
    if (host::Host().current_panel != nullptr) CloseMDIChildForm(&host_app);
  }
  // The export's return value and the reply in a buffer of `size` bytes
  // ("?" for every byte it left alone), as "2 ok".
  static std::string Automate(const char* command, size_t size = 64) {
    std::string reply(size - 1, '?');
    const int32_t result = SonvioAutomate(command, reply.data(), static_cast<int32_t>(size));
    return std::to_string(result) + " " + reply.c_str();
  }
};

// No panel, replies cut to the caller's buffer, and the null command that
// fetches the last reply again.
TEST_F(Panel, AutomationExportNoPanelTruncatedRepliesAndNullCommandRefetch) {
  EXPECT_EQ(Automate("list"), "-1 ");

  host.AnswerText("1021");
  ShowMDIChildForm(&host_app);
  const std::string full = ui::RunAutomation(*host::Host().current_panel, "get KelboFMRGUI");
  EXPECT_EQ(Automate("get KelboFMRGUI", 8), std::to_string(full.size()) + " " + full.substr(0, 7));

  // A null command fetches the same reply again without running anything:
  // a click would log (and so reach the host) a second time.
  ASSERT_EQ(Automate("click BtnFMREnable", 8), "2 ok");
  host.Clear();
  EXPECT_EQ(Automate(nullptr), "2 ok");
  EXPECT_TRUE(host.calls.empty());
  EXPECT_TRUE(host.log.empty());
}

// The probe goes over the AT-command slot with message id 0 and the host's
// handle; "947" anywhere in the reply's text, or a failed call, gives the
// second-generation panel, anything else the first. Either gets the help
// keyword and the version caption and is shown. A reply that fills the whole
// buffer is not read past its end.
TEST_F(Panel, TheChipProbeChoosesThePanel) {
  std::string full(200, 'x');
  EXPECT_FALSE(host::IsSecondGenerationReply(full.data(), full.size()));
  EXPECT_TRUE(host::IsSecondGenerationReply(full.replace(197, 3, "947").data(), full.size()));
  const struct {
    std::optional<std::string> reply;  // none: the host call fails
    const char* panel;
  } cases[] = {
      {"+CHIPVER: DR947 rev 2", "frm_DruskGUI"},
      {"9470", "frm_DruskGUI"},
      {"+CHIPVER: 1021", "KelboFMRGUI"},
      {"", "KelboFMRGUI"},
      {"94-7", "KelboFMRGUI"},
      {std::string("12\0947", 6), "KelboFMRGUI"},  // the text ends at its zero
      {std::nullopt, "frm_DruskGUI"},
  };
  SetComHandle(0x12345678);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reply.value_or("(failed)"));
    host.Clear();
    host.com_handles.clear();
    host.Queue(c.reply ? testing_host::TextReply(*c.reply) : testing_host::HostFailure("down"));
    ShowMDIChildForm(&host_app);
    const testing_host::HostCall& probe = host.calls.at(0);
    EXPECT_EQ(
        std::tuple(probe.channel, probe.message_id, probe.Text(), host.com_handles.at(0)),
        std::tuple(common::HostChannel::kAtCommand, 0, "at@ver:get_chip_ver(0)", 0x12345678u));
    ui::Form* panel = host::Host().current_panel;
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(std::tuple(panel->name(), panel->shown(), panel->help_keyword(),
                         panel->caption().substr(0, 18)),
              std::tuple(c.panel, true, "SonvioHelp.chm::/SonvioHelp/Sonvio.html#SONVIO",
                         "Sonvio - Version: "));
    CloseMDIChildForm(&host_app);
    EXPECT_EQ(host::Host().current_panel, nullptr);
  }
}

// The first show or close installs the host's application object; later
// ones leave it, and detaching puts the library's own back. Closing without
// a panel, or twice, does nothing more.
TEST_F(Panel, TheFirstCallInstallsTheHostApplicationObject) {
  host::HostDetach();
  void* own = host::OwnApplication().handle();
  int first = 0, second = 0;
  const size_t forms = host::OwnApplication().form_count();
  CloseMDIChildForm(&first);
  EXPECT_EQ(host::OwnApplication().handle(), &first);
  host.AnswerText("1021");
  ShowMDIChildForm(&second);
  EXPECT_EQ(host::OwnApplication().handle(), &first);
  EXPECT_EQ(host::OwnApplication().form_count(), forms + 1);
  CloseMDIChildForm(&second);
  CloseMDIChildForm(&second);
  EXPECT_EQ(host::OwnApplication().form_count(), forms);
  EXPECT_EQ(host::OwnApplication().handle(), &first);
  host::HostDetach();
  EXPECT_EQ(host::OwnApplication().handle(), own);
}

// A host that closes the panel from its log callback (a Windows host that
// pumps messages while it logs can do this) while a handler of that panel
// runs: the panel goes when the handler has returned. Under the address
// sanitizer a panel freed under its own feet fails this test.
const char* g_close_on = nullptr;
int g_close_app = 0;

void ClosingLog(const char* text, uint8_t flag) {
  TableHost::ShowLine(text, flag);
  if (g_close_on != nullptr && std::strcmp(text, g_close_on) == 0) {
    CloseMDIChildForm(&g_close_app);
    CloseMDIChildForm(&g_close_app);  // asked twice: closed once
  }
}

TEST_F(Panel, APanelClosedFromTheLogCallbackGoesWhenItsHandlerReturns) {
  const struct {
    const char *reply, *command, *close_on;
  } cases[] = {
      {"1021", "click BtnFMREnable", "FMR ON"},
      {"947", "click btn_onoff", "Configure audio path before switching on FMR"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    host.AnswerText(c.reply);
    ShowMDIChildForm(&host_app);
    ASSERT_NE(host::Host().current_panel, nullptr);
    const size_t forms = host::OwnApplication().form_count();
    g_close_on = c.close_on;
    SetShowLineFunc(&ClosingLog);
    EXPECT_EQ(Automate(c.command), "2 ok");
    EXPECT_EQ(host::Host().current_panel, nullptr);
    EXPECT_EQ(host::OwnApplication().form_count(), forms - 1);
    g_close_on = nullptr;
  }
}

// A settings file or an RDS data file that is no regular file (a FIFO, a
// link to an endless device, a folder) reads as empty: no export waits for a
// FIFO's writer or reads without end, and the files stay what they were.
TEST_F(Panel, SettingsAndRdsDataFilesThatAreNoFilesReadAsEmpty) {
  namespace fs = std::filesystem;
  const testing_files::TestFolder folder("SONVIO_CONFIG_DIR");
  const fs::path ini = folder.path() / "Sonvio.ini", data = folder.path() / "groups.log";
  const std::pair<const char*, std::function<void(const fs::path&)>> kinds[] = {
      {"FIFO", [](const fs::path& p) { ::mkfifo(p.c_str(), 0666); }},
      {"link to /dev/zero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }},
      {"folder", [](const fs::path& p) { fs::create_directory(p); }},
  };
  // A handset that lets the transmitter be powered on (0x11) and nothing else.
  host.responder = [](const testing_host::HostCall& call) {
    if (call.channel == common::HostChannel::kAtCommand) return testing_host::TextReply("1021");
    return call.message_id == 0x11 ? testing_host::StatusReply(2)
                                   : testing_host::HostFailure("offline");
  };
  ::alarm(60);  // an export that waits for ever fails the test
  for (const auto& [what, make] : kinds) {
    SCOPED_TRACE(what);
    make(ini);
    make(data);
    const fs::file_type type = fs::symlink_status(ini).type();
    host.Clear();
    ShowMDIChildForm(&host_app);
    for (const std::string& command : std::vector<std::string>{
             "select CBTMode 1", "click BtnFMREnable", "click btn_load", "check cbx_rds_stack 0",
             "answer-file " + data.string(), "click btn_rds", "advance 3000"}) {
      EXPECT_EQ(Automate(command.c_str()), "2 ok") << command;
    }
    // Switched on without a replay: the file read as empty.
    EXPECT_EQ(testing_form::Showing(*host::Host().current_panel, "btn_rds TTxRDS1"),
              "btn_rds=RDS Off TTxRDS1=0");
    CloseMDIChildForm(&host_app);
    EXPECT_EQ(fs::symlink_status(ini).type(), type);
    fs::remove(ini);
    fs::remove(data);
  }
  ::alarm(0);
}

// An exception inside an export (here the host's own send running out of
// memory, first in the chip probe, then in a click's handler) stops at the
// boundary: the host's log gets one failure line, the export returns its
// failure value, and the next calls work.
TEST_F(Panel, AnExceptionNeverLeavesAnExport) {
  bool out_of_memory = true;
  host.responder = [&](const testing_host::HostCall&) {
    if (out_of_memory) throw std::bad_alloc();
    return testing_host::TextReply("1021");
  };
  ShowMDIChildForm(&host_app);
  EXPECT_EQ(host::Host().current_panel, nullptr);
  EXPECT_EQ(host.Transcript(), "!Internal error in ShowMDIChildForm: std::bad_alloc");
  out_of_memory = false;
  ShowMDIChildForm(&host_app);
  ASSERT_NE(host::Host().current_panel, nullptr);

  host.Clear();
  out_of_memory = true;
  EXPECT_EQ(Automate("click BtnFMREnable"), "-1 ");
  EXPECT_EQ(host.Transcript(),
            "FMR ON|Sending to mobile...|!Internal error in SonvioAutomate: std::bad_alloc");
  out_of_memory = false;
  EXPECT_EQ(Automate("click BtnFMREnable"), "2 ok");
  // The handler that threw is over: the panel closes when asked.
  CloseMDIChildForm(&host_app);
  EXPECT_EQ(host::Host().current_panel, nullptr);
}

}  // namespace
