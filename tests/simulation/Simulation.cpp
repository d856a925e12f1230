#include "simulation/Simulation.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "model/DayMath.h"
#include "model/Holidays.h"
#include "monitor/MissedNoticeWindow.h"
#include "simulation/Observations.h"
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

OleDate At(int64_t second) { return FromSecondNumber(second); }
int64_t Sec(OleDate d) { return SecondNumber(d); }

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
    case Act::DayOff: return "day-off";
  }
  return "?";
}

// The promise counts local seconds from 1970; the program's dates count from 1899/12/30.
constexpr int64_t kEpochDays = 25569;
int64_t Promised(int64_t programSecond) { return programSecond - kEpochDays * kDay; }

// The script's entries as the promise reads them: from the stored fields, as a data file has them.
promise::PromisedEntry PromisedOf(const AlarmEntry& e) {
  int y, mo, d, h, mi, sec;
  std::sscanf(FormatMoment(e.AlarmTime).c_str(), "%d/%d/%d %d:%d:%d", &y, &mo, &d, &h, &mi, &sec);
  const std::optional<promise::PromisedEntry> p =
      promise::FromStoredFields(e.RepeatKind, e.WeekdayMask, int(e.BellMode), e.PreBellMinutes,
                                promise::LocalSeconds(y, mo, d, h, mi, sec));
  return p ? *p : promise::PromisedEntry{promise::Kind::Once, 1, 0, 0, false, false, false, 0};
}

// A user answers an alarm within this long: one left up longer is dismissed with OK.
constexpr int64_t kUserAnswersWithin = 900;

class World : public test::MonitorTest {
 public:
  void TestBody() override {}

  Observations Play(const Script& s) {
    clock.Set(s.start);
    clock.UtcOffset = 540;
    SaveTable(s.entries);
    for (const int64_t day : s.daysOff) daysOffText_ += FormatDate(At(day * kDay)) + " 休み\r\n";
    std::ofstream(dir / "WakebellDaysOff.txt", std::ios::binary) << daysOffText_;
    if (s.readOnlyFolder) folders.ReadOnly.insert(App().programFolder);
    seen_ = {};
    seen_.readOnlyFolder = s.readOnlyFolder;
    for (const AlarmEntry& e : s.entries) {
      seen_.entries.push_back(PromisedOf(e));
      seen_.messages.push_back(e.Message);
    }
    seen_.daysOff.LoadHolidayJp(promise::HolidayJpDataPath());
    for (const int64_t day : s.daysOff) seen_.daysOff.AddDay(day - kEpochDays);
    cur_ = Local();
    seen_.first = cur_;
    StartProgram();
    for (const Event& e : s.events) Do(e);
    seen_.last = cur_;
    std::ifstream history(dir / "WakebellHistory.txt", std::ios::binary);
    for (std::string line; std::getline(history, line);) seen_.historyLines.push_back(line);
    ForgetWindows();
    return std::move(seen_);
  }

 private:
  int64_t Local() { return Promised(clock.Read().Local()); }
  int64_t Utc() { return Promised(clock.Read().utc.Count()); }

  void Note(What what, size_t index) { seen_.order.push_back({what, index}); }

  // What the windows show now, against what they showed at the last look.
  void Look() {
    const int64_t local = Local();
    // The notice first: a tick's catch-up reports before its due check shows.
    MissedNoticeWindow* notice = ui::FormIfLoaded<MissedNoticeWindow>();
    std::vector<std::string> rows;
    if (notice)
      for (int i = 0; i < notice->missedList.ListCount(); ++i) rows.push_back(notice->missedList.List(i));
    if (rows != noticeRows_) {
      seen_.notices.push_back({local, Utc(), rows, noticeRows_.empty()});
      Note(What::Notice, seen_.notices.size() - 1);
      noticeRows_ = rows;
    }
    AlarmWindow* alarm = ui::FormIfLoaded<AlarmWindow>();
    Content now;
    if (alarm && alarm->Visible())
      now = {true, alarm->messageView.Text(), !alarm->bannerView.Text().empty(),
             alarm->Caption().find("スヌーズ") != std::string::npos, alarm->timeView.Text()};
    const bool soundStarted = mci.Plays() > plays_;
    plays_ = mci.Plays();
    if (now.up && (!shown_.up || now != shown_ || soundStarted || answered_)) {
      if ((answered_ || !shown_.up) && !waiting_.empty() && now == waiting_.back() && !soundStarted) {
        // The one in front gone, an alarm that waited behind it comes back: seen before, not a ring.
        waiting_.pop_back();
      } else {
        // One still up and not answered waits behind the new one.
        // (The same entry's newer bell takes the place of its own earlier one.)
        if (shown_.up && !answered_ && shown_.message != now.message) waiting_.push_back(shown_);
        std::erase_if(waiting_, [&](const Content& w) { return w.message == now.message; });
        seen_.shown.push_back({local, Utc(), now.message, now.main, now.snooze});
        Note(What::Shown, seen_.shown.size() - 1);
      }
      upSince_ = local;
    }
    if (now.up && !seen_.upSpans.empty() && seen_.upSpans.back().to == local - 1 &&
        seen_.upSpans.back().message == now.message && seen_.upSpans.back().main == now.main &&
        seen_.upSpans.back().time == now.time)
      seen_.upSpans.back().to = local;
    else if (now.up)
      seen_.upSpans.push_back({local, local, now.message, now.time, now.main});
    shown_ = now;
    // The user reads the notice and closes it, and answers an alarm left up for long.
    if (notice && notice->Visible()) notice->okButton.Press();
    if (!notice || !notice->Visible()) noticeRows_.clear();
    if (shown_.up && local - upSince_ > kUserAnswersWithin) Answer(false, 0);
  }

