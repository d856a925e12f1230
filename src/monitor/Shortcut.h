// The start-with-Windows shortcut in the user's Startup folder, through the shell service.
// Portable logic: no operating-system header.
#pragma once
#include <string>

namespace wb {

inline constexpr const char* kShortcutName = "Wakebell.lnk";
inline constexpr const char* kProgramFile = "Wakebell.exe";

// Creates Startup folder\name pointing at `target` (environment references expanded) with
// show-window value 4; an existing shortcut is left exactly as it is. False, with nothing
// created, when the system names no Startup folder.
bool CreateStartupShortcut(const std::string& target, const std::string& name);
bool StartupShortcutExists(const std::string& name);

}  // namespace wb
