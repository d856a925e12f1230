// The fake window front end: forms have no native side; modal parts and menus are recorded.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/Services.h"

namespace wb::fake {

class FakeFrontEnd : public IFrontEnd {
 public:
  FormPeer* CreatePeer(ui::Form&) override { return nullptr; }
  void DestroyPeer(ui::Form&, FormPeer*) override {}
  // Records the pop-up; when a choice is queued, chooses that item as the user would.
  void PopupMenu(ui::Form& form, ui::MenuItem& menu) override;
  void DoEvents() override;
  // Records the modal form and runs the queued reaction (a test closes the dialog there).
  void RunModal(ui::Form& form) override;
  void Quit() override { QuitCalled = true; }

  std::vector<std::string> Popups;       // names of the menus popped up
  std::vector<std::string> PopupChoices;  // item names to choose, one per pop-up
  std::vector<std::string> ModalForms;
  std::function<void(ui::Form&)> OnModal;
  int DoEventsCalls = 0;
  bool QuitCalled = false;
};

}  // namespace wb::fake
