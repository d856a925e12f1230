#include "platform/fake/FakeTray.h"

namespace wb::fake {

namespace {
const char* IconName(TrayIcon i) { return i == TrayIcon::Stop ? "STOP" : "APP"; }
}  // namespace

void FakeTray::Add(TrayIcon icon, const std::string& tip) {
  Calls.push_back({"add", icon, tip});
  if (Journal) Journal->push_back(std::string("tray add ") + IconName(icon) + " " + tip);
  // A second add of an icon that is already there fails in the shell and changes nothing.
  if (!Present) {
    Present = true;
    Icon = icon;
    Tip = tip;
    firstAdd_ = Calls.back();
  }
  if (OnCall) {
    const Call call = Calls.back();  // the hook may add calls of its own
    OnCall(call);
  }
}

void FakeTray::ShowBalloon(const std::string& title, const std::string& text) {
  Calls.push_back({"balloon", Icon, title + "\n" + text});
  if (Journal) Journal->push_back("tray balloon " + title);
}

void FakeTray::Modify(TrayIcon icon, const std::string& tip) {
  Calls.push_back({"modify", icon, tip});
  if (Journal) Journal->push_back(std::string("tray modify ") + IconName(icon) + " " + tip);
  if (Present) {  // else the shell knows no such icon
    Icon = icon;
    Tip = tip;
  }
  if (OnCall) {
    const Call call = Calls.back();  // the hook may add calls of its own
    OnCall(call);
  }
}

void FakeTray::Delete() {
  Calls.push_back({"delete", Icon, Tip});
  if (Journal) Journal->push_back("tray delete");
  Present = false;
  if (OnCall) {
    const Call call = Calls.back();  // the hook may add calls of its own
    OnCall(call);
  }
}

void FakeTray::Mouse(int mouseMessage) {
  if (mouse_) mouse_(mouseMessage);
}

void FakeTray::RestartShell() {
  const bool hadIcon = Present;
  Present = false;
  if (!hadIcon) return;
  Present = true;
  Icon = firstAdd_.icon;
  Tip = firstAdd_.tip;
  if (restart_) restart_();
}

int FakeTray::CountOps(const std::string& op) const {
  int n = 0;
  for (auto& c : Calls) n += c.op == op;
  return n;
}

}  // namespace wb::fake
