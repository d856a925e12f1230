#include "model/CatchUp.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

#include "model/Bells.h"
#include "model/DayMath.h"
#include "model/DueCheck.h"

namespace wb {
namespace {

constexpr int64_t kNone = std::numeric_limits<int64_t>::min();

bool RingsMain(const AlarmEntry& e) { return RingsMainBell(e.BellMode); }
bool RingsPre(const AlarmEntry& e) { return RingsPreBell(e.BellMode); }

// FNV-1a, fed byte by byte in a fixed order, so the value is the same on every system.
struct Fnv {
  uint64_t h = 0xcbf29ce484222325ull;
  void Byte(uint8_t b) { h = (h ^ b) * 0x100000001b3ull; }
  void Int(int64_t v) {
    for (int i = 0; i < 8; ++i) Byte(uint8_t(uint64_t(v) >> (8 * i)));
  }
};

// The state's records looked up by slot, with those whose slot now holds another entry
// available by fingerprint (the entry moved up when an earlier one was deleted).
class HandledIndex {
 public:
  HandledIndex(const CatchUpState& state, const AlarmTable& table) : state_(state) {
    bySlot_.assign(size_t(table.EntryCount()), -1);
    for (size_t k = 0; k < state.handled.size(); ++k) {
      const HandledBell& h = state.handled[k];
      if (h.slot >= 0 && h.slot < table.EntryCount() && bySlot_[size_t(h.slot)] < 0) bySlot_[size_t(h.slot)] = int(k);
    }
    // Records whose slot's entry differs are the candidates for a moved entry; computing the
    // fingerprints of the slots that have a record is the price of knowing which.
    fingerprints_.assign(size_t(table.EntryCount()), 0);
    known_.assign(size_t(table.EntryCount()), 0);
    for (size_t k = 0; k < state.handled.size(); ++k) {
      const HandledBell& h = state.handled[k];
      const bool own = h.slot >= 0 && h.slot < table.EntryCount() && bySlot_[size_t(h.slot)] == int(k) &&
                       Fingerprint(table, h.slot) == h.fingerprint;
      if (!own) moved_.emplace(h.fingerprint, int(k));
    }
  }

  // The record of the slot's entry, null when none.
  const HandledBell* Of(const AlarmTable& table, int slot) {
    const int k = bySlot_[size_t(slot)];
    const uint64_t fp = Fingerprint(table, slot);
    if (k >= 0 && state_.handled[size_t(k)].fingerprint == fp) return &state_.handled[size_t(k)];
    if (moved_.empty()) return nullptr;
    auto it = moved_.find(fp);
    if (it == moved_.end()) return nullptr;
    const HandledBell* record = &state_.handled[size_t(it->second)];
    moved_.erase(it);  // each record vouches for one entry only
    return record;
  }

  uint64_t Fingerprint(const AlarmTable& table, int slot) {
    if (!known_[size_t(slot)]) {
      fingerprints_[size_t(slot)] = EntryFingerprint(table[slot]);
      known_[size_t(slot)] = 1;
    }
    return fingerprints_[size_t(slot)];
  }

