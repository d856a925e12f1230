// Whether the alarm table in memory holds edits the data file does not have. It outlives the
// editor window: a close without saving leaves the edits in memory, ringing, until the editor
// next reads the file, and a file changed elsewhere must not be read over them meanwhile (the
// monitor asks before it reads one). The editor alone sets it.
// Portable: no operating-system header.
#pragma once

namespace wb {

class EditorWindow;

class UnsavedEdits {
 public:
  static bool Any();

 private:
  friend class EditorWindow;
  static void Set(bool held);
};

void ResetUnsavedEdits();  // tests: a freshly started process

}  // namespace wb
