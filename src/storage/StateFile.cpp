#include "storage/StateFile.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <utility>
#include <vector>

#include "storage/FileIo.h"
#include "storage/History.h"

namespace wb {
namespace {

constexpr const char* kStateSection = "State";
constexpr const char* kHandledSection = "Handled";
// An older version kept a snooze's moments on the wall clock; they are UTC now, in a section of
// their own so that neither version reads the other's moments as its own kind.
constexpr const char* kSnoozeSection = "Snooze";
constexpr const char* kSnoozeUtcSection = "SnoozeUtc";
// The ledger bell by bell (the main bell's and the pre-bell's due moment, each with the UTC
// second it was handled at), in a section of its own: a version that does not know it keeps it
// as it stands, and its [Handled] lines (the later of the two moments) read as they always did.
constexpr const char* kHandledBellsSection = "HandledBells";
constexpr int kVersion = 1;
// A state file is a few hundred kilobytes at most (one line per entry); anything far larger is
// not ours, and reading it whole would only cost memory.
constexpr size_t kLargestStateFile = size_t(16) << 20;

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

// A decimal number of 1..9 digits, nothing else.
bool ParseCount(std::string_view text, int64_t& out) {
  if (text.empty() || text.size() > 9) return false;
  out = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    out = out * 10 + (c - '0');
  }
  return true;
}

bool ParseHex64(std::string_view text, uint64_t& out) {
  if (text.size() != 16) return false;
  out = 0;
  for (const char c : text) {
    int v;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    else return false;
    out = out << 4 | uint64_t(v);
  }
  return true;
}

// Exactly "yyyy/mm/dd hh:nn:ss" (as FormatMoment writes it), as a second number.
bool ParseStateMoment(std::string_view text, LocalSecond& out) {
  OleDate date = 0;
  if (text.size() != 19 || !ParseMoment(std::string(text), date)) return false;
  out = LocalOfDate(date);
  return true;
}

struct Line {
  std::string_view key, value;
};

bool SplitKeyValue(std::string_view line, Line& out) {
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  out = {line.substr(0, eq), line.substr(eq + 1)};
  return true;
}

}  // namespace

std::string StatePathIn(const std::string& programFolder) { return programFolder + kStateFileName; }

std::string FormatStateFile(const StateFile& state) {
  std::string text;
  text.reserve(64 + state.catchUp.handled.size() * 48 + state.otherSections.size());
  text += "[State]\nVersion=" + std::to_string(kVersion) + "\nWatchedUntil=";
  if (state.catchUp.watchedUntil != 0) text += FormatMoment(DateOfLocal(state.catchUp.watchedUntil));
  text += "\n[Handled]\n";
  char fingerprint[17];
  for (const HandledBell& h : state.catchUp.handled) {
    std::snprintf(fingerprint, sizeof fingerprint, "%016llx", static_cast<unsigned long long>(h.fingerprint));
    text += std::to_string(h.slot);
    text += '=';
    text += fingerprint;
    text += ',';
    text += FormatMoment(DateOfLocal(h.Latest()));
    text += '\n';
  }
  if (!state.catchUp.handled.empty()) text += "[HandledBells]\n";
  auto moment = [](LocalSecond s) { return s == 0 ? std::string() : FormatMoment(DateOfLocal(s)); };
  auto utc = [](UtcSecond u) { return u.IsNone() ? std::string() : FormatMoment(FromSecondNumber(u.Count())); };
  for (const HandledBell& h : state.catchUp.handled) {
    text += std::to_string(h.slot) + '=' + moment(h.main.due) + ',' + utc(h.main.utc) + ',' + moment(h.pre.due) + ',' +
            utc(h.pre.utc) + '\n';
  }
  // Written only when there is a snooze, so a state without one reads as it always did.
  if (!state.snoozes.empty()) text += "[SnoozeUtc]\n";
  for (const Snooze& z : state.snoozes) {
    std::snprintf(fingerprint, sizeof fingerprint, "%016llx", static_cast<unsigned long long>(z.fingerprint));
    char offset[16];
    std::snprintf(offset, sizeof offset, "%+06d", z.pressOffsetSeconds);
    text += std::to_string(z.slot) + '=' + fingerprint + ',' + FormatMoment(FromSecondNumber(z.snoozedAt.Count())) + ',' +
            FormatMoment(FromSecondNumber(z.ringAt.Count())) + ',' + offset + ',' + EscapeHistoryField(z.message) + '\n';
  }
  text += state.otherSections;
  return text;
}

