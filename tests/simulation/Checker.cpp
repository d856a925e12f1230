// The checker of the ringing simulation: what the user saw, held to the promise. Written from
// the promise alone: it includes nothing of src/ and knows the program only by what its windows
// show. Its rules, each written once:
// - a bell due while the program ran, unpaused (a tick of its own minute came unpaused), on a
//   day it does not rest, is shown within two minutes of its moment exactly once, or reported
//   in the notice once (a row's count says how many), never both;
// - a bell whose minute had ticks only while paused is neither shown nor reported;
// - a bell that fell due while no tick came (the program not running, stalled, asleep, the clock
//   moved over it) is shown within two minutes of its moment or reported, once;
// - a pre-bell whose own minute was not watched whole (no tick, or cut short by a start, an end
//   or a stall) is settled by its main bell, shown or reported;
// - nothing rings on a day off, before its moment or twice;
// - a snooze rings once, its delay after the press in elapsed time, unless the entry's own bell
//   came first, it fell due in a pause or it could ring only half a day late;
// - every ring the history file records was seen.
// The allowances, where nobody can know (their share is counted and printed):
// - the end: a bell whose two minutes had not run out when the script ended may be unshown;
// - no state: the time before a start that found no state file (or a damaged one, or a program
//   folder it could not write) is not known, its bells may be lost, and what was shown in the
//   minutes before that start may be shown again;
// - a clock put back by more than two minutes: what was shown in the span lived again may be
//   shown again (the records made under the wrong clock stop counting);
// - a clock moved between a bell's moment and its showing: the lateness cannot be read off the
//   wall clock; nor, when the clock was set between a snooze's press and its ring, its delay;
// - a day listed as a day off while the program ran: a bell of that minute may rest or ring;
// - a bell of an entry whose alarm of the same kind and minute was still up: its ring shows
//   nothing new (the window already says it);
// - the program ended during a pause: a bell of that pause's last minute (or of the time
//   without ticks before the end) may be shown or reported after the next start.
#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>

#include "simulation/Observations.h"

namespace wb::sim {
namespace {

using promise::FormatLocal;
using promise::Kind;
using promise::PromisedBell;

constexpr int64_t kLateLimit = 120;  // shown at most this long after its moment
constexpr int64_t kEndAllowance = 180;
constexpr int64_t kSnoozeDropSeconds = 12 * 3600;  // a snooze this late is no reminder any more

enum class Status { Must, PausedOnly, Unknown };

struct Bell {
  PromisedBell b;
  Status status = Status::Must;
  bool watched = false;  // a tick of its own time came unpaused
  bool settled = false;
  int64_t settledAt = 0, settledUtc = 0;
  bool excused = false;  // counted once in the allowance share
  bool mayComeAgain = false;  // settled before a clock put back over it, or a start without state
  bool beforeBlindStart = false;  // settled before a start that found no state
};

struct Snooze {
  int entry = -1;
  int64_t pressLocal = 0, pressUtc = 0, ringUtc = 0, ringLocal = 0;
  bool rang = false, replaced = false, gaveWay = false;
  bool clockSet = false;  // the clock itself was set after the press: elapsed time is not known
  size_t ticksFrom = 0;   // the spans of ticks from the press on
};

class Checker {
 public:
  explicit Checker(const Observations& seen) : seen_(seen) {}

  CheckResult Run() {
    ExpectBells();
    for (const Happening& h : seen_.order) {
      if (!fault_.empty()) break;
      switch (h.what) {
        case What::Shown: TakeShown(seen_.shown[h.index]); break;
        case What::Notice: TakeNotice(seen_.notices[h.index]); break;
        case What::Answer: TakeAnswer(seen_.answers[h.index]); break;
        case What::Move: TakeMove(seen_.moves[h.index]); break;
        case What::Start: TakeStart(seen_.starts[h.index]); break;
        case What::Ticks: ticksSoFar_.push_back(seen_.ticks[h.index]); break;
        case What::DayOff: addedSoFar_ = h.index + 1; break;
      }
    }
    if (fault_.empty() && seen_.waitingLost > 0)
      Fail(std::to_string(seen_.waitingLost) + " alarms waiting behind an answered one never came back");
    if (fault_.empty()) CheckEnd();
    if (fault_.empty()) CheckHistory();
    CheckResult r;
    r.fault = fault_;
    r.bells = int(bells_.size());
    for (const Bell& b : bells_) r.allowed += b.excused ? 1 : 0;
    return r;
  }

