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

// Bytes that are no CP932 text decode to characters that encode back to the same bytes: the odd
// single bytes as Windows decodes them, and a lead byte that starts no character as its escape
// (U+F700 + the byte), so what a file held is written back as it was.
TEST(Codec, BytesThatAreNoTextComeBackAsThemselves) {
  auto codec = MakeNativeCodec();
  struct Case {
    const char* what;
    std::string cp932, utf8;
  };
  const Case cases[] = {
      {"0x80", "\x80", "\xc2\x80"},
      {"0xA0 0xFD 0xFF", "\xa0\xfd\xff", "\xef\xa3\xb0\xef\xa3\xb1\xef\xa3\xb3"},
      {"a lead byte at the end", "a\x83", "a\xef\x9e\x83"},
      {"a lead byte before a space", "\x83\x20z", "\xef\x9e\x83 z"},
      {"a pair that holds no character", "\x85\x40z", "\xef\x9e\x85@z"},
      {"a lead byte before a NUL", std::string("\x83\0z", 3), std::string("\xef\x9e\x83\0z", 5)},
      {"a lead byte before a whole character", "\x85\x83\x41", "\xef\x9e\x85ア"},
      {"a path made elsewhere", "C:\\\xfc\\\x83\x41.wav", "C:\\\xef\x9f\xbc\\ア.wav"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(codec->FromCp932(c.cp932), c.utf8) << c.what;
    bool lossless = false;
    EXPECT_EQ(codec->ToCp932(c.utf8, &lossless), c.cp932) << c.what;
    EXPECT_TRUE(lossless) << c.what;
  }
}

// What a user types next to an escape may not read back the same: it is reported, so the
// editor refuses it as it refuses characters CP932 lacks.
TEST(Codec, EscapesThatWouldNotReadBackAreReported) {
  auto codec = MakeNativeCodec();
  const char* const typed[] = {
      "\xef\x9e\x83" "A",  // 0x83 0x41 reads back as ア
      "\xef\x9e\xa1",      // 0xA1 reads back as ｡
      "\xef\x9e\x81\xef\x9e\x81",  // 0x81 0x81 reads back as ＝
  };
  for (const char* text : typed) {
    bool lossless = true;
    codec->ToCp932(text, &lossless);
    EXPECT_FALSE(lossless) << text;
  }
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
