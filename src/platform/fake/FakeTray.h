// The notification-area icon without a shell: records every add, modify and delete, keeps the
// icon and tip the user would see, and lets a test move the cursor, click the icon or restart
// the shell. Fake of ITray for the window-logic tests.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/Services.h"

namespace wb::fake {

class FakeTray : public ITray {
 public:
  struct Call {
    std::string op;  // "add", "modify", "delete"
    TrayIcon icon = TrayIcon::App;
    std::string tip;
  };
  std::vector<Call> Calls;
  // When set, every call is also appended here ("tray add", ...), so a test can see the
  // order of calls across several fakes.
  std::vector<std::string>* Journal = nullptr;
  // Runs after each call is recorded, so a test can look at the world at that moment.
  std::function<void(const Call&)> OnCall;

  // What the shell shows now.
  bool Present = false;
  TrayIcon Icon = TrayIcon::App;
  std::string Tip;

  void Add(TrayIcon icon, const std::string& tip) override;
  void Modify(TrayIcon icon, const std::string& tip) override;
  void Delete() override;
  void SetMouseHandler(std::function<void(int)> handler) override { mouse_ = std::move(handler); }
  void SetShellRestartHandler(std::function<void()> handler) override { restart_ = std::move(handler); }
  void CursorPos(int32_t& x, int32_t& y) override { x = CursorX; y = CursorY; }
  // Recorded as a call "balloon" whose tip is the title, a line break, then the text.
  void ShowBalloon(const std::string& title, const std::string& text) override;

  int32_t CursorX = 100, CursorY = 100;

  // The shell reports a mouse message on the icon (0x200 move, 0x201 left down, ...).
  void Mouse(int mouseMessage);
  // A left click as Windows reports it: button down, then up.
  void LeftClick() { Mouse(0x201); Mouse(0x202); }
  // A double click as Windows reports it: down, up, double click, up.
  void DoubleClick() { Mouse(0x201); Mouse(0x202); Mouse(0x203); Mouse(0x202); }
  void RightClick() { Mouse(0x204); Mouse(0x205); }
  // Explorer restarted: the icon is gone; the tray service adds it again from the record it
  // was first added with, then tells the program.
  void RestartShell();
  int CountOps(const std::string& op) const;

 private:
  std::function<void(int)> mouse_;
  std::function<void()> restart_;
  Call firstAdd_;
};

}  // namespace wb::fake
