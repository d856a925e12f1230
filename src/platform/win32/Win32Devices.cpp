// MIDI and wave output devices through the multimedia functions: count, capabilities, volume.
// Volumes are read and set by device number: the volume functions accept a device identifier
// in place of an open handle, so no device is ever opened here. Where the wave functions take
// only open handles (Wine), the same per-program volume of that output is reached through
// the volume control of the device's mixer line instead.
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>

#include "platform/win32/Utf.h"
#include "platform/win32/Win32Services.h"

namespace wb {
namespace {

// The devices are named by the ANSI capability records, whose 32-byte field is what the
// settings files have always stored: the wide records give longer names, and characters the
// ANSI code page lacks, that would never match a stored name again. The field is decoded as
// CP932, as the settings file is, so equal bytes give equal names; it need not hold a NUL
// when the name fills it.
template <size_t N>
std::string ProductName(const char (&field)[N]) {
  const int length = int(std::find(field, field + N, '\0') - field);
  if (length == 0) return {};
  const int wide = MultiByteToWideChar(932, 0, field, length, nullptr, 0);
  std::wstring text(size_t(wide > 0 ? wide : 0), L'\0');
  if (wide > 0) MultiByteToWideChar(932, 0, field, length, text.data(), wide);
  return win32::Narrow(text);
}

template <typename Caps>
DeviceCaps ToDeviceCaps(MMRESULT result, const Caps& caps) {
  DeviceCaps out;
  out.result = result;
  if (result == MMSYSERR_NOERROR) {
    out.name = ProductName(caps.szPname);
    out.support = caps.dwSupport;
  }
  return out;
}

bool ValidNumber(int device) { return device >= 0; }

// The volume control of the speaker line of the mixer that belongs to wave output `device`.
struct MixerVolume {
  UINT mixer = 0;
  MIXERCONTROLW control{};

  bool Find(int device) {
    if (mixerGetID(reinterpret_cast<HMIXEROBJ>(static_cast<UINT_PTR>(device)), &mixer, MIXER_OBJECTF_WAVEOUT) !=
        MMSYSERR_NOERROR)
      return false;
    MIXERLINEW line{};
    line.cbStruct = sizeof line;
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    if (mixerGetLineInfoW(Object(), &line, MIXER_OBJECTF_MIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) != MMSYSERR_NOERROR)
      return false;
    MIXERLINECONTROLSW controls{};
    controls.cbStruct = sizeof controls;
    controls.dwLineID = line.dwLineID;
    controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof control;
    controls.pamxctrl = &control;
    return mixerGetLineControlsW(Object(), &controls, MIXER_OBJECTF_MIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) ==
               MMSYSERR_NOERROR &&
           control.Bounds.dwMaximum > control.Bounds.dwMinimum;
  }

  // One channel: the control is uniform, and the program always sets both halves alike.
  MMRESULT Details(MIXERCONTROLDETAILS_UNSIGNED& value, bool set) {
    MIXERCONTROLDETAILS details{};
    details.cbStruct = sizeof details;
    details.dwControlID = control.dwControlID;
    details.cChannels = 1;
    details.cbDetails = sizeof value;
    details.paDetails = &value;
    const DWORD flags = MIXER_OBJECTF_MIXER | MIXER_GETCONTROLDETAILSF_VALUE;
    return set ? mixerSetControlDetails(Object(), &details, flags)
               : mixerGetControlDetailsW(Object(), &details, flags);
  }

  MMRESULT Get(uint32_t& volume) {
    MIXERCONTROLDETAILS_UNSIGNED value{};
    const MMRESULT result = Details(value, false);
    if (result != MMSYSERR_NOERROR) return result;
    const uint64_t span = control.Bounds.dwMaximum - control.Bounds.dwMinimum;
    const uint64_t above = std::min<uint64_t>(value.dwValue - std::min(value.dwValue, control.Bounds.dwMinimum), span);
    const uint32_t half = uint32_t((above * 0xFFFF + span / 2) / span);
    volume = half | (half << 16);
    return MMSYSERR_NOERROR;
  }

  MMRESULT Set(uint32_t volume) {
    const uint64_t half = std::max(volume & 0xFFFF, volume >> 16);  // the louder channel
    const uint64_t span = control.Bounds.dwMaximum - control.Bounds.dwMinimum;
    MIXERCONTROLDETAILS_UNSIGNED value{};
    value.dwValue = DWORD(control.Bounds.dwMinimum + (half * span + 0x7FFF) / 0xFFFF);
    return Details(value, true);
  }

  HMIXEROBJ Object() const { return reinterpret_cast<HMIXEROBJ>(static_cast<UINT_PTR>(mixer)); }
};

template <typename Handle>
Handle AsHandle(int device) {
  return reinterpret_cast<Handle>(static_cast<UINT_PTR>(device));
}

class Win32AudioDevices final : public IAudioDevices {
 public:
  int MidiCount() override { return int(midiOutGetNumDevs()); }

  DeviceCaps MidiCaps(int device) override {
    if (!ValidNumber(device)) return ToDeviceCaps(MMSYSERR_BADDEVICEID, MIDIOUTCAPSA{});
    MIDIOUTCAPSA caps{};
    return ToDeviceCaps(midiOutGetDevCapsA(UINT_PTR(device), &caps, sizeof caps), caps);
  }

  uint32_t MidiGetVolume(int device, uint32_t& volume) override {
    DWORD value = 0;
    const MMRESULT result = ValidNumber(device)
        ? midiOutGetVolume(AsHandle<HMIDIOUT>(device), &value) : MMRESULT(MMSYSERR_BADDEVICEID);
    volume = result == MMSYSERR_NOERROR ? uint32_t(value) : 0;
    return result;
  }

  uint32_t MidiSetVolume(int device, uint32_t volume) override {
    if (!ValidNumber(device)) return MMSYSERR_BADDEVICEID;
    return midiOutSetVolume(AsHandle<HMIDIOUT>(device), DWORD(volume));
  }

  int WaveCount() override { return int(waveOutGetNumDevs()); }

  DeviceCaps WaveCaps(int device) override {
    if (!ValidNumber(device)) return ToDeviceCaps(MMSYSERR_BADDEVICEID, WAVEOUTCAPSA{});
    WAVEOUTCAPSA caps{};
    return ToDeviceCaps(waveOutGetDevCapsA(UINT_PTR(device), &caps, sizeof caps), caps);
  }

  uint32_t WaveGetVolume(int device, uint32_t& volume) override {
    volume = 0;
    if (!ValidNumber(device)) return MMSYSERR_BADDEVICEID;
    DWORD value = 0;
    MMRESULT result = waveOutGetVolume(AsHandle<HWAVEOUT>(device), &value);
    if (result == MMSYSERR_NOERROR) {
      volume = value;
    } else if (MixerVolume mixer; result == MMSYSERR_INVALHANDLE && mixer.Find(device)) {
      result = mixer.Get(volume);
      if (result != MMSYSERR_NOERROR) volume = 0;
    }
    return result;
  }

  uint32_t WaveSetVolume(int device, uint32_t volume) override {
    if (!ValidNumber(device)) return MMSYSERR_BADDEVICEID;
    const MMRESULT result = waveOutSetVolume(AsHandle<HWAVEOUT>(device), DWORD(volume));
    if (MixerVolume mixer; result == MMSYSERR_INVALHANDLE && mixer.Find(device)) return mixer.Set(volume);
    return result;
  }
};

}  // namespace

std::unique_ptr<IAudioDevices> MakeWin32AudioDevices() { return std::make_unique<Win32AudioDevices>(); }

}  // namespace wb
