// The font of a control, which is also what the font dialog offers and returns, and its one
// conversion to and from the stored form an entry and the preferences keep (Appearance).
// Portable: no operating-system header.
#pragma once
#include <string>

#include "model/AlarmEntry.h"

namespace wb::ui {

struct Font {
  std::string name = "MS UI Gothic";
  int size = 9;  // points
  bool bold = false, italic = false, underline = false, strikethru = false;
  bool operator==(const Font&) const = default;
};

// The font an appearance stores (its flags are kTrue/kFalse; any number but 0 reads as set).
inline Font FontOf(const Appearance& look) {
  return {.name = look.FontName, .size = look.FontSize, .bold = look.FontBold != 0, .italic = look.FontItalic != 0,
          .underline = look.FontUnderline != 0, .strikethru = look.FontStrikethru != 0};
}

// Stores `font` in the six font members of `look`.
inline void StoreFont(const Font& font, Appearance& look) {
  auto flag = [](bool on) { return on ? kTrue : kFalse; };
  look.FontName = font.name;
  look.FontSize = int16_t(font.size);
  look.FontBold = flag(font.bold);
  look.FontItalic = flag(font.italic);
  look.FontUnderline = flag(font.underline);
  look.FontStrikethru = flag(font.strikethru);
}

}  // namespace wb::ui
