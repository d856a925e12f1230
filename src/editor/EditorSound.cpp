// The sound of an entry: the file and its browse button, the test play, the volume sliders
// that act on the devices at once while a test plays, and the device lists.
#include "alert/Alarm.h"
#include "app_state/AppState.h"
#include "app_state/ProgramTitle.h"
#include "audio/DeviceDialog.h"
#include "audio/Volume.h"
#include "editor/EditorWindow.h"
#include "platform/Services.h"
#include "storage/FileIo.h"

namespace wb {

namespace {
constexpr const char* kSoundFilter = "サウンドファイル|*.wav;*.mp3;*.wma;*.mid|すべてのファイル|*.*";
}  // namespace

void EditorWindow::BrowseSoundFile() {
  AppState& app = App();
  dialogOpen_ = true;
  const std::string text = soundFileEdit.Text();
  std::string folder = text.find_first_not_of(' ') == std::string::npos ? "" : FolderOf(text);
  std::string path = folder.empty() ? app.programFolder : folder;  // a folder only: no name offered
  if (Svc().dialogs->OpenFileWith("Fileを開く", kSoundFilter, path, {})) {
    soundFileEdit.SetText(path);
    CaretToEnd(soundFileEdit);
    soundFileEdit.SetFocus();
    CheckStorable(soundFileEdit, kSoundFileNotStorable);
  }
  dialogOpen_ = false;
}

void EditorWindow::ToggleSoundTest() {
  // A missing file is said in a message box, which must not lose the focus to the repaint.
  dialogOpen_ = true;
  TheAlarm().ToggleTestPlay(soundFileEdit.Text(), VolumeFromSlider(midiVolumeSlider.Value()),
                 VolumeFromSlider(waveVolumeSlider.Value()));
  dialogOpen_ = false;
}

// While a test plays the sliders act on the devices at once; otherwise moving one puts the
// devices' own volume back, so a test's volume never outlives the test.
void EditorWindow::OnVolumeSliderChange(bool midi) {
  if (midi ? midiSliderSuppressed_ : waveSliderSuppressed_) return;
  if (TheAlarm().TestPlaying()) {
    if (midi)
      ApplyMidiVolume(VolumeFromSlider(midiVolumeSlider.Value()));
    else
      ApplyWaveVolume(VolumeFromSlider(waveVolumeSlider.Value()));
  } else if (!TheAlarm().Sounding()) {
    TheAlarm().ForgetEndedTest();
    if (midi)
      RestoreMidiVolume();
    else
      RestoreWaveVolume();
  }
}

void EditorWindow::FillDeviceLists() {
  // MIDI: the last device of the chosen name, else the first.
  const std::vector<std::string> midi = MidiDevicesWithVolume();
  int midiRow = 0;
  for (int i = 0; i < int(midi.size()); ++i)
    if (midi[size_t(i)] == ChosenMidiDevice()) midiRow = i;
  const std::vector<std::string> wave = WaveDeviceNames();
  int waveRow = 0;
  for (int i = 0; i < int(wave.size()); ++i)
    if (wave[size_t(i)] == ChosenWaveDevice()) waveRow = i;
  FillDeviceList(midiDeviceCombo, midi);
  FillDeviceList(waveDeviceCombo, wave);
  TellDeviceLists();
  midiDeviceCombo.SetListIndex(midiRow);  // runs the choice, as a user's would
  waveDeviceCombo.SetListIndex(waveRow);
  OnSoundClick();  // a kind without devices has no volume to set: its slider rests
}

// Another device chosen: the one controlled so far gets its volume back before the new one's
// is read and shown.
void EditorWindow::OnDeviceChoice(bool midi) {
  TellDeviceLists();
  if (TheAlarm().Sounding()) return;
  if (DeviceOfList(midi ? midiDeviceCombo : waveDeviceCombo).empty()) return;  // no device
  bool& suppressed = midi ? midiSliderSuppressed_ : waveSliderSuppressed_;
  suppressed = true;
  if (midi) {
    if (!SavedMidiDevice().empty()) RestoreMidiVolume();
    SaveMidiVolume(VolumesFrom());
    ShowVolumeOnSlider(midiVolumeSlider, SavedMidiVolume());
  } else {
    if (!SavedWaveDevice().empty()) RestoreWaveVolume();
    SaveWaveVolume(VolumesFrom());
    ShowVolumeOnSlider(waveVolumeSlider, SavedWaveVolume());
  }
  OpenSystemMixer();
  if (!HostStartingUp() && !loading_) {
    ChooseMidiDevice(DeviceOfList(midiDeviceCombo));
    ChooseWaveDevice(DeviceOfList(waveDeviceCombo));
    WriteChosenDevices();
  }
  suppressed = false;
}

}  // namespace wb
