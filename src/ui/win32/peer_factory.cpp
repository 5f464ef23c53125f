// Picks the native peer of a control's kind.
#include <memory>

#include "ui/control_visitor.h"
#include "ui/win32/control_peers.h"

namespace ui {
namespace {

class PeerFactory final : public ControlVisitor {
 public:
  explicit PeerFactory(PeerSite& site) : site_(site) {}
  std::unique_ptr<ControlPeer> peer;

  void Visit(Form& form) override { Make<FormWindowPeer>(form); }
  void Visit(Button& button) override { Make<ButtonPeer>(button); }
  void Visit(Edit& edit) override { Make<EditPeer>(edit); }
  void Visit(LabeledEdit& edit) override { Make<LabeledEditPeer>(edit); }
  void Visit(CheckBox& box) override { Make<CheckBoxPeer>(box); }
  void Visit(ComboBox& combo) override { Make<ComboBoxPeer>(combo); }
  void Visit(RadioGroup& group) override { Make<RadioGroupPeer>(group); }
  void Visit(Label& label) override { Make<LabelPeer>(label); }
  void Visit(Memo& memo) override { Make<MemoPeer>(memo); }
  void Visit(UpDown& updown) override { Make<UpDownPeer>(updown); }
  void Visit(GroupBox& group) override { Make<GroupBoxPeer>(group); }
  void Visit(PageControl& pages) override { Make<PageControlPeer>(pages); }
  void Visit(TabSheet& sheet) override { Make<TabSheetPeer>(sheet); }

 private:
  template <typename Peer, typename Model>
  void Make(Model& control) {
    peer = std::make_unique<Peer>(site_, control);
  }

  PeerSite& site_;
};

}  // namespace

std::unique_ptr<ControlPeer> MakePeer(PeerSite& site, Control& control) {
  PeerFactory factory(site);
  control.Accept(factory);
  return std::move(factory.peer);
}

}  // namespace ui