 private:
  // ---- the bells the promise gives, and what the ticks saw of each ----

  bool Quick(int entry) const { return seen_.entries[size_t(entry)].kind == Kind::Quick; }

  // Whether a tick came in [from, to], unpaused (or paused).
  bool TickIn(int64_t from, int64_t to, bool paused) const {
    for (const TickSpan& t : seen_.ticks)
      if (t.paused == paused && std::max(t.from, from) <= std::min(t.to, to)) return true;
    return false;
  }

  void ExpectBells() {
    // Every local second the clock read: a clock put back reads some twice, one moved on skips some.
    // (A bell rings in its whole minute: the first start's minute counts from its beginning.)
    int64_t low = seen_.first - 120, high = seen_.last;
    for (const TickSpan& t : seen_.ticks) low = std::min(low, t.from - 120), high = std::max(high, t.to);
    for (const Gap& g : seen_.gaps) high = std::max(high, g.to - 1);
    const promise::Promise p = promise::BellsBetween(seen_.entries, seen_.daysOff, low, high);
    resting_ = p.resting;
    for (const PromisedBell& pb : p.bells) {
      Bell bell{pb};
      // The time in which the program shows it: its minute, a quick timer a minute from its second.
      const int64_t end = Quick(pb.entry) ? pb.due + 60 : pb.due - pb.due % 60 + 59;
      bell.watched = TickIn(pb.due, end, false);
      // A wall time the clock passed more than once (put back, the end of daylight saving) counts
      // by its most telling pass: ticks unpaused, else time unwatched outside a pause.
      bool unwatched = false, unknown = false, paused = TickIn(pb.due, end, true);
      for (const Gap& g : seen_.gaps) {
        if (pb.due <= g.from || pb.due >= g.to) continue;
        if (g.paused) paused = true;
        else if (g.kind == GapKind::DownUnknown || g.kind == GapKind::DownReadOnly) unknown = true;
        else unwatched = true;
      }
      // A moment the clock never read while the program ran or was down (before the first
      // start, beyond a clock put back) is not the program's to answer for.
      if (!bell.watched && !unwatched && !unknown && !paused) continue;
      // A quick timer that fell due before a start without state: its minute of grace reaches
      // into the start, but whether it rang before the end is not known.
      if (unknown && Quick(pb.entry)) bell.watched = false;
      if (!bell.watched && !unwatched) bell.status = unknown ? Status::Unknown : Status::PausedOnly;
      bells_.push_back(bell);
    }
  }

  int EntryOf(const std::string& message) const {
    for (size_t i = 0; i < seen_.messages.size(); ++i)
      if (seen_.messages[i] == message) return int(i);
    return -1;
  }

  std::string Name(const Bell& b) const {
    return seen_.messages[size_t(b.b.entry)] + (b.b.main ? " main " : " pre ") + FormatLocal(b.b.due);
  }

  void Fail(const std::string& what) {
    if (fault_.empty()) fault_ = what;
  }

  void Excuse(Bell& b) { b.excused = true; }

  // A clock move between two moments (local, in the order they happened).
  bool MovedBetween(int64_t fromLocal, int64_t toLocal) const {
    for (const ClockMove& m : movesSoFar_)
      if (m.local >= std::min(fromLocal, toLocal) - 1 && m.local <= std::max(fromLocal, toLocal) + 1) return true;
    return false;
  }

  // A bell settled before may be shown or reported once more after the clock was put back by
  // more than two minutes over it, or after a start that found no state.
  bool MayComeAgain(const Bell& b) const { return b.mayComeAgain; }

