// Message boxes and common dialogs answered from a script; every question is recorded.
#pragma once
#include <deque>
#include <string>
#include <vector>

#include "platform/Services.h"

namespace wb::fake {

class FakeDialogs : public IDialogs {
 public:
  struct Question {
    std::string kind;  // "msgbox", "open", "color", "font"
    std::string text;  // message text, dialog title, or the colour / font name a dialog opened with
    int style = 0;
    std::string title;
  };
  std::vector<Question> Asked;

  // Answers, taken in order; with none queued a message box answers OK and dialogs cancel.
  std::deque<int> MsgAnswers;
  std::deque<std::string> OpenAnswers;  // "" cancels
  std::deque<uint32_t> ColorAnswers;
  std::deque<ui::Font> FontAnswers;

  int MsgBox(const std::string& text, int style, const std::string& title) override;
  bool OpenFile(const std::string& title, const std::string& filter, std::string& path) override;
  bool ChooseColor(uint32_t& color) override;
  bool ChooseFont(ui::Font& font) override;

  int CountMsgBoxes(const std::string& text) const;
};

}  // namespace wb::fake
