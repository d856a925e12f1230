#include "platform/fake/FakeFrontEnd.h"

#include <algorithm>

#include "platform/LineBreaks.h"
#include "model/Utf8.h"

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

int FakeFrontEnd::TextHeight(const std::string& text, const ui::Font& font, int width, bool scrollBarRoom) {
  const int em = font.size * 20;  // twips
  const int line = width - (scrollBarRoom ? 17 * ui::kTwipsPerPixel : 0);
  auto widthOf = [em](wchar_t c) { return c >= 0x1100 ? em : em / 2; };
  std::wstring wide;
  for (size_t i = 0; i < text.size();) {
    const char32_t c = NextCodePoint(text, i);
    wide += c < 0x10000 ? wchar_t(c) : L'?';
  }
  const std::wstring shown = ui::BreakLines(wide, line, [&](std::wstring_view run) {
    std::vector<int> widths;
    int x = 0;
    for (wchar_t c : run) widths.push_back(x += widthOf(c));
    return widths;
  });
  // The view's own wrapping after a space, and the program's ends.
  int lines = 1, x = 0;
  for (size_t i = 0; i < shown.size(); ++i) {
    const wchar_t c = shown[i];
    if (c == L'\r' || c == L'\n') {
      if (!(c == L'\r' && i + 1 < shown.size() && shown[i + 1] == L'\n')) ++lines, x = 0;
      continue;
    }
    if (x + widthOf(c) > line && x > 0) ++lines, x = 0;
    x += widthOf(c);
  }
  return lines * em * 5 / 4;
}

void FakeFrontEnd::RunModal(ui::Form& form) {
  ModalForms.push_back(form.Name());
  if (OnModal) OnModal(form);
}

}  // namespace wb::fake
