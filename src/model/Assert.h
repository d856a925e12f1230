// One assertion helper for program errors (an index outside the table, a broken invariant).
// A program error is never a user message: it stops the program with the place it happened.
// Portable: no operating-system header.
#pragma once

namespace wb {
[[noreturn]] void ProgramError(const char* what, const char* file, int line);
}  // namespace wb

#define WB_ASSERT(cond) \
  do { \
    if (!(cond)) ::wb::ProgramError(#cond, __FILE__, __LINE__); \
  } while (0)
