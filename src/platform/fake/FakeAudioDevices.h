// A table of fake MIDI and wave output devices for tests: names, capability results, volume
// support and present volumes, with every volume change recorded in order.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Services.h"

namespace wb::fake {

class FakeAudioDevices : public IAudioDevices {
 public:
  struct Device {
    std::string name;           // as the driver gives it; the caps carry the ANSI record's form
    bool hasVolume = true;      // the volume flag of the capability record
    uint32_t capsResult = 0;    // non-zero: the capability call fails
    uint32_t volume = 0xFFFFFFFF;
    bool getFails = false;      // the volume cannot be read
    bool setFails = false;      // the volume cannot be set (the call reports an error)
  };
  struct SetCall {
    bool midi;
    int device;
    uint32_t volume;
  };

  std::vector<Device> Midi, Wave;
  std::vector<SetCall> Sets;  // every set call, in order, also the failed ones
  // Shared record across fakes: "midi <device> <volume in hex>", "wave <device> <volume in hex>".
  std::vector<std::string>* Journal = nullptr;

  Device& AddMidi(std::string name, uint32_t volume = 0xFFFFFFFF);
  Device& AddWave(std::string name, uint32_t volume = 0xFFFFFFFF);

  int MidiCount() override { return int(Midi.size()); }
  DeviceCaps MidiCaps(int device) override { return Caps(Midi, device, 0x0001); }
  uint32_t MidiGetVolume(int device, uint32_t& volume) override { return Get(Midi, device, volume); }
  uint32_t MidiSetVolume(int device, uint32_t volume) override { return Set(Midi, true, device, volume); }
  int WaveCount() override { return int(Wave.size()); }
  DeviceCaps WaveCaps(int device) override { return Caps(Wave, device, 0x0004); }
  uint32_t WaveGetVolume(int device, uint32_t& volume) override { return Get(Wave, device, volume); }
  uint32_t WaveSetVolume(int device, uint32_t volume) override { return Set(Wave, false, device, volume); }

 private:
  static DeviceCaps Caps(const std::vector<Device>& list, int device, uint32_t volumeFlag);
  static uint32_t Get(const std::vector<Device>& list, int device, uint32_t& volume);
  uint32_t Set(std::vector<Device>& list, bool midi, int device, uint32_t volume);
};

}  // namespace wb::fake