bool ParseStateFile(const std::string& text, StateFile& out, int32_t olderSnoozeOffsetSeconds) {
  out = {};
  StateFile s;
  enum class Section { None, State, Handled, HandledBells, Snooze, SnoozeUtc, Other } section = Section::None;
  std::vector<std::pair<int, HandledBell>> bellsOfSlot;
  bool sawVersion = false, sawWatched = false;
  std::string_view rest(text);
  if (rest.substr(0, 3) == "\xEF\xBB\xBF") rest.remove_prefix(3);  // a BOM an editor may add
  while (!rest.empty()) {
    const size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty() && line.front() == '[') {
      if (line.back() != ']') return false;
      const std::string_view name = line.substr(1, line.size() - 2);
      if (SameName(name, kStateSection)) section = Section::State;
      else if (SameName(name, kHandledSection)) section = Section::Handled;
      else if (SameName(name, kSnoozeSection)) section = Section::Snooze;
      else if (SameName(name, kSnoozeUtcSection)) section = Section::SnoozeUtc;
      else if (SameName(name, kHandledBellsSection)) section = Section::HandledBells;
      else section = Section::Other;
      if (section != Section::Other) continue;
    }
    if (section == Section::Other) {  // kept as it stood, for the version that knows it
      s.otherSections.append(line);
      s.otherSections += '\n';
      continue;
    }
    if (line.empty() || line.front() == ';') continue;
    Line kv;
    if (section == Section::None || !SplitKeyValue(line, kv)) return false;
    if (section == Section::State) {
      if (SameName(kv.key, "Version")) {
        int64_t version;
        if (!ParseCount(kv.value, version) || version != kVersion) return false;
        sawVersion = true;
      } else if (SameName(kv.key, "WatchedUntil")) {
        if (!kv.value.empty() && !ParseStateMoment(kv.value, s.catchUp.watchedUntil)) return false;
        sawWatched = true;
      }
      continue;  // a key a later version added to this section is no harm
    }
    if (section == Section::Snooze || section == Section::SnoozeUtc) {
      // <slot>=<fingerprint>,<snoozed at>,<rings at>,<message>
      int64_t slot;
      Snooze z;
      LocalSecond snoozedAt = 0, ringAt = 0;
      const std::string_view v = kv.value;
      if (!ParseCount(kv.key, slot) || slot >= AlarmTable::kMaxEntries || v.size() < 16 + 1 + 19 + 1 + 19 + 1 ||
          v[16] != ',' || v[36] != ',' || v[56] != ',' || !ParseHex64(v.substr(0, 16), z.fingerprint) ||
          !ParseStateMoment(v.substr(17, 19), snoozedAt) || !ParseStateMoment(v.substr(37, 19), ringAt))
        return false;
      // <slot>=<fingerprint>,<snoozed at>,<rings at>[,<offset at the press: +32400>],<message>
      std::string_view message = v.substr(57);
      int64_t offset = olderSnoozeOffsetSeconds;
      if (section == Section::SnoozeUtc) {
        int64_t pressOffset = 0;
        const bool negative = !message.empty() && message[0] == '-';
        if (message.size() < 7 || message[6] != ',' || (message[0] != '+' && message[0] != '-') ||
            !ParseCount(message.substr(1, 5), pressOffset))
          return false;
        z.pressOffsetSeconds = int32_t(negative ? -pressOffset : pressOffset);
        message.remove_prefix(7);
        offset = 0;
      } else {
        z.pressOffsetSeconds = olderSnoozeOffsetSeconds;
      }
      z.snoozedAt = UtcSecond(snoozedAt - offset);
      z.ringAt = UtcSecond(ringAt - offset);
      z.slot = int(slot);
      z.message = UnescapeHistoryField(std::string(message));
      s.snoozes.push_back(std::move(z));
      continue;
    }
    if (section == Section::HandledBells) {  // <slot>=<main due>,<main UTC>,<pre due>,<pre UTC>
      int64_t slot;
      std::string_view fields[4];
      std::string_view rest = kv.value;
      for (int k = 0; k < 4; ++k) {
        const size_t comma = k < 3 ? rest.find(',') : rest.size();
        if (comma == std::string_view::npos) return false;
        fields[k] = rest.substr(0, comma);
        rest.remove_prefix(std::min(rest.size(), comma + 1));
      }
      HandledBell h;
      // The UTC seconds are written as the moments are, on the same scale.
      auto read = [](std::string_view text, LocalSecond& out) { return text.empty() || ParseStateMoment(text, out); };
      LocalSecond mainUtc = 0, preUtc = 0;
      if (!ParseCount(kv.key, slot) || slot >= AlarmTable::kMaxEntries || !read(fields[0], h.main.due) ||
          !read(fields[1], mainUtc) || !read(fields[2], h.pre.due) || !read(fields[3], preUtc))
        return false;
      h.main.utc = UtcSecond(mainUtc);
      h.pre.utc = UtcSecond(preUtc);
      bellsOfSlot.emplace_back(int(slot), h);
      continue;
    }
    // [Handled]: <slot>=<fingerprint>,<moment>
    int64_t slot;
    HandledBell h;
    const size_t comma = kv.value.find(',');
    if (!ParseCount(kv.key, slot) || slot >= AlarmTable::kMaxEntries || comma == std::string_view::npos ||
        !ParseHex64(kv.value.substr(0, comma), h.fingerprint) ||
        !ParseStateMoment(kv.value.substr(comma + 1), h.main.due))
      return false;
    h.slot = int(slot);
    h.pre.due = h.main.due;  // an older version's record: both kinds up to that moment
    s.catchUp.handled.push_back(h);
  }
  if (!sawVersion || !sawWatched) return false;
  // One record per slot, in slot order, whatever order the file had them in.
  std::stable_sort(s.catchUp.handled.begin(), s.catchUp.handled.end(),
                   [](const HandledBell& a, const HandledBell& b) { return a.slot < b.slot; });
  auto dup = std::adjacent_find(s.catchUp.handled.begin(), s.catchUp.handled.end(),
                                [](const HandledBell& a, const HandledBell& b) { return a.slot == b.slot; });
  if (dup != s.catchUp.handled.end()) return false;
  for (const auto& [slot, bells] : bellsOfSlot) {
    auto it = std::lower_bound(s.catchUp.handled.begin(), s.catchUp.handled.end(), slot,
                               [](const HandledBell& h, int k) { return h.slot < k; });
    // Only beside the same entry's [Handled] line: a line left alone by an older version that
    // wrote [Handled] anew describes an entry that is gone.
    if (it != s.catchUp.handled.end() && it->slot == slot && it->Latest() == bells.Latest()) {
      it->main = bells.main;
      it->pre = bells.pre;
    }
  }
  out = std::move(s);
  return true;
}

StateFile ReadStateFile(const std::string& path, StateFileStatus* status, int32_t olderSnoozeOffsetSeconds) {
  auto say = [&](StateFileStatus st) {
    if (status) *status = st;
  };
  StateFile state;
  if (NothingAt(path)) {
    say(StateFileStatus::Missing);
    return state;
  }
  std::string bytes;
  if (!ReadWholeFile(path, bytes) || bytes.size() > kLargestStateFile || !ParseStateFile(bytes, state, olderSnoozeOffsetSeconds)) {
    say(StateFileStatus::Damaged);
    return {};
  }
  say(StateFileStatus::Read);
  return state;
}

bool WriteStateFile(const std::string& path, const StateFile& state) {
  return WriteFileAtomically(path, FormatStateFile(state));
}

}  // namespace wb
