// A clock the test sets and advances. It is also the timer host: advancing it fires the
// enabled timers at their due moments, in order, as the message loop would.
#pragma once
#include <cstdint>
#include <map>

#include "platform/Controls.h"
#include "platform/Services.h"

namespace wb::fake {

class FakeClock : public IClock, public ui::ITimerHost {
 public:
  explicit FakeClock(OleDate now = 0) : now_(now) {}
  Moment Read() override { return MomentOfDate(now_, UtcOffset * 60); }
  // A blocking wait: time passes, no timer fires meanwhile.
  void Sleep(int ms) override;
  int SleepCalls = 0;
  int SleptMs = 0;
  int UtcOffset = 540;  // Japan's, as the program's users have it
  int UtcOffsetMinutes(OleDate) override { return UtcOffset; }

  void Set(OleDate now) { now_ = now; }
  // Lets `ms` milliseconds pass, firing timers at their due moments.
  void Advance(int64_t ms);

  void Armed(ui::Timer& t) override;
  void Disarmed(ui::Timer& t) override;
  bool IsArmed(const ui::Timer& t) const { return due_.count(const_cast<ui::Timer*>(&t)) != 0; }

 private:
  void MoveTo(int64_t ms);
  OleDate now_;
  int64_t ms_ = 0;  // milliseconds since the clock was made
  std::map<ui::Timer*, int64_t> due_;
};

}  // namespace wb::fake
