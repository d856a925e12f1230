#include <gtest/gtest.h>

#include <string>

#include "model/TrayTip.h"

namespace wb {
namespace {

// The tip's one length rule: 63 characters, counted as code points, none cut in half.
TEST(TrayTipLimit, KeepsTheFirst63CharactersWhole) {
  std::string bells, kana;
  for (int i = 0; i < 70; ++i) bells += "\U0001F514";
  for (int i = 0; i < 63; ++i) kana += "\u3042";
  const struct {
    std::string tip, expected;
  } cases[] = {
      {"", ""},
      {std::string(63, 'a'), std::string(63, 'a')},
      {std::string(70, 'a'), std::string(63, 'a')},
      {kana + "\u3044", kana},                       // three bytes each
      {bells, bells.substr(0, 63 * 4)},              // four bytes each
      {std::string(62, 'a') + "\u00E9\u00E9", std::string(62, 'a') + "\u00E9"},
  };
  for (const auto& c : cases) EXPECT_EQ(LimitTrayTip(c.tip), c.expected) << c.tip;
}

}  // namespace
}  // namespace wb
