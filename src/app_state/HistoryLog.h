// Writing one event into this PC's ring history (storage/History.h) from any window: the
// program folder and the local time's UTC offset filled in. A history that cannot be written
// never stops a bell; the event is then lost, nothing else.
// Portable: no operating-system header; the offset comes from the clock service.
#pragma once
#include <string>

#include "model/Moment.h"
#include "storage/History.h"

namespace wb {

// `due` the bell's local second (0 for events without a bell); the lateness is the present
// moment less `due`.
void LogHistory(HistoryEvent event, LocalSecond due = 0, const std::string& message = {});

// The history file of this PC.
std::string HistoryPath();

}  // namespace wb
