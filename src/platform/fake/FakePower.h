// The power service without a system: remembers the wake timer's moment and every arm and
// cancel, whether the system is held awake, and lets a test deliver suspend, resume and clock
// notices. Fake of IPower.
#pragma once
#include <functional>
#include <optional>
#include <utility>

#include "platform/Services.h"

namespace wb::fake {

class FakePower : public IPower {
 public:
  WakeArm Answer = WakeArm::Armed;      // what arming answers
  std::optional<OleDate> WakeAt;        // the armed moment, none when cancelled or never set
  int ArmCalls = 0, CancelCalls = 0;
  bool Awake = false;                   // held awake now
  int AwakeChanges = 0;                 // each real change of Awake

  WakeArm ArmWakeTimer(OleDate localMoment) override {
    ++ArmCalls;
    if (Answer == WakeArm::Failed) return Answer;
    WakeAt = localMoment;
    return Answer;
  }
  void CancelWakeTimer() override {
    ++CancelCalls;
    WakeAt.reset();
  }
  void KeepAwake(bool on) override {
    if (on != Awake) ++AwakeChanges;
    Awake = on;
  }
  void SetEventHandler(std::function<void(PowerEvent)> handler) override { handler_ = std::move(handler); }

  // The system delivers a notice, as the real service's window would pass it on.
  void Raise(PowerEvent event) {
    if (handler_) handler_(event);
  }

 private:
  std::function<void(PowerEvent)> handler_;
};

}  // namespace wb::fake
