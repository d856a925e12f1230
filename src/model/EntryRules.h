// What makes a new entry one the program takes, and the words that refuse one: shared by the
// editor's add and `wakebell-tool add`, so that no entry reaches the table by one way that the
// other would refuse. Portable: no operating-system header.
#pragma once
#include "model/AlarmTable.h"

namespace wb {

inline constexpr const char* kHourMessage = "時間に、０～２３の数値を入力してください";
inline constexpr const char* kMinuteMessage = "分に、０～５９の数値を入力してください";
inline constexpr const char* kDayMessage = "日付を、１から３１までの値にしてください";
inline constexpr const char* kDayNotInMonthMessage = "日付を、その月にある日にしてください";
inline constexpr const char* kMessageNotStorable =
    "表示メッセージに、保存できない文字が含まれています\r\n別の文字に置き換えてください";
inline constexpr const char* kSoundFileNotStorable =
    "サウンドファイルのパスに、保存できない文字が含まれています\r\n別の場所のファイルを指定してください";
inline constexpr const char* kWeekdayMissingMessage = "曜日のいずれかを選択してください";
inline constexpr const char* kSoundFileMissingMessage = "有効なファイルが指定されていません";
inline constexpr const char* kTableFullMessage =
    "アラームエントリは３２７６７個までです\r\n不要なエントリを削除してから追加してください";
inline constexpr const char* kPastTimeQuestion = "設定時刻が過去になっていますが、設定しますか";

// The kinds that ring on chosen weekdays (weekly, every other week, the 1st-5th weekday).
constexpr bool RepeatKindNeedsWeekday(int kind) { return kind == kRepeatWeekly || (kind >= kRepeatBiweekly && kind <= kRepeatNth5); }

// Why `entry` may not be added to `table` (the checks that need no text codec: a weekday for
// the kinds that need one, a sound file when the sound is on, room in the table); nullptr when
// it may.
const char* RefusalOfNewEntry(const AlarmEntry& entry, const AlarmTable& table);

}  // namespace wb