 private:
  const CatchUpState& state_;
  std::vector<int> bySlot_;
  std::vector<uint64_t> fingerprints_;
  std::vector<uint8_t> known_;
  std::unordered_multimap<uint64_t, int> moved_;
};

// A mark, as a second number; kNone when it is 0 or further ahead of `now` than a small
// correction of the clock leaves it.
int64_t SecondsAsOf(OleDate mark, int64_t now) {
  if (mark == 0) return kNone;
  const int64_t second = DayTimeOf(mark).Seconds();
  return MarkIsAhead(second, now) ? kNone : second;
}

struct Candidate {
  int64_t second;
  bool main;
};

// The last handled main bell and pre-bell of an entry, as second numbers (kNone when none).
struct Handled {
  int64_t main, pre;
};

// The bells of one entry that fell due in (from, now] as the due check would have rung them
// (Bells.h), oldest first, each newer than what was handled and than its mark; pre-bells whose
// main bell has passed are left out when the entry rings main bells.
void BellsInGap(const AlarmEntry& e, int64_t from, int64_t now, const Handled& handled, const DaysOff* daysOff,
                std::vector<Candidate>& out) {
  out.clear();
  const int64_t mainMark = SecondsAsOf(e.MainBellFiredAt, now);
  const int64_t preMark = SecondsAsOf(e.PreBellFiredAt, now);
  const bool main = RingsMain(e);
  const int32_t setMinute = DayTimeOf(e.AlarmTime).Minute();
  const int64_t lead = e.PreBellMinutes;
  const bool preInSetMinute = FloorMod(int64_t(setMinute) - lead, 1440) != setMinute;
  ForEachBell(e, from, now, daysOff, handled.pre, [&](const Bell& b) {
    if (b.main) {
      if (b.second > handled.main && mainMark < b.second) out.push_back({b.second, true});
      return true;
    }
    if (b.second <= handled.pre || preMark >= b.second) return true;
    // Its main bell: in the same minute when it rang in the set minute, else its lead later.
    const bool atSetMinute = preInSetMinute && FloorMod(FloorDiv(b.second, 60), 1440) == setMinute;
    const int64_t mainOf = atSetMinute ? b.second : b.second + lead * 60;
    if (!(main && mainOf <= now)) out.push_back({b.second, false});
    return true;
  });
}

}  // namespace

uint64_t EntryFingerprint(const AlarmEntry& entry) {
  Fnv f;
  f.Int(SecondNumber(entry.AlarmTime));
  f.Int(entry.RepeatKind);
  f.Int(entry.WeekdayMask);
  f.Int(int64_t(entry.BellMode));
  f.Int(entry.PreBellMinutes);
  for (const char c : entry.Message) f.Byte(uint8_t(c));
  return f.h;
}

namespace {
std::vector<HandledBell>::const_iterator RecordOfSlot(const CatchUpState& state, int slot) {
  auto it = std::lower_bound(state.handled.begin(), state.handled.end(), slot,
                             [](const HandledBell& h, int s) { return h.slot < s; });
  return it != state.handled.end() && it->slot == slot ? it : state.handled.end();
}
}  // namespace

void RecordHandled(CatchUpState& state, const AlarmTable& table, int slot, LocalSecond due, UtcSecond handledUtc,
                   BellKinds kinds) {
  const uint64_t fp = EntryFingerprint(table[slot]);
  auto it = std::lower_bound(state.handled.begin(), state.handled.end(), slot,
                             [](const HandledBell& h, int s) { return h.slot < s; });
  if (it == state.handled.end() || it->slot != slot) it = state.handled.insert(it, {slot, fp, {}, {}});
  if (it->fingerprint != fp) *it = {slot, fp, {}, {}};
  auto note = [&](HandledMoment& m) {
    if (m.due == 0 || due > m.due) m = {due, handledUtc};
  };
  if (kinds != BellKinds::Pre) note(it->main);
  if (kinds != BellKinds::Main) note(it->pre);
}

bool AlreadyHandled(const CatchUpState& state, const AlarmTable& table, int slot, LocalSecond dueSecond, bool main) {
  const auto it = RecordOfSlot(state, slot);
  if (it == state.handled.end()) return false;
  const HandledMoment& m = main ? it->main : it->pre;
  return m.due != 0 && m.due >= dueSecond && it->fingerprint == EntryFingerprint(table[slot]);
}

int ForgetRecordsAhead(CatchUpState& state, const Moment& now) {
  int dropped = 0;
  auto forget = [&](HandledMoment& m) {
    if (m.due == 0) return;
    const bool ahead = !m.utc.IsNone() ? m.utc > now.utc + kMarkSlackSeconds : MarkIsAhead(m.due, now.Local());
    if (!ahead) return;
    m = {};
    ++dropped;
  };
  for (HandledBell& h : state.handled) {
    forget(h.main);
    forget(h.pre);
  }
  std::erase_if(state.handled, [](const HandledBell& h) { return h.main.due == 0 && h.pre.due == 0; });
  return dropped;
}

void CompactHandled(CatchUpState& state, const AlarmTable& table) {
  if (state.handled.empty()) return;
  HandledIndex index(state, table);
  std::vector<HandledBell> kept;
  for (int i = 0; i < table.EntryCount(); ++i) {
    if (const HandledBell* record = index.Of(table, i); record && record->Latest() != 0)
      kept.push_back({i, record->fingerprint, record->main, record->pre});
  }
  state.handled = std::move(kept);
}

CatchUpResult FindMissedBells(const AlarmTable& table, const CatchUpState& state, LocalSecond from, LocalSecond now,
                              const CatchUpLimits& limits) {
  CatchUpResult result{from, now, {}, {}, {}};
  if (from == 0) return result;  // nothing known about the time before: nothing counts as missed
  const int64_t present = now;
  const int64_t start = std::max(from, present - limits.maxGapSeconds);
  if (start >= present) return result;  // no gap, or the clock went back
  result.from = start;

  HandledIndex index(state, table);
  std::vector<Candidate> bells;
  for (int i = 0; i < table.EntryCount(); ++i) {
    const AlarmEntry& e = table[i];
    if (!RingsMain(e) && !RingsPre(e)) continue;
    const HandledBell* record = state.handled.empty() ? nullptr : index.Of(table, i);
    auto secondsOf = [&](const HandledMoment& m) { return m.due == 0 ? kNone : m.due; };
    const Handled handled{record ? secondsOf(record->main) : kNone, record ? secondsOf(record->pre) : kNone};
    BellsInGap(e, start, present, handled, limits.daysOff, bells);
    if (bells.empty()) continue;
    CatchUpResult::Settled settled{i, 0, 0};
    for (const Candidate& c : bells) (c.main ? settled.main : settled.pre) = c.second;
    if (settled.main != 0 && RingsPre(e) && e.RepeatKind != kRepeatQuick) {
      const int64_t own = settled.main - int64_t(e.PreBellMinutes) * 60;
      if (settled.pre == 0 || settled.pre < own) settled.pre = own;
    }
    result.settled.push_back(settled);
    size_t missed = bells.size();
    const Candidate& newest = bells.back();
    if (present - newest.second <= limits.ringLateSeconds) {
      result.ringNow.push_back({i, newest.second, newest.main});
      --missed;
    }
    if (missed == 0) continue;
    const Candidate& row = bells[missed - 1];
    result.missed.push_back({i, row.second, row.main, int(missed), e.Message});
  }
  std::stable_sort(result.missed.begin(), result.missed.end(), [](const MissedRow& a, const MissedRow& b) {
    return a.moment > b.moment;
  });
  return result;
}

void ApplyCatchUp(AlarmTable& table, CatchUpState& state, const CatchUpResult& result, const Moment& now,
                  RingNowTaken ringNowTaken) {
  // The ring-now bell of a slot, when it is left due until shown.
  auto waiting = [&](int slot, bool main) -> const RingNow* {
    if (ringNowTaken != RingNowTaken::WhenShown) return nullptr;
    for (const RingNow& r : result.ringNow)
      if (r.slot == slot && r.main == main) return &r;
    return nullptr;
  };
  // Each kind by its own bells: a kind raised to another's moment would take that later UTC
  // second, and a clock put right past it would unmake what was handled before. A bell left
  // waiting to be shown is the newest of its kind: what came before it (reported) is handled
  // up to the second before it.
  auto record = [&](int slot, LocalSecond newest, bool main) {
    if (newest == 0) return;
    const RingNow* w = waiting(slot, main);
    const LocalSecond upTo = w && w->moment == newest ? newest - 1 : newest;
    RecordHandled(state, table, slot, upTo, now.utc, main ? BellKinds::Main : BellKinds::Pre);
  };
  for (const CatchUpResult::Settled& s : result.settled) {
    record(s.slot, s.main, true);
    record(s.slot, s.pre, false);
  }
  if (ringNowTaken == RingNowTaken::Now) {
    const OleDate mark = LocalDateOf(now);
    for (const RingNow& bell : result.ringNow)
      (bell.main ? table[bell.slot].MainBellFiredAt : table[bell.slot].PreBellFiredAt) = mark;
  }
  state.watchedUntil = now.Local();
  CompactHandled(state, table);
}

void RecordShownLate(AlarmTable& table, CatchUpState& state, const RingNow& bell, const Moment& now) {
  // Its pre-bell, when it did not ring, was settled with the catch-up that found it.
  RecordHandled(state, table, bell.slot, bell.moment, now.utc, bell.main ? BellKinds::Main : BellKinds::Pre);
  (bell.main ? table[bell.slot].MainBellFiredAt : table[bell.slot].PreBellFiredAt) = LocalDateOf(now);
}

TickGap ClassifyTickGap(LocalSecond previousTick, LocalSecond now) {
  if (previousTick == 0) return TickGap::None;
  const int64_t step = now - previousTick;
  if (step > kTickGapSeconds) return TickGap::Forward;
  if (step < 0) return TickGap::Back;
  return TickGap::None;
}

std::string MissedRowText(const MissedRow& row) {
  std::string text = FormatDateHourMinute(DateOfLocal(row.moment));
  if (!row.main) text += "（予鈴）";
  text += "  ";
  // A list box row is one line: the message's line breaks become spaces.
  for (size_t i = 0; i < row.message.size(); ++i) {
    const char c = row.message[i];
    if (c == '\r' && i + 1 < row.message.size() && row.message[i + 1] == '\n') continue;
    text += (c == '\r' || c == '\n' || c == '\t') ? ' ' : c;
  }
  if (row.count > 1) text += "  ×" + std::to_string(row.count);
  return text;
}

}  // namespace wb
