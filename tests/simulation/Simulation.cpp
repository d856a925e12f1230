#include "simulation/Simulation.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "app_state/HistoryLog.h"
#include "model/DayMath.h"
#include "model/DueCheck.h"
#include "model/Holidays.h"
#include "schedule/NaiveSchedule.h"
#include "storage/History.h"
#include "ui/MonitorFixture.h"

namespace wb::sim {
namespace {

// splitmix64: the same numbers from the same seed everywhere (the standard distributions are
// not specified to the bit).
struct Random {
  uint64_t state;
  uint64_t Next() {
    uint64_t z = (state += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
  }
  int64_t Pick(int64_t lo, int64_t hi) { return lo + int64_t(Next() % uint64_t(hi - lo + 1)); }
  bool Chance(int percent) { return Pick(1, 100) <= percent; }
};

constexpr int64_t kDay = 86400;
// A bell this close to an event that may go either way (a pause, a clock moved, the state file
// lost, the end of the script) may ring or not; farther away, the checker is strict.
constexpr int64_t kEdgeSeconds = 180;

int64_t Sec(OleDate d) { return SecondNumber(d); }
OleDate At(int64_t second) { return FromSecondNumber(second); }

const char* KindName(int16_t kind) {
  switch (kind) {
    case kRepeatMonthly: return "monthly";
    case kRepeatWeekly: return "weekly";
    case kRepeatDaily: return "daily";
    case kRepeatOnce: return "once";
    case kRepeatQuick: return "quick";
    case kRepeatBiweekly: return "biweekly";
    default: return "nth";
  }
}

const char* ActName(Act act) {
  switch (act) {
    case Act::Run: return "run";
    case Act::Exit: return "exit";
    case Act::Kill: return "kill";
    case Act::Stall: return "stall";
    case Act::Step: return "step";
    case Act::Offset: return "offset";
    case Act::Sleep: return "sleep";
    case Act::Pause: return "pause";
    case Act::Ok: return "ok";
    case Act::Snooze: return "snooze";
    case Act::LoseState: return "lose-state";
  }
  return "?";
}

// ---- what the runner saw, for the checker ----

enum class Cover { Watched, Paused, Down, Unknown };
struct Span {
  int64_t from, to;  // local seconds, both ends included
  Cover cover;
};
// A moment after which a bell handled before may be handled again: the clock moved back (what
// was handled at a UTC second later than the slack ahead of it no longer counts), or the state
// file was lost (nothing handled before counts).
struct Reset {
  size_t line;       // the history's line count then: the first line after it
  int64_t utcAfter;  // the UTC second after the move
  bool forget;       // the state file was lost
};
struct Seen {
  std::vector<Span> spans;
  std::vector<int64_t> edges;
  std::vector<Reset> resets;
  int64_t first = 0, last = 0;
};

class World : public test::MonitorTest {
 public:
  void TestBody() override {}

  Seen Play(const Script& s) {
    clock.Set(s.start);
    clock.UtcOffset = 540;
    SaveTable(s.entries);
    std::string daysOff;
    for (const int64_t day : s.daysOff) daysOff += FormatDate(At(day * kDay)) + " 休み\r\n";
    std::ofstream(dir / "WakebellDaysOff.txt", std::ios::binary) << daysOff;
    if (s.readOnlyFolder) folders.ReadOnly.insert(App().programFolder);
    seen_ = {};
    cur_ = Sec(clock.Now());
    seen_.first = cur_;
    seen_.edges.push_back(cur_);
    StartProgram();
    for (const Event& e : s.events) Do(e);
    seen_.last = cur_;
    seen_.edges.push_back(cur_);
    ForgetWindows();
    return seen_;
  }

  std::vector<HistoryRecord> History() const { return ReadHistory(HistoryPath()); }

 private:
  void CoverTo(int64_t to, Cover how) {
    seen_.spans.push_back({cur_, to, how});
    cur_ = to;
  }
  Cover Watching() const { return paused_ ? Cover::Paused : Cover::Watched; }
  void Edge(int64_t at) { seen_.edges.push_back(at); }

