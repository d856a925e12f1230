// Whether another instance runs, as the test scripts it: a fixed answer, or a queue of
// answers taken one per question (the last one sticks). Fake of IInstance.
#pragma once
#include <deque>
#include <functional>

#include "platform/Services.h"

namespace wb::fake {

class FakeInstance : public IInstance {
 public:
  bool Running = false;
  std::deque<bool> Answers;  // taken first, one per question
  int Calls = 0;
  // Runs before each answer (1 for the first question), e.g. to let the other instance end.
  std::function<void(int call)> OnAsk;

  bool OtherInstanceRunning() override {
    ++Calls;
    if (OnAsk) OnAsk(Calls);
    if (!Answers.empty()) {
      Running = Answers.front();
      Answers.pop_front();
    }
    return Running;
  }
};

}  // namespace wb::fake
