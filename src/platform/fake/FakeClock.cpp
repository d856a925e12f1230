#include "platform/fake/FakeClock.h"

namespace wb::fake {

void FakeClock::MoveTo(int64_t ms) {
  now_ += double(ms - ms_) / 86400000.0;
  ms_ = ms;
}

void FakeClock::Sleep(int ms) {
  ++SleepCalls;
  SleptMs += ms;
  // Timers keep their due moments in wall time; a blocked thread delivers them late.
  MoveTo(ms_ + ms);
}

void FakeClock::Advance(int64_t ms) {
  const int64_t end = ms_ + ms;
  for (;;) {
    ui::Timer* next = nullptr;
    int64_t when = end + 1;
    for (auto& [t, due] : due_)
      if (due < when) { when = due; next = t; }
    if (!next) break;
    MoveTo(std::max(when, ms_));
    due_[next] = ms_ + next->Interval();
    next->Fire();
  }
  MoveTo(end);
}

void FakeClock::Armed(ui::Timer& t) { due_[&t] = ms_ + t.Interval(); }
void FakeClock::Disarmed(ui::Timer& t) { due_.erase(&t); }

}  // namespace wb::fake
