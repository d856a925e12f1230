// This system's CP932 codec: what the data and settings files hold must match what the
// Windows code page functions make of the same text.
#include <gtest/gtest.h>

#include "platform/NativeServices.h"
#include "storage/TextBytes.h"

namespace wb {
namespace {

TEST(Codec, JapaneseTextRoundTrips) {
  auto codec = MakeNativeCodec();
  struct Case {
    std::string utf8, cp932;
  };
  const Case cases[] = {
      {"MS Pｺﾞｼｯｸ", "MS P\xba\xde\xbc\xaf\xb8"},  // half-width katakana: one byte each
      {"アラーム", "\x83\x41\x83\x89\x81\x5b\x83\x80"},
      {"表示\\", "\x95\x5c\x8e\xa6\\"},  // a trail byte that looks like a backslash
      {"－～①", "\x81\x7c\x81\x60\x87\x40"},
      {"a\r\nb", "a\r\nb"},
      {"", ""},
  };
  for (const Case& c : cases) {
    bool lossless = false;
    EXPECT_EQ(codec->ToCp932(c.utf8, &lossless), c.cp932) << c.utf8;
    EXPECT_TRUE(lossless) << c.utf8;
    EXPECT_EQ(codec->FromCp932(c.cp932), c.utf8) << c.utf8;
  }
}

TEST(Codec, TextWithoutACp932FormIsReported) {
  auto codec = MakeNativeCodec();
  bool lossless = true;
  EXPECT_EQ(codec->ToCp932("鐘😀x", &lossless), "\x8f\xe0??x");  // one "?" per UTF-16 unit
  EXPECT_FALSE(lossless);
  lossless = true;
  EXPECT_EQ(codec->ToCp932("¥100", &lossless), "?100");  // no look-alike backslash
  EXPECT_FALSE(lossless);
  lossless = true;
  EXPECT_EQ(codec->ToCp932("a\xff" "b", &lossless), "a?b");  // broken UTF-8
  EXPECT_FALSE(lossless);
}

TEST(Codec, BrokenCp932DecodesAsWindowsDoes) {
  auto codec = MakeNativeCodec();
  EXPECT_EQ(codec->FromCp932("\x80"), "\xc2\x80");
  EXPECT_EQ(codec->FromCp932("\xa0\xfd\xff"), "\xef\xa3\xb0\xef\xa3\xb1\xef\xa3\xb3");
  EXPECT_EQ(codec->FromCp932("a\x83"), "a・");      // lead byte at the end
  EXPECT_EQ(codec->FromCp932("\x83\x20z"), "・z");  // a lead byte takes the next byte along
  EXPECT_EQ(codec->FromCp932("\x85\x40z"), "・z");  // a pair that holds no character
  EXPECT_EQ(codec->FromCp932(std::string("\x83\0z", 3)), std::string("・\0z", 5));  // but never a NUL
  // Those odd single bytes come back as themselves.
  EXPECT_EQ(codec->ToCp932("\xc2\x80\xef\xa3\xb0\xef\xa3\xb3"), "\x80\xa0\xff");
}

TEST(Codec, CutNeverSplitsACharacter) {
  const std::string s = "a\x83\x41\x83\x41";  // a アア
  EXPECT_EQ(CutCp932(s, 10), s);
  EXPECT_EQ(CutCp932(s, 4), "a\x83\x41");
  EXPECT_EQ(CutCp932(s, 3), "a\x83\x41");
  EXPECT_EQ(CutCp932(s, 2), "a");
  EXPECT_EQ(CutCp932("\xba\xde\xbc", 2), "\xba\xde");  // half-width kana are single bytes
}

}  // namespace
}  // namespace wb