  // Whether an unpaused tick came in [from, to] before the moment `now` of the present pass.
  bool TickedSoFar(int64_t from, int64_t to, int64_t now) const {
    for (size_t i = 0; i < ticksSoFar_.size(); ++i) {
      const TickSpan& t = ticksSoFar_[i];
      const int64_t last = i + 1 == ticksSoFar_.size() ? std::min(t.to, now) : t.to;
      if (!t.paused && std::max(t.from, from) <= std::min(last, to)) return true;
    }
    return false;
  }
  // Whether the ticks so far saw the whole of a bell's minute, unpaused: a minute cut short (a
  // start, an end, a stall in it) may have had no tick to spare for it.
  bool WatchedWholeMinuteSoFar(const Bell& b, int64_t now) const {
    const int64_t from = b.b.due - b.b.due % 60, to = from + 59;
    for (size_t i = 0; i < ticksSoFar_.size(); ++i) {
      const TickSpan& t = ticksSoFar_[i];
      const int64_t last = i + 1 == ticksSoFar_.size() ? std::min(t.to, now) : t.to;
      if (!t.paused && t.from <= from && last >= to) return true;
    }
    return false;
  }

  // A snooze of the entry gives way to the entry's own bell.
  void GiveWay(int entry) {
    for (Snooze& z : snoozes_)
      if (z.entry == entry && !z.rang) z.gaveWay = true;
  }

  void Settle(Bell& b, int64_t at, int64_t utc, bool reported = false) {
    b.settled = true;
    b.settledAt = at;
    b.settledUtc = utc;
    GiveWay(b.b.entry);
    if (!b.b.main) return;
    // Its pre-bell, when that found no tick of its own so far (or shares the main bell's
    // minute), is settled with it.
    for (Bell& pre : bells_)
      if (!pre.settled && !pre.b.main && pre.b.entry == b.b.entry &&
          ((pre.b.occurrence == b.b.occurrence && (reported || !WatchedWholeMinuteSoFar(pre, at))) ||
           pre.b.due == b.b.due)) {
        pre.settled = true;
        pre.settledAt = at;
        pre.settledUtc = utc;
      }
  }

  // A day the user listed while the program ran rests from a minute after it was listed (the
  // program looks at the file once a minute); within that minute it may go either way. Only the
  // days listed before the `happened`-th thing seen count (0: all).
  enum class Rest { No, Maybe, Yes };
  Rest RestOf(const Bell& b, size_t happened) const {
    const promise::PromisedEntry& e = seen_.entries[size_t(b.b.entry)];
    if (!e.restsOnDaysOff || e.kind == Kind::Once || e.kind == Kind::Quick) return Rest::No;
    Rest r = Rest::No;
    for (size_t i = 0; i < seen_.daysOffAdded.size() && (happened == 0 || i < addedSoFar_); ++i) {
      const auto& added = seen_.daysOffAdded[i];
      if (added.day != promise::DayOf(b.b.occurrence)) continue;
      if (b.b.due >= added.local + 60) return Rest::Yes;
      // Before it on the wall clock: in the minute of the listing, or (at the end) a wall time
      // the clock may have come back to after it.
      r = Rest::Maybe;
    }
    return r;
  }

  bool DayListedWithin(const Bell& b, int64_t seconds) const {
    for (size_t i = 0; i < addedSoFar_; ++i) {
      const auto& added = seen_.daysOffAdded[i];
      if (added.day == promise::DayOf(b.b.occurrence) && b.b.due >= added.local - seconds) return true;
    }
    return false;
  }

  // ---- what was seen ----