  void StartProgram() {
    paused_ = false;
    monitor_ = &Start();
    // The instance guard may have waited; that time the program was not running either.
    if (const int64_t now = Sec(clock.Now()); now > cur_) CoverTo(now, Cover::Down);
  }

  void Restart(int64_t downSeconds, bool orderly) {
    // A pause ends with the program: a bell of its last minute may still ring at the start.
    if (paused_) Edge(cur_ + downSeconds);
    if (orderly) monitor_->exitItem->Choose();
    ForgetWindows();  // a kill: nothing more is written
    const int64_t back = cur_ + downSeconds;
    clock.Set(At(back));
    const std::filesystem::path state = dir / "WakebellState.ini";
    const bool lost = loseState_ >= 0;
    if (loseState_ == 0) std::filesystem::remove(state);
    if (loseState_ == 1) std::ofstream(state, std::ios::binary) << "[State]\nVersion=x\n";
    loseState_ = -1;
    // Without the state file nothing is known of the time the program was not running, and a
    // bell rung in the minute before may ring again: it cannot know. Nor can it know what it
    // handled at a local time that comes again (the end of daylight saving).
    CoverTo(back, lost ? Cover::Unknown : Cover::Down);
    if (lost) {
      Edge(back);
      NewReset(true);
    }
    StartProgram();
  }

  void NewReset(bool forget) { seen_.resets.push_back({History().size(), clock.Read().utc, forget}); }

  void Do(const Event& e) {
    switch (e.act) {
      case Act::Run: {
        const int64_t to = cur_ + e.arg;
        seen_.spans.push_back({cur_, to, Watching()});
        Seconds(double(e.arg));
        cur_ = to;
        return;
      }
      case Act::Exit: return Restart(e.arg, true);
      case Act::Kill: return Restart(e.arg, false);
      case Act::Stall:
        clock.Set(At(cur_ + e.arg));
        return CoverTo(cur_ + e.arg, Watching());
      case Act::Sleep:
        power.Raise(PowerEvent::Suspend);
        clock.Set(At(cur_ + e.arg));
        power.Raise(PowerEvent::Resume);
        return CoverTo(cur_ + e.arg, Watching());
      case Act::Step: {
        const int64_t to = cur_ + e.arg;
        clock.Set(At(to));
        Edge(cur_);
        Edge(to);
        // Moved back, the clock was wrong before: what it rang at a UTC second now well ahead
        // may ring again at its real moment.
        if (e.arg < 0) NewReset(false);
        if (e.arg > 0) CoverTo(to, Watching());
        cur_ = to;
        power.Raise(PowerEvent::TimeChange);
        return;
      }
      case Act::Offset: {
        const int64_t to = cur_ + e.arg * 60;
        clock.UtcOffset += int(e.arg);
        clock.Set(At(to));
        Edge(cur_);
        Edge(to);
        if (e.arg > 0) CoverTo(to, Watching());
        cur_ = to;
        power.Raise(PowerEvent::TimeChange);
        return;
      }
      case Act::Pause:
        monitor_->pauseItem->Choose();
        paused_ = !paused_;
        Edge(cur_);
        return;
      case Act::Ok:
        if (AlarmShown()) ui::TheForm<AlarmWindow>().okButton.Press();
        return;
      case Act::Snooze:
        if (AlarmShown()) ui::TheForm<AlarmWindow>().snoozeButton.Press();
        return;
      case Act::LoseState:
        loseState_ = int(e.arg);
        return;
    }
  }

