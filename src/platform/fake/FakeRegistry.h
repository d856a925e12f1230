// The registry as a map, with the access checks a normal user meets: keys of the local
// machine refuse any access beyond reading. Strings go in and come back as UTF-8, as the real
// service hands them over. Fake of IRegistry for the window-logic tests.
#pragma once
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/Services.h"

namespace wb::fake {

class FakeRegistry : public IRegistry {
 public:
  static constexpr uint32_t kKeyRead = 0x20019;

  struct Request {
    RegRoot root;
    std::string key, value;
    uint32_t access, bufferSize;
  };
  std::vector<Request> Requests;

  // Normal users may only read HKEY_LOCAL_MACHINE; administrators may do anything.
  bool Administrator = false;

  // `text` must be UTF-8: a string in another encoding is a mistake of the test, since the
  // real service never hands one over.
  void SetString(RegRoot root, const std::string& key, const std::string& value, const std::string& text,
                 bool withNul = true);
  void SetDword(RegRoot root, const std::string& key, const std::string& value, uint32_t number);
  void SetRaw(RegRoot root, const std::string& key, const std::string& value, RegValue v);

  bool Read(RegRoot root, const std::string& key, const std::string& value, uint32_t access,
            uint32_t bufferSize, RegValue& out) override;

 private:
  using Where = std::tuple<RegRoot, std::string, std::string>;  // root, upper-case key, upper-case value
  static Where Place(RegRoot root, const std::string& key, const std::string& value);
  std::map<Where, RegValue> values_;
};

}  // namespace wb::fake