  void TakeShown(const Shown& s) {
    const int entry = EntryOf(s.message);
    if (entry < 0) return Fail("shown a message no entry has: " + s.message);
    if (s.snoozeCaption) return TakeSnoozeShown(entry, s);
    const bool main = s.mainBanner;
    Bell* best = nullptr;
    for (Bell& b : bells_)
      if (b.b.entry == entry && b.b.main == main && !b.settled && b.b.due <= s.local &&
          (!best || b.b.due > best->b.due))
        best = &b;
    if (best && best->status == Status::PausedOnly && EndedInItsPause(*best)) Excuse(*best);
    else if (best && best->status == Status::PausedOnly && !MovedBetween(best->b.due, s.local))
      return Fail("shown a bell of a pause: " + Name(*best) + " at " + FormatLocal(s.local));
    if (best && RestOf(*best, 1) == Rest::Yes)
      return Fail("rang on a day listed off: " + Name(*best) + " at " + FormatLocal(s.local));
    if (best && RestOf(*best, 1) == Rest::Maybe && DayListedWithin(*best, 60)) Excuse(*best);
    if (best && s.local - best->b.due <= kLateLimit) return Settle(*best, s.local, s.utc);
    if (best && MovedBetween(best->b.due, s.local)) {
      Excuse(*best);
      return Settle(*best, s.local, s.utc);
    }
    for (const PromisedBell& r : resting_)
      if (r.entry == entry && r.main == main && r.due <= s.local && s.local - r.due <= kLateLimit)
        return Fail("rang on a day off: " + s.message + " " + FormatLocal(r.due));
    for (Bell& b : bells_)
      if (b.b.entry == entry && b.b.main == main && b.settled && b.b.due <= s.local &&
          s.local - b.b.due <= kLateLimit + 60) {
        if (MayComeAgain(b)) {
          Excuse(b);
          return GiveWay(entry);
        }
        return Fail("shown a second time: " + Name(b) + " at " + FormatLocal(s.local));
      }
    if (best)
      return Fail("shown " + std::to_string(s.local - best->b.due) + " s late: " + Name(*best));
    Fail(std::string("shown but not due: ") + s.message + (main ? " main" : " pre") + " at " + FormatLocal(s.local));
  }

  void TakeSnoozeShown(int entry, const Shown& s) {
    for (Snooze& z : snoozes_) {
      if (z.entry != entry || z.rang || z.replaced) continue;
      if (s.utc < z.ringUtc && !z.clockSet)
        return Fail("a snooze rang early: " + s.message + " at " + FormatLocal(s.local));
      // Late only where the program watched, unpaused, the two minutes after its time (UTC).
      int64_t watchedSeconds = 0;
      for (size_t i = z.ticksFrom; i < ticksSoFar_.size(); ++i)
        if (const TickSpan& t = ticksSoFar_[i]; !t.paused && t.from <= t.to)
          watchedSeconds += std::max<int64_t>(
              0, std::min(t.fromUtc + (t.to - t.from), z.ringUtc + kLateLimit) - std::max(t.fromUtc, z.ringUtc) + 1);
      const bool ticked = watchedSeconds > kLateLimit - 10;
      if (ticked && s.utc - z.ringUtc > kLateLimit && !z.clockSet)
        return Fail("a snooze rang " + std::to_string(s.utc - z.ringUtc) + " s late: " + s.message);
      z.rang = true;
      return;
    }
    Fail("a snooze rang that was not asked for (or twice): " + s.message + " at " + FormatLocal(s.local));
  }

  void TakeAnswer(const Answer& a) {
    if (a.snoozeMinutes <= 0) return;
    const int entry = EntryOf(a.message);
    if (entry < 0) return;
    for (Snooze& z : snoozes_)
      if (z.entry == entry && !z.rang) z.replaced = true;  // one snooze per entry: the new one stands
    Snooze z;
    z.entry = entry;
    z.pressLocal = a.local;
    z.pressUtc = a.utc;
    z.ringUtc = a.utc + int64_t(a.snoozeMinutes) * 60;
    z.ringLocal = a.local + int64_t(a.snoozeMinutes) * 60;
    z.ticksFrom = ticksSoFar_.empty() ? 0 : ticksSoFar_.size() - 1;
    snoozes_.push_back(z);
  }

