#include "platform/fake/FakeFrontEnd.h"

namespace wb::fake {

void FakeFrontEnd::PopupMenu(ui::Form&, ui::MenuItem& menu) {
  Popups.push_back(menu.Name());
  if (PopupChoices.empty()) return;
  std::string choice = PopupChoices.front();
  PopupChoices.erase(PopupChoices.begin());
  if (ui::MenuItem* item = menu.Find(choice)) item->Choose();
}

// A handler of a retired form may still be on the stack here; retired forms are freed only
// at the top of the message loop.
void FakeFrontEnd::DoEvents() { ++DoEventsCalls; }

void FakeFrontEnd::RunModal(ui::Form& form) {
  ModalForms.push_back(form.Name());
  if (OnModal) OnModal(form);
}

}  // namespace wb::fake
