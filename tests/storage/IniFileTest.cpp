// The INI engine's private-profile semantics on the bytes of the file.
#include "StorageFixture.h"
#include "storage/IniFile.h"

namespace wb {
namespace {

class Ini : public test::TempFolder {};

IniFile Parsed(const std::string& text) {
  IniFile ini;
  ini.Parse(text);
  return ini;
}

TEST_F(Ini, MissingFileOrKeyHasNoValue) {
  IniFile ini;
  EXPECT_FALSE(ini.Load(PathOf("none.ini")));
  EXPECT_FALSE(ini.Get("Wakebell", "PREFLAG"));
  ini = Parsed("[Wakebell]\r\nPRETIME=5\r\n[Other]\r\nPREFLAG=1\r\n");
  EXPECT_FALSE(ini.Get("Wakebell", "PREFLAG"));  // only in another section
  EXPECT_FALSE(ini.Get("Nowhere", "PRETIME"));
}

TEST_F(Ini, NamesMatchWhateverTheirCase) {
  IniFile ini = Parsed("[wAKEBELL]\r\nPreTime=5\r\n");
  EXPECT_EQ(ini.Get("Wakebell", "PRETIME"), "5");
  EXPECT_EQ(ini.Get("WAKEBELL", "pretime"), "5");
}

TEST_F(Ini, FirstSectionAndFirstKeyWin) {
  IniFile ini = Parsed(
      "[Wakebell]\nA=1\na=2\n"
      "[Wakebell]\nA=3\nB=4\n");
  EXPECT_EQ(ini.Get("Wakebell", "A"), "1");
  EXPECT_FALSE(ini.Get("Wakebell", "B"));  // a later section of the same name is not searched
}

TEST_F(Ini, ValuesAreTrimmedAndEndAtNul) {
  IniFile ini = Parsed(
      "  [ Wakebell ]  \r\n"
      "\tMESSAGE =  two  words \t\r\n"
      "EMPTY=\r\n"
      "NOVALUE\r\n"
      "; PRETIME=9\r\n"
      "NUL=ab" + std::string(1, '\0') + "cd\r\n"
      "SJIS=\x83\x5c\x81\x5b\r\n"
      "LAST=no line break");
  EXPECT_EQ(ini.Get("Wakebell", "MESSAGE"), "two  words");
  EXPECT_EQ(ini.Get("Wakebell", "EMPTY"), "");
  EXPECT_FALSE(ini.Get("Wakebell", "NOVALUE"));
  EXPECT_FALSE(ini.Get("Wakebell", "PRETIME"));  // a comment line
  EXPECT_EQ(ini.Get("Wakebell", "NUL"), "ab");
  EXPECT_EQ(ini.Get("Wakebell", "SJIS"), "\x83\x5c\x81\x5b");  // trail bytes "\" and "[" are text
  EXPECT_EQ(ini.Get("Wakebell", "LAST"), "no line break");
}

TEST_F(Ini, WriteCreatesFileSectionAndKey) {
  std::string path = PathOf("new.ini");
  IniFile ini;
  ini.Load(path);
  ini.Set("Wakebell", "STARTFLG", "0");
  ASSERT_TRUE(ini.Save(path));
  EXPECT_EQ(ReadBytes(path), "[Wakebell]\r\nSTARTFLG=0\r\n");

  WriteBytes(path, "[Other]\nX=1");
  ini.Load(path);
  ini.Set("Wakebell", "A", "1");
  EXPECT_EQ(ini.Bytes(), "[Other]\nX=1\r\n\r\n[Wakebell]\r\nA=1\r\n");
}

TEST_F(Ini, WriteLeavesEveryOtherLineAsItWas) {
  const std::string before =
      "; settings\r\n"
      "[Other]\r\n"
      "  PRETIME = 7 \r\n"
      "\r\n"
      "[wakebell]\n"
      "Message = old\r\n"
      "odd line without equals\r\n"
      "PRETIME=1\r\n"
      "\r\n"
      "[Last]\r\n"
      "Z=9";
  IniFile ini = Parsed(before);
  EXPECT_EQ(ini.Bytes(), before);
  ini.Set("Wakebell", "MESSAGE", "new");
  ini.Set("Wakebell", "PRETIME", " 2");
  ini.Set("Wakebell", "BLINKCNT", "10");
  ini.Set("Last", "Y", "8");
  EXPECT_EQ(ini.Bytes(),
            "; settings\r\n"
            "[Other]\r\n"
            "  PRETIME = 7 \r\n"
            "\r\n"
            "[wakebell]\n"
            "Message=new\r\n"
            "odd line without equals\r\n"
            "PRETIME= 2\r\n"
            "BLINKCNT=10\r\n"
            "\r\n"
            "[Last]\r\n"
            "Z=9\r\n"
            "Y=8\r\n");
  EXPECT_EQ(ini.Get("Wakebell", "PRETIME"), "2");
}

TEST_F(Ini, WrittenValuesNeverBreakTheLine) {
  IniFile ini;
  ini.Set("Wakebell", "SOUNDFILE", "a\r\nb\rc\nd");
  ini.Set("Wakebell", "FONTNAME", std::string("x\0y", 3));
  EXPECT_EQ(ini.Bytes(), "[Wakebell]\r\nSOUNDFILE=a  b c d\r\nFONTNAME=x\r\n");
}

// A hand-edited value in quotes reads without them, as the Windows read gives it: one matching
// pair of " or ' around the trimmed value is dropped, anything else stays as written.
TEST_F(Ini, OneMatchingPairOfQuotesIsDropped) {
  struct Case {
    const char* line;
    const char* value;
  };
  const Case cases[] = {
      {"V=\"D:\\My Alarms\\Wakebell.dat\"", "D:\\My Alarms\\Wakebell.dat"},
      {"V='1'", "1"},
      {"V = \"  spaced  \" ", "  spaced  "},  // blanks inside the quotes are the value's own
      {"V=\"\"", ""},
      {"V=''", ""},
      {"V=\"", "\""},                 // one quote alone is no pair
      {"V=\"a'", "\"a'"},             // quotes of two kinds are no pair
      {"V='a\"", "'a\""},
      {"V=\"\"x\"\"", "\"x\""},       // only the outer pair
      {"V=a\"b\"", "a\"b\""},         // quotes inside the value stay
      {"V=\"a\" ;note", "\"a\" ;note"},  // not a pair at the ends
      {"V=\"\x83\x41\x83\x89\"", "\x83\x41\x83\x89"},  // CP932 inside
  };
  for (const Case& c : cases) {
    IniFile ini = Parsed(std::string("[Wakebell]\r\n") + c.line + "\r\n");
    EXPECT_EQ(ini.Get("Wakebell", "V"), c.value) << c.line;
  }
  // Writing puts the value down as given, quotes and all.
  IniFile ini;
  ini.Set("Wakebell", "V", "\"x\"");
  EXPECT_EQ(ini.Bytes(), "[Wakebell]\r\nV=\"x\"\r\n");
}

}  // namespace
}  // namespace wb