  void TakeMove(const ClockMove& m) {
    movesSoFar_.push_back(m);
    if (!m.offset)
      for (Snooze& z : snoozes_)
        if (!z.rang) z.clockSet = true;
    if (m.offset) {
      // The wall clock moved, elapsed time did not: a snooze's ring moves on the wall clock.
      for (Snooze& z : snoozes_)
        if (!z.rang && z.ringLocal > m.local) z.ringLocal += m.by;
    }
    // Put back: the wall times from where it came to are lived again. A clock put back by more
    // than two minutes was wrong: what was handled later than where it came to no longer counts.
    const int64_t to = m.local + m.by;
    if (m.by < 0)
      for (Bell& b : bells_) {
        if (!b.settled) continue;
        if (b.beforeBlindStart && b.b.due + 60 >= to) b.mayComeAgain = true;
        if (!m.offset && m.by < -kLateLimit && (b.b.due + 60 >= to || b.settledUtc > m.utc + m.by + kLateLimit))
          b.mayComeAgain = true;
      }
  }

  void TakeStart(int64_t local) {
    for (const Gap& g : seen_.gaps)
      if (g.to == local + 1 && (g.kind == GapKind::DownUnknown || g.kind == GapKind::DownReadOnly)) {
        // Without the state, what was handled just before, or at a wall time the clock will read
        // again (the end of daylight saving, a clock put back), cannot be told from a clock that
        // was wrong.
        for (Bell& b : bells_) {
          if (b.settled && (local - b.settledAt <= kLateLimit + 60 || b.b.due > local)) b.mayComeAgain = true;
          if (b.settled) b.beforeBlindStart = true;
          // What waited to be shown when the program ended (or fell due in the ticks' absence
          // just before) is not known to a start without state.
          if (!b.settled && b.b.due <= g.from && b.b.due > g.lastTick - kLateLimit - 60)
            b.status = Status::Unknown;
        }
        for (Snooze& z : snoozes_)
          if (!z.rang) z.replaced = true;  // kept in the state that was lost
      }
  }

  // One row: "yyyy/mm/dd hh:nn[（予鈴）]  message[  ×N]".
  struct Row {
    int64_t minute = 0;
    bool main = true;
    std::string message;
    int count = 1;
  };
  static bool ParseRow(const std::string& text, Row& row) {
    int y, mo, d, h, mi;
    if (text.size() < 16 || std::sscanf(text.c_str(), "%d/%d/%d %d:%d", &y, &mo, &d, &h, &mi) != 5) return false;
    row.minute = promise::LocalSeconds(y, mo, d, h, mi);
    std::string rest = text.substr(16);
    const std::string preMark = "（予鈴）";
    row.main = rest.compare(0, preMark.size(), preMark) != 0;
    if (!row.main) rest = rest.substr(preMark.size());
    if (rest.compare(0, 2, "  ") != 0) return false;
    rest = rest.substr(2);
    const size_t times = rest.rfind("  ×");
    row.count = 1;
    if (times != std::string::npos) {
      row.count = std::atoi(rest.c_str() + times + std::string("  ×").size());
      rest = rest.substr(0, times);
    }
    row.message = rest;
    return row.count > 0;
  }

  void TakeNotice(const NoticeChange& n) {
    if (n.fresh) noticeRows_.clear();
    std::map<std::string, Row> now;
    for (const std::string& text : n.rows) {
      Row row;
      if (!ParseRow(text, row)) return Fail("a notice row that does not read: " + text);
      now[row.message] = row;
    }
    for (const auto& [message, row] : now) {
      const auto before = noticeRows_.find(message);
      const int added = row.count - (before == noticeRows_.end() ? 0 : before->second.count);
      if (added < 0) return Fail("a notice row's count went down: " + message);
      if (added > 0) TakeReport(row, added, n.local, n.utc);
    }
    noticeRows_ = now;
  }

