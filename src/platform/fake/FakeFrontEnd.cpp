#include "platform/fake/FakeFrontEnd.h"

#include <algorithm>

namespace wb::fake {

FormPeer* FakeFrontEnd::CreatePeer(ui::Form& form) {
  windows_.emplace_back(&form, std::make_unique<NullPeer>());
  return windows_.back().second.get();
}

// A derived front end may hand out peers of its own: the window is known by its form.
void FakeFrontEnd::DestroyPeer(ui::Form& form, FormPeer*) {
  std::erase_if(windows_, [&form](const auto& w) { return w.first == &form; });
}

bool FakeFrontEnd::Exists(const ui::Form* form) const {
  return std::any_of(windows_.begin(), windows_.end(), [form](const auto& w) { return w.first == form; });
}

void FakeFrontEnd::EndSession() {
  std::vector<ui::Form*> forms;
  for (const auto& w : windows_) forms.push_back(w.first);
  // A window's handler may unload (and so free) the windows after it: they hear nothing.
  for (ui::Form* form : forms)
    if (Exists(form)) form->RaiseSessionEnd();
}

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
