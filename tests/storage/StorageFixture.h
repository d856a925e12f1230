// Shared by the storage tests: a temporary folder per test, whole-file helpers and a byte
// builder that writes data-file fields by hand, independently of the code under test.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/ScratchFolder.h"

namespace wb::test {

class TempFolder : public ::testing::Test {
 protected:

  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
  std::string Folder() const { return dir_.string() + "/"; }

  static void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  }
  static std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static bool Exists(const std::string& path) { return std::filesystem::exists(path); }

  ScratchFolder scratch_{"wb_storage_"};
  const std::filesystem::path& dir_ = scratch_.Path();
};

// Little-endian fields as the data file stores them.
class Bytes {
 public:
  Bytes& I16(int16_t v) { return Raw(uint16_t(v), 2); }
  Bytes& I32(int32_t v) { return Raw(uint32_t(v), 4); }
  Bytes& F64(double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, 8);
    return Raw(bits, 8);
  }
  Bytes& Str(const std::string& cp932) {
    Raw(cp932.size(), 2);
    s_ += cp932;
    return *this;
  }
  Bytes& Header(int32_t count, const std::string& tag) { return I32(count).Str(tag); }
  const std::string& str() const { return s_; }

 private:
  Bytes& Raw(uint64_t v, int n) {
    for (int i = 0; i < n; ++i) s_ += char((v >> (8 * i)) & 0xFF);
    return *this;
  }
  std::string s_;
};

// CP932 bytes used by the tests.
inline const std::string kAlarmCp932 = "\x83\x41\x83\x89\x81\x5b\x83\x80";  // アラーム
inline const std::string kGothicCp932 = "MS P\xba\xde\xbc\xaf\xb8";          // MS Pｺﾞｼｯｸ

}  // namespace wb::test
