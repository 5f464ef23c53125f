#include "host/panel_selection.h"

#include <array>
#include <cstring>
#include <memory>

#include "common/help_keyword.h"
#include "common/version_caption.h"
#include "gen1_panel/kelbo_fmr_gui.h"
#include "gen2_panel/frm_drusk_gui.h"
#include "host/host_state.h"
#include "host/host_table_link.h"
#include "ui/application.h"

namespace host {

namespace {

constexpr size_t kProbeReplySize = 200;
constexpr char kProbeCommand[] = "at@ver:get_chip_ver(0)";

// The first call installs the host's application object in place of the
// library's own; later calls leave it.
void InstallHostApplication(void* host_application) {
  HostState& host = Host();
  if (host.swapped) return;
  host.saved_application = OwnApplication().handle();
  OwnApplication().set_handle(host_application);
  host.swapped = true;
}

}  // namespace

bool IsSecondGenerationReply(const char* reply, size_t size) {
  const std::string_view text(reply, strnlen(reply, size));
  return text.find("947") != std::string_view::npos;
}

void ShowPanel(void* host_application) {
  InstallHostApplication(host_application);

  std::array<char, kProbeReplySize> reply{};
  char command[64];
  std::strcpy(command, kProbeCommand);
  const uint16_t length = static_cast<uint16_t>(std::strlen(command));
  uint16_t reply_length = 0;
  const bool carried = ModuleHostLink().Send(common::HostChannel::kAtCommand, 0, length, command,
                                             reply_length, reply.data());

  ui::Application& app = OwnApplication();
  std::unique_ptr<ui::Form> panel;
  if (!carried || IsSecondGenerationReply(reply.data(), reply.size())) {
    panel = std::make_unique<gen2_panel::Tfrm_DruskGUI>(app, TheModuleContext());
  } else {
    panel = std::make_unique<gen1_panel::TKelboFMRGUI>(app, TheModuleContext());
  }
  ui::Form& form = app.Adopt(std::move(panel));
  Host().current_panel = &form;
  form.SetHelpKeyword(common::HelpKeyword(1));
  form.SetCaption(common::VersionCaption("Sonvio.dll"));
  form.Show();
}

void ClosePanel(void* host_application) {
  InstallHostApplication(host_application);
  ui::Form* panel = Host().current_panel;
  if (panel == nullptr) return;
  // A host may ask from inside one of the panel's handlers (its log
  // callback, say, while a click is being handled): the panel goes when
  // the outermost handler has returned, never under its own feet.
  OwnApplication().WhenIdle([panel] {
    HostState& host = Host();
    if (host.current_panel != panel) return;  // closed (or replaced) meanwhile
    host.current_panel = nullptr;
    panel->Close();
    OwnApplication().DestroyForm(panel);
  });
}

}  // namespace host