  void Tick(int64_t seconds) {
    for (int64_t k = 0; k < seconds; ++k) {
      Seconds(1);
      ++cur_;
      lastTick_ = cur_;
      Look();
    }
  }

  void StartProgram() {
    paused_ = false;
    monitor_ = &Start();
    seen_.starts.push_back(Local());
    Note(What::Start, seen_.starts.size() - 1);
    cur_ = Local();
    // Running from this second, it answers for the whole of this minute.
    seen_.gaps.push_back({cur_ - cur_ % 60 - 1, cur_ + 1, GapKind::Stalled});
    Look();
  }

  void Restart(int64_t downSeconds, bool orderly) {
    if (orderly) monitor_->exitItem->Choose();
    ForgetWindows();  // a kill: nothing more is written
    shown_ = {};
    waiting_.clear();
    noticeRows_.clear();
    const int64_t from = cur_;
    clock.Set(At(clock.Read().Local() + downSeconds));
    const std::filesystem::path state = dir / "WakebellState.ini";
    const bool lost = loseState_ >= 0;
    if (loseState_ == 0) std::filesystem::remove(state);
    if (loseState_ == 1) std::ofstream(state, std::ios::binary) << "[State]\nVersion=x\n";
    loseState_ = -1;
    cur_ = Local();
    seen_.gaps.push_back({from, cur_ + 1, lost ? GapKind::DownUnknown : readOnly() ? GapKind::DownReadOnly : GapKind::Down,
                          false, paused_, lastTick_});
    StartProgram();
  }
  bool readOnly() const { return seen_.readOnlyFolder; }

  void Move(int64_t by, bool offset) {
    seen_.moves.push_back({cur_, Utc(), by, offset});
    Note(What::Move, seen_.moves.size() - 1);
    if (by > 0) seen_.gaps.push_back({cur_, cur_ + by + 1, GapKind::Stalled, paused_});
    cur_ += by;
  }

  void Answer(bool snooze, int64_t row) {
    AlarmWindow& w = ui::TheForm<AlarmWindow>();
    const std::string message = w.messageView.Text();
    int minutes = 0;
    if (snooze) {
      w.snoozeDelayCombo.UserPick(int(row));
      std::sscanf(w.snoozeDelayCombo.SelectedText().c_str(), "%d", &minutes);
      w.snoozeButton.Press();
    } else {
      w.okButton.Press();
    }
    seen_.answers.push_back({Local(), Utc(), message, minutes});
    Note(What::Answer, seen_.answers.size() - 1);
    answered_ = true;  // what comes up next is another's
    // A sound still closing lets the next alarm come back a tick later.
    if (!AlarmShown() && !waiting_.empty()) Seconds(1), ++cur_;
    Look();
    answered_ = false;
    if (!shown_.up && !waiting_.empty()) seen_.waitingLost += int(waiting_.size());
    if (!shown_.up) waiting_.clear();
  }

