// Fuzzes the data-file reader on bytes in memory (no file is touched): a parse either fails
// with an empty table or yields a table that saves and reads back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/NativeServices.h"
#include "storage/DataFile.h"

namespace {

void Require(bool ok) {
  if (!ok) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static std::unique_ptr<wb::ITextCodec> codec = wb::MakeNativeCodec();
  std::string_view bytes(reinterpret_cast<const char*>(data), size);

  wb::AlarmTable t1;
  wb::AlarmFileInfo info;
  if (!wb::ParseAlarmFile(bytes, *codec, t1, 0x12345678, 0x9ABCDEF0, &info)) {
    Require(t1.EntryCount() == 0 && t1.SlotCount() == 1);
    return 0;
  }
  Require(t1.EntryCount() >= 0 && t1.SlotCount() == t1.EntryCount() + 1);
  if (info.headerCount < 0) Require(t1.EntryCount() == 0);
  else if (!bytes.empty()) Require(t1.EntryCount() == info.headerCount);

  // Text that did not decode cleanly may change once on its way through CP932; after that,
  // saving and reading must be stable byte for byte.
  std::string s1 = wb::SerializeAlarmTable(t1, *codec);
  wb::AlarmTable t2, t3;
  wb::AlarmFileInfo info2;
  Require(wb::ParseAlarmFile(s1, *codec, t2, 0, 0, &info2));
  Require(info2.currentLayout && t2.EntryCount() == t1.EntryCount());
  std::string s2 = wb::SerializeAlarmTable(t2, *codec);
  Require(wb::ParseAlarmFile(s2, *codec, t3, 0, 0));
  Require(wb::SerializeAlarmTable(t3, *codec) == s2);
  return 0;
}
