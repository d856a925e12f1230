// The fake window front end: forms have a native side that mirrors nothing; modal parts and
// menus are recorded, and the end of the session can be sent to every window.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Controls.h"
#include "platform/Services.h"

namespace wb::fake {

class FakeFrontEnd : public IFrontEnd {
 public:
  // Each loaded form gets a peer that mirrors nothing; it only lets the front end know which
  // windows exist, as the native one does.
  FormPeer* CreatePeer(ui::Form& form) override;
  void DestroyPeer(ui::Form& form, FormPeer* peer) override;
  // Records the pop-up; when a choice is queued, chooses that item as the user would.
  void PopupMenu(ui::Form& form, ui::MenuItem& menu) override;
  void DoEvents() override;
  // Records the modal form and runs the queued reaction (a test closes the dialog there).
  void RunModal(ui::Form& form) override;
  void Quit() override { QuitCalled = true; }
  ui::Rect WorkArea() override { return Work; }
  // A plain model of a Japanese font: a full-width character as wide as the font's size, a
  // half-width one half that, lines 5/4 of the size apart, ended by the program's own rules.
  int TextHeight(const std::string& text, const ui::Font& font, int width, bool scrollBarRoom) override;

  // Windows ending the session: every window that still exists hears of it, in the order the
  // windows were made, as each top-level window gets WM_ENDSESSION.
  void EndSession();

  std::vector<std::string> Popups;       // names of the menus popped up
  std::vector<std::string> PopupChoices;  // item names to choose, one per pop-up
  std::vector<std::string> ModalForms;
  std::function<void(ui::Form&)> OnModal;
  int DoEventsCalls = 0;
  ui::Rect Work = ui::Px(0, 0, 1280, 760);  // a 1280 x 800 screen at 96 DPI less its taskbar
  bool QuitCalled = false;

 private:
  struct NullPeer : FormPeer {
    void SyncForm(ui::Prop) override {}
    void SyncControl(ui::Control&, ui::Prop) override {}
  };
  bool Exists(const ui::Form* form) const;
  std::vector<std::pair<ui::Form*, std::unique_ptr<NullPeer>>> windows_;
};

}  // namespace wb::fake
