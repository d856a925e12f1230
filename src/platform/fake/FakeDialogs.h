// Message boxes and common dialogs answered from a script; every question is recorded.
#pragma once
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/Services.h"

namespace wb::fake {

class FakeDialogs : public IDialogs {
 public:
  struct Question {
    std::string kind;  // "msgbox", "choose", "open", "color", "font"
    std::string text;  // message text, dialog title, or the colour / font name a dialog opened with
    int style = 0;
    std::string title;
  };
  std::vector<Question> Asked;
  // Called as each question comes up, while the program waits for its answer.
  std::function<void(const Question&)> OnAsk;

  // Answers, taken in order; with none queued a message box answers OK and dialogs cancel.
  std::deque<int> MsgAnswers;
  std::deque<int> ChooseAnswers;  // the index of the button pressed; with none queued, the last
  std::vector<std::vector<std::string>> ChooseButtons;  // the buttons each "choose" offered
  std::deque<std::string> OpenAnswers;  // "" cancels
  std::deque<uint32_t> ColorAnswers;
  std::deque<ui::Font> FontAnswers;

  int MsgBox(const std::string& text, int style, const std::string& title) override;
  int Choose(const std::string& text, const std::vector<std::string>& buttons, int icon,
             const std::string& title) override;
  bool OpenFile(const std::string& title, const std::string& filter, std::string& path) override;
  bool ChooseColor(uint32_t& color) override;
  bool ChooseFont(ui::Font& font) override;

  int CountMsgBoxes(const std::string& text) const;
};

}  // namespace wb::fake
