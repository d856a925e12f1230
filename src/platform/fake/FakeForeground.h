// Bringing a window to the front, recorded by the window's name. Fake of IForeground.
#pragma once
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/Services.h"

namespace wb::fake {

class FakeForeground : public IForeground {
 public:
  std::vector<std::string> Brought;
  std::vector<std::string>* Journal = nullptr;
  void BringToForeground(ui::Form& form) override {
    Brought.push_back(form.Name());
    if (Journal) Journal->push_back("foreground " + form.Name());
  }
};

}  // namespace wb::fake
