// Our INI engine, with the semantics of the Windows private-profile functions: section and key
// names match case-insensitively, the first match wins, values are trimmed, and a write
// creates the file, section or key as needed while every other line stays byte for byte.
// Works on the file's own bytes (CP932); converting text is Settings' job. Portable.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wb {

class IniFile {
 public:
  // Reads the file; false (and no lines) when it cannot be read.
  bool Load(const std::string& path);
  // Reads the file before changing it: true when it was read, or when there is no file yet
  // (no lines: the write starts one). False when a file is there but cannot be read now
  // (locked, denied, a passing error): the caller must not replace what it never saw.
  bool LoadForUpdate(const std::string& path);
  void Parse(std::string_view bytes);

  // The trimmed value of the first `key` in the first `section` of that name, up to its first
  // NUL, without one matching pair of quotes around it; nothing when the section or key is
  // missing. Set writes values as given, quotes and all.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;

  // Sets `key` in `section`: changes the key's first line, or adds the key at the end of the
  // section, or adds the section at the end of the file. A CR or LF in `value` becomes a space
  // (a raw line break would cut the line in two) and a NUL ends it, as it would for Windows.
  void Set(std::string_view section, std::string_view key, std::string_view value);

  // The file's bytes as they stand.
  std::string Bytes() const;
  // Writes the bytes in one step (the old file stays whole until the new one is complete).
  bool Save(const std::string& path) const;

 private:
  struct Line {
    std::string text;  // without its line break
    std::string eol;   // "\r\n", "\n" or "" (the file's last line)
  };
  // Index of the first section header named `section`, or -1.
  int FindSection(std::string_view section) const;
  // Index of the first key line named `key` in the section whose header is at `header`, or -1.
  int FindKey(int header, std::string_view key) const;

  std::vector<Line> lines_;
};

}  // namespace wb
