#include "editor/Form1.h"

#include "platform/Services.h"

namespace wb {

Form1::Form1()
    : ui::Form("Form1", "Wakebell", 9000, 6600),
      MonthView1(*this, "MonthView1", ui::Rect{120, 120, 3900, 2880}) {
  CenterOnScreen = true;
  Load = [this] { Form_Load(); };
}

void Form1::Form_Load() { MonthView1.SetValue(DayOf(Svc().clock->Now())); }

namespace {
ui::FormSlot<Form1>& Slot() {
  static ui::FormSlot<Form1> slot;
  return slot;
}
}  // namespace

Form1& TheForm1() { return Slot().Get(); }
Form1* Form1IfLoaded() { return Slot().IfLoaded(); }
void ResetForm1() { Slot().Reset(); }

// The list arrives with the editor proper; until then a loaded editor has nothing to redraw.
void RefreshListIfLoaded() {}

}  // namespace wb
