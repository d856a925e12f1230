// `wakebell-tool dump DATAFILE [--midi-volume N] [--wave-volume N]`: the table a data file holds,
// as one line of compact JSON, without changing the file. An older layout is converted in
// memory with N as the current device volumes (default 0).
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <type_traits>

#include "app/tool/Commands.h"
#include "storage/DataFile.h"
#include "storage/RecordLayout.h"

namespace wb::tool {
namespace {

void AppendString(std::string& out, const std::string& s) {
  static const char kHex[] = "0123456789abcdef";
  out += '"';
  for (char c : s) {
    unsigned char b = (unsigned char)c;
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (b < 0x20) {
          out += "\\u00";
          out += kHex[b >> 4];
          out += kHex[b & 0xF];
        } else {
          out += c;  // UTF-8 as it is
        }
    }
  }
  out += '"';
}

// The shortest decimal that reads back as the same double. JSON has no NaN or infinity, and
// a damaged file may hold them: those print as null.
void AppendDate(std::string& out, double d) {
  if (!std::isfinite(d)) {
    out += "null";
    return;
  }
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, d);
  out.append(buf, r.ptr);
}

class Object {
 public:
  explicit Object(std::string& out) : out_(out) { out_ += '{'; }
  ~Object() { out_ += '}'; }
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  void Key(const char* name) {
    if (!first_) out_ += ',';
    first_ = false;
    out_ += '"';
    out_ += name;
    out_ += "\":";
  }
  void Int(const char* name, int64_t v) {
    Key(name);
    out_ += std::to_string(v);
  }
  void Date(const char* name, double d) {
    Key(name);
    AppendDate(out_, d);
  }
  void Text(const char* name, const std::string& s) {
    Key(name);
    AppendString(out_, s);
  }

 private:
  std::string& out_;
  bool first_ = true;
};

void AppendEntry(std::string& out, const AlarmEntry& e) {
  Object o(out);
  ForEachRecordMember(e, [&o]<class T>(const char* name, const T& member) {
    if constexpr (std::is_same_v<T, OleDate>)
      o.Date(name, member);
    else if constexpr (std::is_same_v<T, std::string>)
      o.Text(name, member);
    else
      o.Int(name, int64_t(member));  // Integer, Long and the bell mode's code
  });
}

// A device volume: 0..4294967295, or its signed form as the entries show it.
std::optional<uint32_t> ParseVolume(const std::string& text) {
  int64_t v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (v < INT32_MIN || v > int64_t(UINT32_MAX)) return std::nullopt;
  return uint32_t(v);
}

}  // namespace

int Dump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string path;
  std::optional<uint32_t> midi, wave;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--midi-volume" || a == "--wave-volume") {
      std::optional<uint32_t>& target = a == "--midi-volume" ? midi : wave;
      std::optional<uint32_t> v = i + 1 < args.size() ? ParseVolume(args[i + 1]) : std::nullopt;
      if (!v || target) {
        err << "wakebell-tool dump: " << a << " needs one volume from 0 to 4294967295\n";
        return 2;
      }
      target = v;
      ++i;
    } else if (a.size() > 1 && a[0] == '-') {
      err << "wakebell-tool dump: unknown option '" << a << "'\n";
      return 2;
    } else if (path.empty() && !a.empty()) {
      path = a;
    } else {
      err << "wakebell-tool dump: one data file, please\n";
      return 2;
    }
  }
  if (path.empty()) {
    err << "wakebell-tool dump: no data file given\n";
    return 2;
  }

  AlarmTable table;
  std::string tag;
  if (!ReadAlarmFile(path, table, midi.value_or(0), wave.value_or(0), &tag)) {
    err << "wakebell-tool dump: cannot read the data file '" << path << "'\n";
    return 1;
  }
  std::string json;
  {
    Object o(json);
    o.Int("count", table.EntryCount());
    o.Text("tag", tag);
    o.Key("entries");
    json += '[';
    for (int slot = 0; slot < table.SlotCount(); ++slot) {
      if (slot > 0) json += ',';
      AppendEntry(json, table[slot]);
    }
    json += ']';
  }
  out << json << '\n';
  return 0;
}

}  // namespace wb::tool
