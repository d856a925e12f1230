#include "model/CatchUp.h"

namespace wb {

// First commit: the interface only; the catch-up follows.
uint64_t EntryFingerprint(const AlarmEntry&) { return 0; }
OleDate LastHandledOf(const CatchUpState&, const AlarmTable&, int, OleDate) { return 0; }
void RecordHandled(CatchUpState&, const AlarmTable&, int, OleDate) {}
CatchUpResult FindMissedBells(const AlarmTable&, const CatchUpState&, OleDate from, OleDate now,
                              const CatchUpLimits&) {
  return {from, now, {}, {}};
}
void ApplyCatchUp(AlarmTable&, CatchUpState& state, const CatchUpResult&, OleDate now) { state.watchedUntil = now; }
TickGap ClassifyTickGap(OleDate, OleDate) { return TickGap::None; }
std::string MissedRowText(const MissedRow&) { return {}; }

}  // namespace wb
