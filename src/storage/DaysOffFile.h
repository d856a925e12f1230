// The user's own days off (company holidays, a summer week): a plain text file beside the data
// file, one date a line ("2027/08/13 夏季休暇"), written with whatever editor is at hand: code
// page 932 like the other files, or UTF-8, or UTF-16 with its byte-order mark.
// Portable: no operating-system header; text goes through the storage codec (TextBytes.h).
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "model/Holidays.h"
#include "platform/TextCodec.h"

namespace wb {

inline constexpr std::string_view kDaysOffFileName = "WakebellDaysOff.txt";

// A list of days is a few kilobytes. A larger file is something else put there by mistake (a
// log, a copy of a disk image): it is not read at all, so that no start of the program or
// opening of the editor waits on it or holds it in memory.
inline constexpr size_t kDaysOffMaxBytes = size_t(1) << 20;

// The days-off file in the folder of the data file at `dataPath`.
std::string DaysOffPathBeside(const std::string& dataPath);

// A line that holds no date: its number (from 1) and its text in UTF-8.
struct DaysOffBadLine {
  int lineNumber = 0;
  std::string text;
  bool operator==(const DaysOffBadLine&) const = default;
};

struct DaysOffFile {
  bool found = false;       // something is at the path (no file: no days of the user's, no error)
  bool unreadable = false;  // it is there but could not be read
  bool tooLarge = false;    // larger than kDaysOffMaxBytes: not read
  std::vector<NamedDay> days;  // in the file's order
  std::vector<DaysOffBadLine> badLines;
};

// Each line: a date "yyyy/mm/dd" (month and day may have one digit, "-" may stand for "/"), then
// after a space, a tab or "　" an optional name. Blank lines and lines opening with "#" or ";"
// are skipped; any other line without a real date is a bad line, collected and skipped.
// Lines end in CR LF, LF or CR alone (as old Macintosh editors wrote them), mixed as they come.
// The text is UTF-16 after its byte-order mark, UTF-8 after its own mark or when the whole file
// is valid UTF-8, else code page 932. A file that is valid UTF-8 only by chance, as short
// half-width names in code page 932 can be (ﾃｽ reads "ý"), is code page 932: one whose UTF-8
// reading has two-byte letters alone (Latin, Greek, Cyrillic) where code page 932 reads Japanese.
DaysOffFile ParseDaysOffFile(std::string_view bytes, ITextCodec& codec);

// Reads and parses the file, reading no more than kDaysOffMaxBytes and one byte; a missing,
// unreadable or too large one gives no days.
DaysOffFile ReadDaysOffFile(const std::string& path);

// The message that reports a file's bad lines once, in the program's words (at most ten lines
// are quoted, then how many more there are).
std::string DaysOffBadLinesMessage(const std::string& path, const std::vector<DaysOffBadLine>& badLines);

}  // namespace wb
