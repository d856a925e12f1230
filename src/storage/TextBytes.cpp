#include "storage/TextBytes.h"

#include <memory>

#include "platform/TextCodec.h"

namespace wb {

ITextCodec& StorageCodec() {
  static std::unique_ptr<ITextCodec> native = MakeNativeCodec();
  return *native;
}

std::string_view CutCp932(std::string_view cp932, size_t maxBytes) {
  if (cp932.size() <= maxBytes) return cp932;
  size_t i = 0;
  while (i < cp932.size()) {
    size_t step = IsCp932LeadByte((unsigned char)cp932[i]) && i + 1 < cp932.size() ? 2 : 1;
    if (i + step > maxBytes) break;
    i += step;
  }
  return cp932.substr(0, i);
}

}  // namespace wb
