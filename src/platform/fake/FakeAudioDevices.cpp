#include "platform/fake/FakeAudioDevices.h"

#include <cstdio>
#include <memory>

#include "platform/TextCodec.h"

namespace wb::fake {
namespace {
constexpr uint32_t kBadDeviceId = 2;  // MMSYSERR_BADDEVICEID
constexpr uint32_t kNotSupported = 8;  // MMSYSERR_NOTSUPPORTED
constexpr size_t kNameFieldBytes = 32;  // the ANSI record's name field, its NUL included

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

ITextCodec& Codec() {
  static std::unique_ptr<ITextCodec> native = MakeNativeCodec();
  return *native;
}

// The driver's name as the ANSI capability record carries it: CP932, "?" for a character it
// lacks, as many whole characters as fit before the field's NUL.
std::string AnsiRecordName(const std::string& name) {
  const std::string bytes = Codec().ToCp932(name);
  size_t fit = 0;
  while (fit < bytes.size()) {
    const size_t step = IsLeadByte((unsigned char)bytes[fit]) ? 2 : 1;
    if (fit + step > kNameFieldBytes - 1) break;
    fit += step;
  }
  return fit == 0 ? std::string() : Codec().FromCp932(bytes.substr(0, fit));
}
}  // namespace

FakeAudioDevices::Device& FakeAudioDevices::AddMidi(std::string name, uint32_t volume) {
  Midi.push_back(Device{std::move(name)});
  Midi.back().volume = volume;
  return Midi.back();
}

FakeAudioDevices::Device& FakeAudioDevices::AddWave(std::string name, uint32_t volume) {
  Wave.push_back(Device{std::move(name)});
  Wave.back().volume = volume;
  return Wave.back();
}

DeviceCaps FakeAudioDevices::Caps(const std::vector<Device>& list, int device, uint32_t volumeFlag) {
  DeviceCaps caps;
  if (device < 0 || device >= int(list.size())) {
    caps.result = kBadDeviceId;
    return caps;
  }
  const Device& d = list[size_t(device)];
  caps.result = d.capsResult;
  if (caps.result != 0) return caps;  // a failed call leaves the record empty
  caps.name = AnsiRecordName(d.name);
  caps.support = d.hasVolume ? volumeFlag : 0;
  return caps;
}

uint32_t FakeAudioDevices::Get(const std::vector<Device>& list, int device, uint32_t& volume) {
  if (device < 0 || device >= int(list.size())) return kBadDeviceId;
  const Device& d = list[size_t(device)];
  if (d.getFails || !d.hasVolume) return kNotSupported;
  volume = d.volume;
  return 0;
}

uint32_t FakeAudioDevices::Set(std::vector<Device>& list, bool midi, int device, uint32_t volume) {
  Sets.push_back(SetCall{midi, device, volume});
  if (Journal) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%08X", unsigned(volume));
    Journal->push_back(std::string(midi ? "midi " : "wave ") + std::to_string(device) + " " + hex);
  }
  if (device < 0 || device >= int(list.size())) return kBadDeviceId;
  Device& d = list[size_t(device)];
  if (d.setFails || !d.hasVolume) return kNotSupported;
  d.volume = volume;
  return 0;
}

}  // namespace wb::fake
