#include "audio/DeviceDialog.h"

#include "app_state/AppState.h"
#include "audio/Volume.h"
#include "storage/Settings.h"

namespace wb {
using ui::Px;

void FillDeviceList(ui::ComboBox& list, const std::vector<std::string>& names) {
  list.SetItems(names.empty() ? std::vector<std::string>{kNoDeviceItem} : names);
  list.SetEnabled(!names.empty());
}

std::string DeviceOfList(const ui::ComboBox& list) {
  const bool none = list.ListCount() == 1 && list.List(0) == kNoDeviceItem;
  return none ? std::string() : list.SelectedText();
}

DeviceDialog::DeviceDialog()
    : ui::Form("DeviceDialog", "サウンドデバイスの選択", 380 * ui::kTwipsPerPixel, 162 * ui::kTwipsPerPixel),
      promptLabel(*this, "promptLabel", {.rect = Px(14, 14, 352, 18), .caption = "サウンドデバイスを指定してください"}),
      midiDeviceLabel(*this, "midiDeviceLabel", {.rect = Px(14, 50, 110, 18), .caption = "MIDIデバイス(&M)"}),
      midiDeviceCombo(*this, "midiDeviceCombo", {.rect = Px(128, 46, 238, 200)}),
      waveDeviceLabel(*this, "waveDeviceLabel", {.rect = Px(14, 88, 110, 18), .caption = "WAVEデバイス(&W)"}),
      waveDeviceCombo(*this, "waveDeviceCombo", {.rect = Px(128, 84, 238, 200)}),
      okButton(*this, "okButton", {.rect = Px(276, 124, 90, 28), .caption = "ＯＫ"}) {
  centerOnScreen = true;
  okButton.SetDefault(true);
  okButton.onClick = [this] {
    chosenByUser_ = true;
    Unload();
  };
  // Escape is the dialog's cancel: it closes without taking the devices shown, so the question
  // comes again at the next opening.
  onEscape = [this] { Unload(); };
  onQueryUnload = [this](int&, ui::UnloadMode mode) {
    if (mode == ui::UnloadMode::ControlMenu) chosenByUser_ = true;
  };
  midiDeviceCombo.SetAccessibleName(ui::WithoutAccessKey(midiDeviceLabel.Caption()));
  waveDeviceCombo.SetAccessibleName(ui::WithoutAccessKey(waveDeviceLabel.Caption()));
  midiDeviceLabel.SetAccessKeyTarget(midiDeviceCombo);
  waveDeviceLabel.SetAccessKeyTarget(waveDeviceCombo);
  SetTabOrder({&midiDeviceCombo, &waveDeviceCombo, &okButton});
  onLoad = [this] { OnLoad(); };
  onUnload = [this] { OnUnload(); };
}

void DeviceDialog::OnLoad() {
  chosenByUser_ = false;
  FillDeviceList(midiDeviceCombo, MidiDevicesWithVolume());
  FillDeviceList(waveDeviceCombo, WaveDeviceNames());
  midiDeviceCombo.SetListIndex(0);
  waveDeviceCombo.SetListIndex(0);
}

void DeviceDialog::OnUnload() {
  if (!chosenByUser_) return;  // nobody chose: the dialog comes again next time
  AudioState& audio = App().audio;
  // A kind without devices keeps whatever name it had.
  if (std::string midi = DeviceOfList(midiDeviceCombo); !midi.empty()) audio.midiDeviceName = midi;
  if (std::string wave = DeviceOfList(waveDeviceCombo); !wave.empty()) audio.waveDeviceName = wave;
  Preferences devices;
  devices.midiDevice = audio.midiDeviceName;
  devices.waveDevice = audio.waveDeviceName;
  WriteSettings(ProgramIniPath(App().programFolder), devices, devices.midiDevice, devices.waveDevice);
  WriteSettings(DataIniPath(App().dataPath), devices, devices.midiDevice, devices.waveDevice);
}

bool DeviceNamesMissing() {
  const AudioState& audio = App().audio;
  return (audio.midiDeviceName.empty() && !MidiDevicesWithVolume().empty()) ||
         (audio.waveDeviceName.empty() && !WaveDeviceNames().empty());
}

}  // namespace wb
