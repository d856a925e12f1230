// Little-endian reading and writing of the data file's Integer, Long, Date and String fields.
// A read past the end marks the reader failed instead of inventing zeros.
// Portable: no operating-system header.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace wb {

class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  bool Ok() const { return ok_; }
  size_t Left() const { return bytes_.size() - pos_; }

  int16_t Integer() { return int16_t(Unsigned(2)); }
  int32_t Long() { return int32_t(Unsigned(4)); }
  double Date() {
    uint64_t bits = Unsigned(8);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
  }
  // The text bytes of a String field (2-byte length, then the bytes).
  std::string_view String() {
    size_t n = size_t(Unsigned(2));
    if (!ok_ || n > Left()) {
      ok_ = false;
      return {};
    }
    std::string_view s = bytes_.substr(pos_, n);
    pos_ += n;
    return s;
  }

 private:
  uint64_t Unsigned(size_t n) {
    if (!ok_ || n > Left()) {
      ok_ = false;
      return 0;
    }
    uint64_t v = 0;
    for (size_t i = 0; i < n; ++i) v |= uint64_t((unsigned char)bytes_[pos_ + i]) << (8 * i);
    pos_ += n;
    return v;
  }

  std::string_view bytes_;
  size_t pos_ = 0;
  bool ok_ = true;
};

class ByteWriter {
 public:
  explicit ByteWriter(std::string& out) : out_(out) {}

  void Integer(int16_t v) { Unsigned(uint16_t(v), 2); }
  void Long(int32_t v) { Unsigned(uint32_t(v), 4); }
  void Date(double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    Unsigned(bits, 8);
  }
  // The caller keeps `text` within 65535 bytes.
  void String(std::string_view text) {
    Unsigned(uint16_t(text.size()), 2);
    out_.append(text);
  }

 private:
  void Unsigned(uint64_t v, size_t n) {
    for (size_t i = 0; i < n; ++i) out_ += char((v >> (8 * i)) & 0xFF);
  }
  std::string& out_;
};

}  // namespace wb