  void TakeReport(const Row& row, int count, int64_t at, int64_t utc) {
    const int entry = EntryOf(row.message);
    if (entry < 0) return Fail("reported a message no entry has: " + row.message);
    // The bells it may stand for: not settled, not of a pause, up to the row's minute; a
    // pre-bell whose main bell is among them goes with that main bell.
    std::vector<Bell*> open;
    for (Bell& b : bells_) {
      if (b.b.entry != entry || b.b.due > row.minute + 59 || RestOf(b, 1) == Rest::Yes) continue;
      // A bell settled before may be reported again where it may come again.
      const bool again = b.settled && MayComeAgain(b);
      if ((!b.settled && (b.status != Status::PausedOnly || EndedInItsPause(b))) || again) open.push_back(&b);
    }
    std::erase_if(open, [&](const Bell* p) {
      if (p->b.main) return false;
      return std::any_of(open.begin(), open.end(), [&](const Bell* m) {
        return m->b.main && m->b.occurrence == p->b.occurrence;
      });
    });
    // Newest first; of two in one minute (a lead of whole days), the kind the row names.
    std::sort(open.begin(), open.end(), [&](const Bell* a, const Bell* b) {
      if (a->b.due != b->b.due) return a->b.due > b->b.due;
      return (a->b.main == row.main) > (b->b.main == row.main);
    });
    if (int(open.size()) < count) {
      std::string known;
      for (const Bell& b : bells_)
        if (b.b.entry == entry) known += " [" + Name(b) + (b.settled ? " settled" : "") + "]";
      return Fail("reported " + std::to_string(count) + " missed bells of " + row.message + " up to " +
                  FormatLocal(row.minute) + ", but only " + std::to_string(open.size()) + " were; its bells:" + known);
    }
    if (open[0]->b.due / 60 != row.minute / 60 && !MovedBetween(open[0]->b.due, at))
      return Fail("a notice row says " + FormatLocal(row.minute) + " for " + row.message + ", its newest missed bell is " +
                  FormatLocal(open[0]->b.due));
    for (int k = 0; k < count; ++k) {
      Bell& b = *open[size_t(k)];
      if (b.settled || b.status == Status::PausedOnly) Excuse(b);
      Settle(b, at, utc, true);
    }
  }

  // The program ended within a pause in the minute of this bell: whether the pause or the time
  // it was not running came first is not known to the next start.
  bool EndedInItsPause(const Bell& b) const {
    for (const Gap& g : seen_.gaps)
      if (g.endedPaused && b.b.due <= g.from && b.b.due > g.lastTick - 60 - 60) return true;
    return false;
  }

  // ---- at the end ----

  void CheckEnd() {
    for (Bell& b : bells_) {
      if (b.settled || b.status == Status::PausedOnly) continue;
      if (b.status == Status::Unknown) {
        Excuse(b);
        continue;
      }
      if (b.b.due > seen_.last - kEndAllowance && b.b.due <= seen_.last) {
        Excuse(b);
        continue;
      }
      if (!b.b.main && !b.watched && MainSettled(b)) continue;
      // Its main bell is one nobody can know of (a start without state): so is it.
      if (!b.b.main && MainOf(b) && MainOf(b)->status == Status::Unknown && !MainOf(b)->settled) {
        Excuse(b);
        continue;
      }
      if (OnTheScreen(b)) {
        Excuse(b);
        ++ringsOnTheScreen_[seen_.messages[size_t(b.b.entry)]];
        continue;
      }
      // Its day was listed off later: whether it fell due before or after, it rests now.
      if (const Rest r = RestOf(b, 0); r != Rest::No) {
        if (r != Rest::Yes) Excuse(b);
        continue;
      }
      return Fail("neither shown nor reported: " + Name(b));
    }
    for (const Snooze& z : snoozes_) {
      // Rung, replaced by a later snooze, or given way to the entry's own bell.
      if (z.rang || z.replaced || z.gaveWay) continue;
      if (z.ringLocal > seen_.last - kEndAllowance) continue;
      // Its entry's own bell fell due before it (shown, reported or in a pause alike).
      bool bellFirst = false;
      for (const Bell& b : bells_)
        if (b.b.entry == z.entry && b.b.due > z.pressLocal && b.b.due <= z.ringLocal) bellFirst = true;
      if (bellFirst) continue;
      // It fell due in a pause, or the clock moved under it (the wall time of its ring is not known).
      bool inPause = TickIn(z.ringLocal, z.ringLocal + 59, true);
      for (const Gap& g : seen_.gaps) inPause = inPause || (g.paused && z.ringLocal > g.from && z.ringLocal < g.to);
      // Or no tick came for half a day after it (a clock set that far on): it is dropped.
      bool jumpedOver = false;
      for (const ClockMove& m : seen_.moves)
        jumpedOver = jumpedOver || (!m.offset && m.by > kSnoozeDropSeconds && m.utc >= z.pressUtc);
      if (inPause || jumpedOver || z.clockSet || MovedBetween(z.pressLocal, z.ringLocal + kLateLimit)) continue;
      return Fail("a snooze never rang: " + seen_.messages[size_t(z.entry)] + " pressed " + FormatLocal(z.pressLocal));
    }
  }



