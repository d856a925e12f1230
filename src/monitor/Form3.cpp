#include "monitor/Form3.h"

#include <memory>

namespace wb {

Form3::Form3()
    : ui::Form("Form3", "Wakebell", 3000, 2000), Picture1(*this, "Picture1", ui::Rect{0, 0, 480, 480}) {
  medit = &IconMenu.Add("medit", "編集");
  mstart = &IconMenu.Add("mstart", "スタートアップ");
  mstartin = &mstart->Add("mstartin", "登録");
  mstartout = &mstart->Add("mstartout", "削除");
  IconMenu.Add("sep1", "-");
  mstop = &IconMenu.Add("mstop", "一時停止");
  IconMenu.Add("sep2", "-");
  mver = &IconMenu.Add("mver", "バージョン情報");
  IconMenu.Add("sep3", "-");
  mend = &IconMenu.Add("mend", "終了");
  IconMenu.SetVisible(false);  // a pop-up only, never a menu bar
}

namespace {
std::unique_ptr<Form3>& Slot() {
  static std::unique_ptr<Form3> form;
  return form;
}
}  // namespace

Form3& TheForm3() {
  auto& f = Slot();
  if (!f) {
    f = std::make_unique<Form3>();
    f->EnsureLoaded();
  }
  return *f;
}
bool Form3Exists() { return Slot() != nullptr; }
void ResetForm3() { Slot().reset(); }

}  // namespace wb
