// Device volumes: which device is read, set and given its volume back, and the sliders'
// conversions, over the fake device table.
#include "audio/Volume.h"

#include <fstream>
#include <optional>

#include "UiHarness.h"
#include "platform/Controls.h"
#include "storage/Settings.h"

namespace wb::test {
namespace {

class VolumeTest : public UiTest {
 protected:
  uint32_t MidiVolumeOf(int i) const { return devices.Midi[size_t(i)].volume; }
  uint32_t WaveVolumeOf(int i) const { return devices.Wave[size_t(i)].volume; }
};

TEST_F(VolumeTest, SliderConversionsAtTheEndsAndTheMiddle) {
  EXPECT_EQ(VolumeFromSlider(-32767), 0x00010001u);
  EXPECT_EQ(VolumeFromSlider(0), 0x80008000u);
  EXPECT_EQ(VolumeFromSlider(32767), 0xFFFFFFFFu);
  EXPECT_EQ(SliderPositionOfVolume(0x00010001u), -32767);
  EXPECT_EQ(SliderPositionOfVolume(0x80008000u), 0);
  EXPECT_EQ(SliderPositionOfVolume(0xFFFFFFFFu), 32767);
  // Only the left channel counts.
  EXPECT_EQ(SliderPositionOfVolume(0x12345678u), -10632);
  for (int p : {-32767, -10632, -1, 1, 12345, 32767}) EXPECT_EQ(SliderPositionOfVolume(VolumeFromSlider(p)), p);
}

TEST_F(VolumeTest, SilentLeftChannelShowsAtTheSliderMinimumNotBelowIt) {
  EXPECT_EQ(SliderPositionOfVolume(0x00000000u), -32767);
  EXPECT_EQ(SliderPositionOfVolume(0xFFFF0000u), -32767);
  // A position outside the slider's range never wraps into a loud volume.
  EXPECT_EQ(VolumeFromSlider(-32768), 0x00010001u);
  EXPECT_EQ(VolumeFromSlider(40000), 0xFFFFFFFFu);

  ui::Form form("FormT", "t", 1000, 1000);
  ui::HScrollBar slider(form, "midiVolumeSlider", {.min = kSliderMin, .max = kSliderMax});
  ShowVolumeOnSlider(slider, 0x12345678u);
  EXPECT_EQ(slider.Value(), -10632);
  ShowVolumeOnSlider(slider, 0);
  EXPECT_EQ(slider.Value(), -32767);
}

TEST_F(VolumeTest, StartUpReadsTheChosenDevicesByExactName) {
  devices.AddMidi("Synth", 0x11111111);
  devices.AddMidi("MIDI Mapper", 0x22222222);
  devices.AddWave("speakers", 0x33333333);
  devices.AddWave("Speakers", 0x44444444);
  ChooseMidiDevice("MIDI Mapper");
  ChooseWaveDevice("Speakers");
  SaveMidiVolume(DeviceFrom::Choice);
  SaveWaveVolume(DeviceFrom::Choice);
  EXPECT_EQ(SavedMidiVolume(), 0x22222222u);
  EXPECT_EQ(SavedMidiDevice(), "MIDI Mapper");
  EXPECT_EQ(SavedWaveVolume(), 0x44444444u);  // the name is compared case by case
  EXPECT_EQ(SavedWaveDevice(), "Speakers");
}

TEST_F(VolumeTest, ReadSkipsDevicesWithoutVolumeControlOrCapabilities) {
  devices.AddMidi("Synth", 0x1000).hasVolume = false;
  devices.AddMidi("Synth", 0x2000).capsResult = 2;
  devices.AddMidi("Synth", 0x3000);
  ChooseMidiDevice("Synth");
  EXPECT_EQ(ReadMidiVolume(DeviceFrom::Choice), 0x3000u);

  // Named but never usable: the name is recorded, the volume reads as 0.
  devices.Midi[2].hasVolume = false;
  ResetAudioState();
  ChooseMidiDevice("Synth");
  EXPECT_EQ(ReadMidiVolume(DeviceFrom::Choice), 0u);
  EXPECT_EQ(SavedMidiDevice(), "Synth");

  // A usable device whose volume call fails reads as 0.
  devices.Midi[2].hasVolume = true;
  devices.Midi[2].getFails = true;
  EXPECT_EQ(ReadMidiVolume(DeviceFrom::Choice), 0u);
}

TEST_F(VolumeTest, MissingDeviceReadsZeroAndKeepsTheRecordedName) {
  devices.AddWave("Speakers", 0x5555);
  ChooseWaveDevice("Speakers");
  SaveWaveVolume(DeviceFrom::Choice);
  ChooseWaveDevice("Headset");
  SaveWaveVolume(DeviceFrom::Choice);
  EXPECT_EQ(SavedWaveVolume(), 0u);
  EXPECT_EQ(SavedWaveDevice(), "Speakers");
}

TEST_F(VolumeTest, OutsideStartUpTheEditorListsChooseWhenLoaded) {
  devices.AddMidi("A", 0x0A0A);
  devices.AddMidi("B", 0x0B0B);
  devices.AddWave("W1", 0x0101);
  devices.AddWave("W2", 0x0202);
  ChooseMidiDevice("A");
  ChooseWaveDevice("W1");
  EXPECT_EQ(ReadMidiVolume(), 0x0A0Au);  // no editor: the chosen names stand in
  EXPECT_EQ(ReadWaveVolume(), 0x0101u);

  SetEditorListDevices("B", "W2");
  EXPECT_EQ(ReadMidiVolume(), 0x0B0Bu);
  EXPECT_EQ(ReadWaveVolume(), 0x0202u);
  EXPECT_EQ(ReadMidiVolume(DeviceFrom::Choice), 0x0A0Au);  // start-up always reads the stored names
  SetEditorListDevices(std::nullopt, std::nullopt);  // the editor unloaded
  EXPECT_EQ(ReadWaveVolume(), 0x0101u);
}

TEST_F(VolumeTest, MidiApplySetsEveryDeviceRestoreOnlyTheChosenOne) {
  devices.AddMidi("Synth", 0x11111111);
  devices.AddMidi("Mapper", 0x22222222);
  ChooseMidiDevice("Mapper");
  SaveMidiVolume(DeviceFrom::Choice);

  ApplyMidiVolume(0x40004000);
  EXPECT_EQ(MidiVolumeOf(0), 0x40004000u);
  EXPECT_EQ(MidiVolumeOf(1), 0x40004000u);
  RestoreMidiVolume();
  EXPECT_EQ(MidiVolumeOf(0), 0x40004000u);
  EXPECT_EQ(MidiVolumeOf(1), 0x22222222u);
}

TEST_F(VolumeTest, MidiApplyReachesDevicesThatReportErrors) {
  devices.AddMidi("Broken").capsResult = 5;
  devices.AddMidi("Plain");
  ApplyMidiVolume(0x12341234);
  ASSERT_EQ(devices.Sets.size(), 2u);
  EXPECT_EQ(devices.Sets[0].device, 0);
  EXPECT_EQ(devices.Sets[1].device, 1);
  EXPECT_EQ(MidiVolumeOf(1), 0x12341234u);
}

TEST_F(VolumeTest, WaveApplyOutsideTheEditorUsesTheDeviceItsListWouldSelect) {
  devices.AddWave("Speakers", 0x1111);
  devices.AddWave("Headset", 0x2222);
  devices.AddWave("Headset", 0x3333);
  ChooseWaveDevice("Headset");
  EXPECT_EQ(WaveListDefaultName(), "Headset");
  // The list selects the last "Headset"; the volume goes to the first usable one of that name.
  ApplyWaveVolume(0x7777);
  EXPECT_EQ(WaveVolumeOf(0), 0x1111u);
  EXPECT_EQ(WaveVolumeOf(1), 0x7777u);
  EXPECT_EQ(WaveVolumeOf(2), 0x3333u);

  // An unknown name: the list falls back to device 0.
  ChooseWaveDevice("USB");
  EXPECT_EQ(WaveListDefaultName(), "Speakers");
  ApplyWaveVolume(0x8888);
  EXPECT_EQ(WaveVolumeOf(0), 0x8888u);

  // With the editor loaded its selection decides.
  SetEditorListDevices(std::nullopt, "Headset");
  ApplyWaveVolume(0x9999);
  EXPECT_EQ(WaveVolumeOf(1), 0x9999u);
  EXPECT_EQ(WaveVolumeOf(0), 0x8888u);
}

TEST_F(VolumeTest, WaveApplyAndRestoreSkipUnusableDevicesAndDoNothingWithoutOne) {
  devices.AddWave("Speakers", 0x1111).hasVolume = false;
  devices.AddWave("Speakers", 0x2222);
  ChooseWaveDevice("Speakers");
  SaveWaveVolume();  // 0x2222, from the usable one
  ApplyWaveVolume(0x5555);
  EXPECT_EQ(WaveVolumeOf(0), 0x1111u);
  EXPECT_EQ(WaveVolumeOf(1), 0x5555u);

  RestoreWaveVolume();
  EXPECT_EQ(WaveVolumeOf(1), 0x2222u);

  devices.Sets.clear();
  ResetAudioState();  // nothing was ever read
  RestoreWaveVolume();
  EXPECT_TRUE(devices.Sets.empty());

  devices.Wave.clear();
  EXPECT_EQ(WaveListDefaultName(), "");
  ApplyWaveVolume(0x5555);
  EXPECT_TRUE(devices.Sets.empty());
}

// The settings file has always held a device as the ANSI capability record names it: at most
// 31 bytes of CP932, "?" for a character CP932 lacks. A device whose full name is longer, or
// holds such a character, must still be found under what was stored, by MIDI and by wave.
TEST_F(VolumeTest, StoredNamesOfLongAndUnencodableDevicesStillMatch) {
  struct Case {
    const char* what;
    std::string deviceName;   // the name the driver gives the device
    std::string storedCp932;  // MIDINM / WAVENM as the settings file holds it
    std::string shownName;    // the name the lists show and the program compares
  };
  const Case cases[] = {
      {"long Japanese name", "スピーカー (高品位オーディオ デバイス)",
       "\x83\x58\x83\x73\x81\x5b\x83\x4a\x81\x5b\x20\x28\x8d\x82\x95\x69\x88\xca\x83\x49\x81\x5b\x83\x66\x83\x42\x83\x49\x20\x83\x66",
       "スピーカー (高品位オーディオ デ"},
      {"character outside CP932", "Speakers (Ŝound)", "Speakers (?ound)", "Speakers (?ound)"},
  };
  for (const Case& c : cases) {
    devices.Midi.clear();
    devices.Wave.clear();
    devices.AddMidi("Other", 0x1111);
    devices.AddMidi(c.deviceName, 0x2222);
    devices.AddWave("Other", 0x3333);
    devices.AddWave(c.deviceName, 0x4444);
    const std::string ini = (dir / "Wakebell.ini").string();
    std::ofstream(ini, std::ios::binary | std::ios::trunc)
        << "[Wakebell]\r\nMIDINM=" << c.storedCp932 << "\r\nWAVENM=" << c.storedCp932 << "\r\n";
    ResetAudioState();
    TakeStoredDevices(ReadSettings<Preferences>(ini));
    EXPECT_EQ(ChosenWaveDevice(), c.shownName) << c.what;
    EXPECT_EQ(devices.WaveCaps(1).name, c.shownName) << c.what;

    SaveMidiVolume(DeviceFrom::Choice);
    SaveWaveVolume(DeviceFrom::Choice);
    EXPECT_EQ(SavedMidiDevice(), c.shownName) << c.what;
    EXPECT_EQ(SavedMidiVolume(), 0x2222u) << c.what;
    EXPECT_EQ(SavedWaveDevice(), c.shownName) << c.what;
    EXPECT_EQ(SavedWaveVolume(), 0x4444u) << c.what;

    // Written back, the name is the same bytes, and found again on the next start.
    Preferences chosen;
    chosen.midiDevice = devices.MidiCaps(1).name;
    chosen.waveDevice = devices.WaveCaps(1).name;
    WriteSettings(ini, chosen, chosen.midiDevice, chosen.waveDevice);
    std::ifstream in(ini, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(bytes, "[Wakebell]\r\nMIDINM=" + c.storedCp932 + "\r\nWAVENM=" + c.storedCp932 + "\r\n") << c.what;
  }
}

}  // namespace
}  // namespace wb::test
