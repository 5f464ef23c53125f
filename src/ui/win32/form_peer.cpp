// A form's peers: creating them and their windows, and mirroring the
// model's state into them.
#include "ui/win32/form_peer.h"

#include "ui/win32/control_peers.h"
#include "ui/win32/window_classes.h"

namespace ui {
namespace {

// Counts nested writes, so notifications they cause are not taken for input.
class Writing {
 public:
  explicit Writing(int& depth) : depth_(depth) { ++depth_; }
  ~Writing() { --depth_; }
  Writing(const Writing&) = delete;
  Writing& operator=(const Writing&) = delete;

 private:
  int& depth_;
};

}  // namespace

FormPeer::FormPeer(Win32Services::Impl& services, Form& form) : services_(services), form_(form) {}

FormPeer::~FormPeer() {
  if (window_ == nullptr) return;
  // No message of the dying windows may reach the model any more.
  for (const auto& [container, peer] : containers_)
    ::SetWindowLongPtrA(container, GWLP_USERDATA, 0);
  window_ = nullptr;
  form_window_->Destroy();
}

void FormPeer::Forget() {
  window_ = nullptr;
  root_ = nullptr;
  form_window_ = nullptr;
  peers_.clear();
  by_window_.clear();
  containers_.clear();
}

bool FormPeer::Create(HWND mdi_client) {
  CreatePeer(form_, mdi_client);
  // The peer the form's kind picks.
  form_window_ = static_cast<FormWindowPeer*>(PeerOf(form_));
  if (form_window_ == nullptr || form_window_->window() == nullptr) return false;
  window_ = form_window_->window();
  root_ = form_window_->ChildParent();
  for (const auto& component : form_.components()) {
    if (Control* control = component->AsControl()) Mirror(*control);
  }
  Mirror(form_);
  Relayout();
  Reshow();
  return true;
}

void FormPeer::CreatePeer(Control& control, HWND parent) {
  std::unique_ptr<ControlPeer> made = MakePeer(*this, control);
  if (made == nullptr) return;
  ControlPeer& peer = *made;
  peers_[&control] = std::move(made);
  peer.Create(parent);
  if (HWND children = peer.ChildParent()) {
    for (Control* child : control.children()) CreatePeer(*child, children);
    peer.ChildrenCreated();
  }
}

void FormPeer::Reshow() {
  if (window_ != nullptr) form_window_->Reshow();
}

HWND FormPeer::Handle(const Control& control) const {
  const ControlPeer* peer = PeerOf(control);
  return peer != nullptr ? peer->window() : nullptr;
}

HWND FormPeer::ItemHandle(const Control& control, int index) const {
  const ControlPeer* peer = PeerOf(control);
  return peer != nullptr ? peer->item_window(index) : nullptr;
}

Control* FormPeer::ControlOf(HWND window) const {
  // The edit inside an editable combo box belongs to the combo box.
  for (HWND w = window; w != nullptr && w != window_; w = ::GetParent(w)) {
    auto it = by_window_.find(w);
    if (it != by_window_.end()) return &it->second.first->control();
  }
  return nullptr;
}

ControlPeer* FormPeer::PeerOf(const Control& control) const {
  auto it = peers_.find(&control);
  return it == peers_.end() ? nullptr : it->second.get();
}

HWND FormPeer::CreateChild(ControlPeer& peer, const char* window_class, const std::string& text,
                           DWORD style, DWORD ex_style, HWND parent, int item) {
  HWND window =
      ::CreateWindowExA(ex_style, window_class, text.c_str(), WS_CHILD | WS_CLIPSIBLINGS | style, 0,
                        0, 0, 0, parent, nullptr, services_.instance, nullptr);
  if (window == nullptr) return nullptr;
  ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(services_.font), FALSE);
  by_window_[window] = {&peer, item};
  return window;
}

HWND FormPeer::CreateContainer(ControlPeer& peer, HWND parent) {
  HWND window =
      ::CreateWindowExA(0, win32::kContainerClass, "", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                        0, 0, 0, 0, parent, nullptr, services_.instance, nullptr);
  if (window == nullptr) return nullptr;
  ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  containers_[window] = &peer;
  by_window_[window] = {&peer, -1};
  return window;
}

void FormPeer::ComponentChanged(Component& component) {
  if (window_ == nullptr) return;
  Control* control = component.AsControl();
  if (control == nullptr) return;  // timers and dialogs have no window
  Mirror(*control);
  ScheduleRelayout();
}

void FormPeer::Mirror(Control& control) {
  Writing writing(updating_);
  ControlPeer* peer = PeerOf(control);
  if (peer == nullptr) return;
  peer->Mirror();
  peer->MirrorEnabledAndVisible();
  MirrorSubtreeEnabled(control);
}

void FormPeer::MirrorSubtreeEnabled(Control& container) {
  for (Control* child : container.children()) {
    if (ControlPeer* peer = PeerOf(*child)) peer->MirrorEnabledAndVisible();
    MirrorSubtreeEnabled(*child);
  }
}

}  // namespace ui
