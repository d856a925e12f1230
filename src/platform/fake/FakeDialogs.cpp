#include "platform/fake/FakeDialogs.h"

namespace wb::fake {

int FakeDialogs::MsgBox(const std::string& text, int style, const std::string& title) {
  Asked.push_back({"msgbox", text, style, title});
  if (OnAsk) OnAsk(Asked.back());
  if (MsgAnswers.empty()) return kAnswerOk;
  int a = MsgAnswers.front();
  MsgAnswers.pop_front();
  return a;
}

int FakeDialogs::Choose(const std::string& text, const std::vector<std::string>& buttons, int icon,
                        const std::string& title) {
  Asked.push_back({"choose", text, icon, title});
  ChooseButtons.push_back(buttons);
  if (OnAsk) OnAsk(Asked.back());
  if (ChooseAnswers.empty()) return int(buttons.size()) - 1;
  int a = ChooseAnswers.front();
  ChooseAnswers.pop_front();
  return a;
}

bool FakeDialogs::OpenFile(const std::string& title, const std::string& filter, std::string& path) {
  Asked.push_back({"open", title, 0, filter});
  if (OpenAnswers.empty()) return false;
  std::string a = OpenAnswers.front();
  OpenAnswers.pop_front();
  if (a.empty()) return false;
  path = a;
  return true;
}

bool FakeDialogs::ChooseColor(uint32_t& color) {
  Asked.push_back({"color", std::to_string(color), 0, ""});  // the colour it opened with
  if (ColorAnswers.empty()) return false;
  color = ColorAnswers.front();
  ColorAnswers.pop_front();
  return true;
}

bool FakeDialogs::ChooseFont(ui::Font& font) {
  Asked.push_back({"font", font.name, font.size, ""});  // the font it opened with
  if (FontAnswers.empty()) return false;
  font = FontAnswers.front();
  FontAnswers.pop_front();
  return true;
}

int FakeDialogs::CountMsgBoxes(const std::string& text) const {
  int n = 0;
  for (auto& q : Asked) n += q.kind == "msgbox" && q.text == text;
  return n;
}

}  // namespace wb::fake
