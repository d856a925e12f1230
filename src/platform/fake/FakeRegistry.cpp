#include "platform/fake/FakeRegistry.h"

#include <algorithm>
#include <cctype>

#include "model/Assert.h"

namespace wb::fake {

namespace {
// Whether `s` is well-formed UTF-8 as far as its byte structure goes: each lead byte followed
// by as many continuation bytes as it announces. Code page 932 text fails at once, its second
// bytes and most of its first ones being no valid lead.
bool IsUtf8(const std::string& s) {
  for (size_t i = 0; i < s.size();) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    const size_t length = b < 0x80 ? 1 : b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3
                          : b >= 0xF0 && b <= 0xF4 ? 4 : 0;
    if (length == 0 || i + length > s.size()) return false;
    for (size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += length;
  }
  return true;
}
}  // namespace

FakeRegistry::Where FakeRegistry::Place(RegRoot root, const std::string& key, const std::string& value) {
  auto up = [](std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return s;
  };
  return {root, up(key), up(value)};
}

void FakeRegistry::SetString(RegRoot root, const std::string& key, const std::string& value,
                             const std::string& text, bool withNul) {
  WB_ASSERT(IsUtf8(text));
  RegValue v;
  v.type = 1;
  v.bytes.assign(text.begin(), text.end());
  if (withNul) v.bytes.push_back(0);
  values_[Place(root, key, value)] = v;
}

void FakeRegistry::SetDword(RegRoot root, const std::string& key, const std::string& value, uint32_t number) {
  RegValue v;
  v.type = 4;
  for (int i = 0; i < 4; ++i) v.bytes.push_back(uint8_t(number >> (8 * i)));
  values_[Place(root, key, value)] = v;
}

void FakeRegistry::SetRaw(RegRoot root, const std::string& key, const std::string& value, RegValue v) {
  values_[Place(root, key, value)] = std::move(v);
}

bool FakeRegistry::Read(RegRoot root, const std::string& key, const std::string& value, uint32_t access,
                        uint32_t bufferSize, RegValue& out) {
  Requests.push_back({root, key, value, access, bufferSize});
  out = RegValue{};
  if (root == RegRoot::LocalMachine && !Administrator && (access & ~kKeyRead) != 0) return false;
  auto keyUpper = std::get<1>(Place(root, key, value));
  bool keyExists = false;
  for (auto& [where, v] : values_)
    if (std::get<0>(where) == root && std::get<1>(where) == keyUpper) keyExists = true;
  if (!keyExists) return false;
  auto it = values_.find(Place(root, key, value));
  if (it == values_.end()) return false;
  if (it->second.bytes.size() > bufferSize) return false;  // ERROR_MORE_DATA
  out = it->second;
  return true;
}

}  // namespace wb::fake
