// The sound-device dialog: asks, the first time the editor opens, which MIDI and which wave
// output device the entries' volumes are for, and writes the choice into both settings files
// when it closes. Portable window logic: no operating-system header.
#pragma once
#include <string>
#include <vector>

#include "platform/Controls.h"

namespace wb {

// Shown in a device list of a kind the machine has none of (many machines have no MIDI
// output today): the list is disabled and no name is taken from it.
inline constexpr const char* kNoDeviceItem = "（デバイスなし）";

// Fills a device list with `names`, or with the no-device line (disabled) when there are none.
void FillDeviceList(ui::ComboBox& list, const std::vector<std::string>& names);
// The device a list names: "" for the no-device line or nothing selected.
std::string DeviceOfList(const ui::ComboBox& list);

// Touching it (ui::TheForm<DeviceDialog>) creates it hidden and fills its lists.
class DeviceDialog : public ui::Form {
 public:
  DeviceDialog();

  ui::Label promptLabel;
  ui::Label midiDeviceLabel;
  ui::ComboBox midiDeviceCombo;
  ui::Label waveDeviceLabel;
  ui::ComboBox waveDeviceCombo;
  // Closes the dialog as its close box does; Enter presses it.
  ui::Button okButton;

 private:
  void OnLoad();
  void OnUnload();
};

// A chosen device name is missing only when there is a device of that kind to choose from:
// on a machine without one, asking again at every opening would get no further.
bool DeviceNamesMissing();

}  // namespace wb