  // The window already showed exactly what this bell's ring shows (its entry's alarm of the
  // same kind and minute, left up): its ring changed nothing on the screen.
  bool OnTheScreen(const Bell& b) const {
    const std::string time = FormatLocal(b.b.due).substr(11, 5);
    for (const auto& span : seen_.upSpans)
      if (span.message == seen_.messages[size_t(b.b.entry)] && span.main == b.b.main && span.time == time &&
          span.from <= b.b.due + kLateLimit && span.to >= b.b.due)
        return true;
    return false;
  }

  const Bell* MainOf(const Bell& pre) const {
    for (const Bell& b : bells_)
      if (b.b.main && b.b.entry == pre.b.entry && b.b.occurrence == pre.b.occurrence) return &b;
    return nullptr;
  }

  bool MainSettled(const Bell& pre) const {
    for (const Bell& b : bells_)
      if (b.b.main && b.b.entry == pre.b.entry && b.b.occurrence == pre.b.occurrence) return b.settled;
    return false;
  }

  // Each ring the history records was seen: a line "moment<TAB>tag<TAB>due<TAB>message<TAB>late".
  void CheckHistory() {
    if (seen_.readOnlyFolder) return;
    std::map<std::string, int> rungInHistory, shownOnScreen, ringsOfBell;
    for (const std::string& line : seen_.historyLines) {
      std::vector<std::string> fields;
      std::stringstream in(line);
      for (std::string f; std::getline(in, f, '\t');) fields.push_back(f);
      if (fields.size() < 4) continue;
      if (fields[1] != "rang" && fields[1] != "pre-bell" && fields[1] != "snooze-rang") continue;
      ++rungInHistory[fields[3]];
      // A second ring of a bell that may come again (a clock put back over it) while its window
      // still showed it looks the same on the screen.
      int y, mo, d, h, mi, sec;
      if (std::sscanf(fields[2].c_str(), "%d/%d/%d %d:%d:%d", &y, &mo, &d, &h, &mi, &sec) != 6) continue;
      const int64_t due = promise::LocalSeconds(y, mo, d, h, mi, sec);
      const std::string key = fields[3] + "@" + std::to_string(due) + fields[1];
      if (++ringsOfBell[key] < 2) continue;
      for (Bell& b : bells_)
        if (b.mayComeAgain && seen_.messages[size_t(b.b.entry)] == fields[3] && b.b.due == due) {
          Excuse(b);
          --rungInHistory[fields[3]];
          break;
        }
    }
    for (const Shown& s : seen_.shown) ++shownOnScreen[s.message];
    for (const auto& [message, count] : ringsOnTheScreen_) shownOnScreen[message] += count;
    for (const auto& [message, count] : rungInHistory)
      if (count > shownOnScreen[message])
        return Fail("the history has " + std::to_string(count) + " rings of " + message + ", " +
                    std::to_string(shownOnScreen[message]) + " were seen (one rang unseen, or twice)");
  }

  const Observations& seen_;
  std::vector<Bell> bells_;
  std::vector<PromisedBell> resting_;
  std::vector<Snooze> snoozes_;
  std::map<std::string, Row> noticeRows_;
  std::vector<ClockMove> movesSoFar_;
  std::vector<TickSpan> ticksSoFar_;
  std::map<std::string, int> ringsOnTheScreen_;  // rings that changed nothing on the screen
  size_t addedSoFar_ = 0;  // days off listed so far
  std::string fault_;
};

}  // namespace

CheckResult CheckObservations(const Observations& seen) { return Checker(seen).Run(); }

}  // namespace wb::sim