  Seen seen_;
  MonitorWindow* monitor_ = nullptr;
  int64_t cur_ = 0;
  int loseState_ = -1;
  bool paused_ = false;
};

// ---- the independent checker ----

enum class Status { Certain, Uncertain, Forbidden };
struct Bell {
  int entry;
  bool main;
  int64_t due;
  Status status;
  int64_t mainDue;  // of the main bell a pre-bell announces
  bool consumed = false;
  size_t consumedLine = 0;
  int64_t consumedUtc = 0;
};

std::vector<Bell> ExpectedBells(const Script& s, const Seen& seen) {
  std::vector<Bell> bells;
  auto classify = [&](int64_t due, bool dayOff) {
    if (dayOff) return Status::Forbidden;
    bool near = false;
    for (const int64_t e : seen.edges) near = near || (due >= e - kEdgeSeconds && due <= e + kEdgeSeconds);
    int watched = 0, paused = 0, unknown = 0;
    for (const Span& sp : seen.spans) {
      if (due < sp.from || due > sp.to) continue;
      if (sp.cover == Cover::Paused) ++paused;
      else if (sp.cover == Cover::Unknown) ++unknown;
      else ++watched;
    }
    if (near || unknown > 0 || (paused > 0 && watched > 0)) return Status::Uncertain;
    return watched > 0 ? Status::Certain : Status::Forbidden;
  };
  const std::vector<int64_t>& off = s.daysOff;
  int64_t low = seen.first, high = seen.last;
  for (const Span& sp : seen.spans) low = std::min(low, sp.from), high = std::max(high, sp.to);
  for (int i = 0; i < int(s.entries.size()); ++i) {
    const AlarmEntry& e = s.entries[size_t(i)];
    const int64_t timeOfDay = FloorMod(Sec(e.AlarmTime), kDay);
    const int64_t setDay = FloorDiv(Sec(e.AlarmTime), kDay);
    for (int64_t day = FloorDiv(low, kDay) - 2; day <= FloorDiv(high, kDay) + 2; ++day) {
      if (!naive::OccursOn(e, At(day * kDay))) continue;
      const bool dayOff = RestsOnDaysOff(e) && std::find(off.begin(), off.end(), day) != off.end();
      const int64_t main = day * kDay + timeOfDay;
      // A quick timer rings up to a minute late: it is due where that minute was watched.
      Status mainStatus = classify(main, dayOff);
      if (e.RepeatKind == kRepeatQuick && mainStatus == Status::Forbidden && !dayOff &&
          classify(main + 60, false) != Status::Forbidden)
        mainStatus = Status::Uncertain;
      if (RingsMainBell(e.BellMode)) bells.push_back({i, true, main, mainStatus, main});
      if (!RingsPreBell(e.BellMode) || e.RepeatKind == kRepeatQuick) continue;
      // Every other week, only the weeks' first day (the set day's weekday) is announced its lead
      // ahead; the other days of its week window ring their pre-bell in the set minute, with the
      // main bell: the due check's rule, which the calendar does not show.
      const bool biweeklyWindowDay = e.RepeatKind == kRepeatBiweekly && WeekdayOfDay(day) != WeekdayOfDay(setDay);
      const int64_t pre = biweeklyWindowDay ? main : main - int64_t(e.PreBellMinutes) * 60;
      Status status = classify(pre, dayOff);
      // These kinds ring a pre-bell that found no tick in its own minute with the main bell.
      const bool late = e.RepeatKind == kRepeatBiweekly || e.RepeatKind >= kRepeatNth1;
      if (late && status == Status::Forbidden && !dayOff && classify(main, false) != Status::Forbidden)
        status = Status::Uncertain;
      bells.push_back({i, false, pre, status, main});
    }
  }
  return bells;
}

std::string Check(const Script& s, const Seen& seen, const std::vector<HistoryRecord>& history) {
  std::vector<Bell> bells = ExpectedBells(s, seen);
  std::map<std::string, int> entryOf;
  for (int i = 0; i < int(s.entries.size()); ++i) entryOf[s.entries[size_t(i)].Message] = i;
  // Whether a bell handled before line `j` may be handled again there.
  auto stillHandled = [&](const Bell& b, size_t j) {
    if (!b.consumed) return false;
    for (const Reset& r : seen.resets)
      if (r.line > b.consumedLine && r.line <= j && (r.forget || b.consumedUtc > r.utcAfter + kMarkSlackSeconds))
        return false;
    return true;
  };
  auto consume = [](Bell& b, size_t j, int64_t utc) {
    b.consumed = true;
    b.consumedLine = j;
    b.consumedUtc = utc;
  };

  std::ostringstream fault;
  auto lineText = [&](size_t j) { return FormatHistoryLine(history[j]); };
  for (size_t j = 0; j < history.size(); ++j) {
    const HistoryRecord& r = history[j];
    if (r.event != HistoryEvent::Rang && r.event != HistoryEvent::PreBell && r.event != HistoryEvent::Missed) continue;
    const auto found = entryOf.find(r.message);
    if (found == entryOf.end()) continue;
    const int entry = found->second;
    const int64_t due = Sec(r.due), utc = Sec(r.at) - int64_t(r.utcOffsetMinutes) * 60;
    // A pre-bell that found no tick in its own minute may ring (or be reported) in the minute
    // of its main bell, for the kinds that ring it with the main bell: the same bell.
    auto match = [&](bool main) -> Bell* {
      for (Bell& b : bells)
        if (b.entry == entry && b.main == main && b.due == due) return &b;
      for (Bell& b : bells)
        if (b.entry == entry && !main && !b.main && b.mainDue == due) return &b;
      return nullptr;
    };
    if (r.event == HistoryEvent::Missed) {
      Bell* exact = match(true);
      if (!exact || stillHandled(*exact, j)) exact = match(false);
      if (!exact || stillHandled(*exact, j) || exact->status == Status::Forbidden) {
        fault << "reported a bell that was handled or not due: " << lineText(j);
        return fault.str();
      }
      for (Bell& b : bells)
        if (b.entry == entry && b.due <= exact->due && !stillHandled(b, j)) consume(b, j, utc);
      continue;
    }
    const bool main = r.event == HistoryEvent::Rang;
    Bell* bell = match(main);
    if (!bell || bell->status == Status::Forbidden) {
      fault << "rang a bell that was not due: " << lineText(j);
      return fault.str();
    }
    if (stillHandled(*bell, j)) {
      fault << "rang a bell a second time: " << lineText(j);
      return fault.str();
    }
    consume(*bell, j, utc);
    // A pre-bell that did not ring before its main bell rings with it, or is left out.
    if (main)
      for (Bell& b : bells)
        if (b.entry == entry && !b.main && b.due <= due && !stillHandled(b, j)) consume(b, j, utc);
  }
  for (const Bell& b : bells)
    if (b.status == Status::Certain && !b.consumed) {
      fault << "neither rang nor reported: " << s.entries[size_t(b.entry)].Message << (b.main ? " main " : " pre ")
            << FormatMoment(At(b.due));
      return fault.str();
    }
  return {};
}

}  // namespace

AlarmEntry SimEntry(int16_t kind, OleDate at, const std::string& message, BellMode mode, int lead) {
  AlarmEntry e = test::PlainEntry(kind, at);
  e.Message = message;
  e.BellMode = mode;
  e.PreBellMinutes = int16_t(lead);
  e.BlinkCount = 0;
  return e;
}

Script MakeScript(uint64_t seed) {
  Random r{seed};
  Script s;
  s.seed = seed;
  // June 2027 has no national holiday: the days off are the script's own.
  const int64_t startDay = Sec(MakeDate(2027, 6, 2)) / kDay + r.Pick(0, 22);
  const int64_t start = startDay * kDay + 6 * 3600 + r.Pick(0, 1800);
  s.start = At(start);
  const int count = int(r.Pick(1, 6));
  int64_t sharedMinute = r.Pick(1, 20);
  for (int i = 0; i < count; ++i) {
    static constexpr int16_t kKinds[] = {kRepeatOnce,   kRepeatDaily,    kRepeatWeekly, kRepeatMonthly,
                                         kRepeatBiweekly, kRepeatNth1,   kRepeatQuick,  kRepeatDaily};
    const int16_t kind = kKinds[r.Pick(0, 7)];
    // Several entries share a minute now and then: the crowded minute.
    const int64_t minute = r.Chance(40) ? sharedMinute : r.Pick(-3, 30);
    int64_t at = (start / 60 + minute) * 60;
    int64_t day = FloorDiv(at, kDay);
    if (kind == kRepeatQuick) at += r.Pick(0, 59);
    if (kind != kRepeatOnce && kind != kRepeatQuick && r.Chance(50)) day -= r.Pick(1, 20);
    if (kind == kRepeatMonthly) day = FloorDiv(at, kDay) - (r.Chance(80) ? 0 : 1);
    if (kind == kRepeatBiweekly) day = FloorDiv(at, kDay) - 7 * r.Pick(0, 3);
    AlarmEntry e = SimEntry(kind, At(day * kDay + FloorMod(at, kDay)), "B" + std::to_string(i));
    const int64_t today = FloorDiv(at, kDay);
    if (kind == kRepeatWeekly || kind == kRepeatBiweekly)
      e.WeekdayMask = int16_t((r.Chance(80) ? MaskBitOfDay(today) : 0) | r.Pick(0, 0x7F));
    if (kind == kRepeatBiweekly && e.WeekdayMask == 0) e.WeekdayMask = int16_t(MaskBitOfDay(today));
    if (kind == kRepeatNth1) {
      e.RepeatKind = int16_t(kRepeatNth1 + WeekdayOrdinalOfDayOfMonth(CivilOfDay(today).day) - 1);
      e.WeekdayMask = int16_t(MaskBitOfDay(today));
    }
    if (kind != kRepeatQuick) {
      e.BellMode = static_cast<BellMode>(r.Pick(0, 2));
      e.PreBellMinutes = int16_t(r.Chance(10) ? r.Pick(60, 1440) : r.Pick(0, 12));
    }
    if (RepeatKindCanRest(e.RepeatKind) && r.Chance(40)) e.WeekdayMask = int16_t(e.WeekdayMask | kMaskRestsOnDaysOff);
    s.entries.push_back(e);
  }
  if (r.Chance(40)) s.daysOff.push_back(startDay + r.Pick(0, 1));

  const int events = int(r.Pick(2, 12));
  for (int i = 0; i < events; ++i) {
    s.events.push_back({Act::Run, r.Pick(5, 400)});
    switch (r.Pick(0, 13)) {
      case 0: s.events.push_back({Act::Exit, r.Pick(0, 150)}); break;
      case 1: case 2: s.events.push_back({Act::Kill, r.Pick(0, 150)}); break;
      case 3: s.events.push_back({Act::Stall, r.Chance(50) ? r.Pick(1, 120) : r.Pick(1, 600)}); break;
      case 4: {
        static constexpr int64_t kSpans[] = {1, 120, 3600, 2 * kDay};
        const int64_t span = kSpans[r.Pick(0, 3)];
        s.events.push_back({Act::Step, (r.Chance(50) ? 1 : -1) * r.Pick(1, span)});
        break;
      }
      case 5: s.events.push_back({Act::Offset, r.Chance(50) ? 60 : -60}); break;
      case 6: s.events.push_back({Act::Sleep, r.Pick(1, 3600)}); break;
      case 7: s.events.push_back({Act::Pause, 0}); break;
      case 8: case 9: s.events.push_back({Act::Ok, 0}); break;
      case 10: s.events.push_back({Act::Snooze, 0}); break;
      case 11: s.events.push_back({Act::LoseState, r.Pick(0, 1)}); break;
      default: break;
    }
  }
  s.events.push_back({Act::Run, 240});  // the bells of the last event have their say
  return s;
}

std::string Describe(const Script& s) {
  std::ostringstream out;
  out << "seed " << s.seed << ", start " << FormatMoment(s.start) << "\n";
  for (const AlarmEntry& e : s.entries)
    out << "  " << e.Message << ' ' << KindName(e.RepeatKind) << ' ' << FormatMoment(e.AlarmTime) << " mask "
        << (e.WeekdayMask & 0x7F) << (RestsOnDaysOff(e) ? " rests" : "") << " mode " << int(e.BellMode) << " lead "
        << e.PreBellMinutes << "\n";
  for (const int64_t day : s.daysOff) out << "  day off " << FormatDate(At(day * kDay)) << "\n";
  out << " ";
  for (const Event& e : s.events) out << ' ' << ActName(e.act) << (e.arg != 0 ? " " + std::to_string(e.arg) : "") << ';';
  return out.str();
}

std::string RunAndCheck(const Script& script) {
  World world;
  const Seen seen = world.Play(script);
  const std::vector<HistoryRecord> history = world.History();
  std::string fault = Check(script, seen, history);
  if (fault.empty()) return fault;
  // The history with the fault: what the program said it did, line by line.
  fault += "\nhistory:\n";
  for (const HistoryRecord& r : history) fault += "  " + FormatHistoryLine(r);
  return fault;
}

}  // namespace wb::sim