  void Do(const Event& e) {
    switch (e.act) {
      case Act::Run: {
        // Noted before its ticks: what they show comes after it.
        seen_.ticks.push_back({cur_ + 1, cur_ + e.arg, paused_, Utc() + 1});
        Note(What::Ticks, seen_.ticks.size() - 1);
        Tick(e.arg);
        return;
      }
      case Act::Exit: return Restart(e.arg, true);
      case Act::Kill: return Restart(e.arg, false);
      case Act::Stall:
        seen_.gaps.push_back({cur_, cur_ + e.arg + 1, GapKind::Stalled, paused_});
        clock.Set(At(clock.Read().Local() + e.arg));
        cur_ = Local();
        return;
      case Act::Sleep:
        power.Raise(PowerEvent::Suspend);
        seen_.gaps.push_back({cur_, cur_ + e.arg + 1, GapKind::Stalled, paused_});
        clock.Set(At(clock.Read().Local() + e.arg));
        cur_ = Local();
        power.Raise(PowerEvent::Resume);
        return Look();
      case Act::Step:
        Move(e.arg, false);
        clock.Set(At(clock.Read().Local() + e.arg));
        power.Raise(PowerEvent::TimeChange);
        return Look();
      case Act::Offset:
        Move(e.arg * 60, true);
        clock.UtcOffset += int(e.arg);
        clock.Set(At(clock.Read().Local() + e.arg * 60));
        power.Raise(PowerEvent::TimeChange);
        return Look();
      case Act::Pause:
        monitor_->pauseItem->Choose();
        paused_ = !paused_;
        return Look();
      case Act::Ok:
        if (AlarmShown()) Answer(false, 0);
        return;
      case Act::Snooze:
        if (AlarmShown() && ui::TheForm<AlarmWindow>().snoozeButton.Visible()) Answer(true, e.arg);
        return;
      case Act::LoseState:
        loseState_ = int(e.arg);
        return;
      case Act::DayOff: {
        const int64_t day = FloorDiv(clock.Read().Local(), kDay) + e.arg;
        daysOffText_ += FormatDate(At(day * kDay)) + " 休み\r\n";
        std::ofstream(dir / "WakebellDaysOff.txt", std::ios::binary) << daysOffText_;
        seen_.daysOffAdded.push_back({cur_, day - kEpochDays});
        Note(What::DayOff, seen_.daysOffAdded.size() - 1);
        return;
      }
    }
  }

  struct Content {
    bool up = false;
    std::string message;
    bool main = false, snooze = false;
    std::string time;
    bool operator==(const Content&) const = default;
  };

  Observations seen_;
  MonitorWindow* monitor_ = nullptr;
  int64_t cur_ = 0;  // local, the promise's scale
  int loseState_ = -1;
  bool paused_ = false;
  Content shown_;
  std::vector<Content> waiting_;
  bool answered_ = false;  // the one in front was just answered
  int64_t lastTick_ = 0;  // alarms behind the one in front, the last comes back first
  int plays_ = 0;
  int64_t upSince_ = 0;
  std::vector<std::string> noticeRows_;
  std::string daysOffText_;
};

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
  // Any day of 2027: national holidays come with the days of the year.
  const int64_t startDay = Sec(MakeDate(2027, 1, 2)) / kDay + r.Pick(0, 360);
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
    if (r.Chance(30)) {  // a sound: once or endless, now and then a file nothing can play
      e.Sound.Flag = 1;
      e.Sound.File = r.Chance(20) ? "C:\\sounds\\broken.mid" : "C:\\sounds\\bell.wav";
      e.Sound.Endless = int16_t(r.Pick(0, 1));
    }
    s.entries.push_back(e);
  }
  if (r.Chance(40)) s.daysOff.push_back(startDay + r.Pick(0, 1));
  s.readOnlyFolder = r.Chance(5);

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
      case 10: s.events.push_back({Act::Snooze, r.Pick(0, 6)}); break;
      case 11: s.events.push_back({Act::LoseState, r.Pick(0, 1)}); break;
      case 12: if (r.Chance(30)) s.events.push_back({Act::DayOff, r.Pick(0, 1)}); break;
      default: break;
    }
    // An end within seconds of a catch-up (a start, a resume, a stall), or two ends in a minute.
    const Act last = s.events.back().act;
    if ((last == Act::Exit || last == Act::Kill || last == Act::Sleep || last == Act::Stall) && r.Chance(25)) {
      s.events.push_back({Act::Run, r.Pick(0, 5)});
      s.events.push_back({r.Chance(50) ? Act::Kill : Act::Exit, r.Pick(0, 150)});
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
        << e.PreBellMinutes << (e.Sound.Flag ? " sound " + e.Sound.File : "") << "\n";
  if (s.readOnlyFolder) out << "  read-only program folder\n";
  for (const int64_t day : s.daysOff) out << "  day off " << FormatDate(At(day * kDay)) << "\n";
  out << " ";
  for (const Event& e : s.events) out << ' ' << ActName(e.act) << (e.arg != 0 ? " " + std::to_string(e.arg) : "") << ';';
  return out.str();
}

Verdict RunAndCheck(const Script& script) {
  World world;
  const Observations seen = world.Play(script);
  const CheckResult checked = CheckObservations(seen);
  Verdict v{checked.fault, checked.bells, checked.allowed};
  if (v.fault.empty()) return v;
  // What was seen, and the history the program wrote, with the fault.
  v.fault += "\nseen:\n";
  for (const Shown& s : seen.shown)
    v.fault += "  " + promise::FormatLocal(s.local) + " shown " + s.message + (s.mainBanner ? " 本鈴" : "") +
               (s.snoozeCaption ? " snoozed" : "") + "\n";
  for (const NoticeChange& n : seen.notices) {
    v.fault += "  " + promise::FormatLocal(n.local) + " notice:";
    for (const std::string& r : n.rows) v.fault += " [" + r + "]";
    v.fault += "\n";
  }
  v.fault += "history:\n";
  for (const std::string& line : seen.historyLines) v.fault += "  " + line + "\n";
  return v;
}

}  // namespace wb::sim
