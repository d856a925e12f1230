// The system clock on Linux: local time to the whole second, as the product reads it on Windows.
#include <time.h>

#include <chrono>
#include <thread>

#include "platform/NativeServices.h"
#include "platform/Services.h"

namespace wb {
namespace {

class PosixClock : public IClock {
 public:
  Moment Read() override {
    const time_t t = time(nullptr);
    struct tm lt {};
    localtime_r(&t, &lt);
    const LocalSecond local =
        SecondNumber(MakeDate(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday, lt.tm_hour, lt.tm_min, lt.tm_sec));
    return MomentAtLocal(local, int32_t(lt.tm_gmtoff));
  }
  void Sleep(int milliseconds) override {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
  int UtcOffsetMinutes(OleDate local) override {
    const CivilTime c = ToCivil(local);
    struct tm lt {};
    lt.tm_year = c.year - 1900;
    lt.tm_mon = c.month - 1;
    lt.tm_mday = c.day;
    lt.tm_hour = c.hour;
    lt.tm_min = c.minute;
    lt.tm_sec = c.second;
    lt.tm_isdst = -1;  // the rules of that day decide
    if (mktime(&lt) == time_t(-1)) return 0;
    return int(lt.tm_gmtoff / 60);
  }
};

}  // namespace

std::unique_ptr<IClock> MakeNativeClock() { return std::make_unique<PosixClock>(); }

}  // namespace wb
