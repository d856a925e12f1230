// The editor's appearance controls (colour groups, font, preview), the sound test with its
// sliders, and the device lists with the first-run device dialog.
#include <functional>

#include "alert/Alarm.h"
#include "EditorFixture.h"
#include "alert/AlarmWindow.h"
#include "app_state/AppState.h"
#include "audio/DeviceDialog.h"

namespace wb::test {
namespace {

using EditorLook = EditorTest;

struct ColorClicks {
  const char* name;
  bool textGroup;
  std::vector<int> clicks;         // boxes clicked in turn
  std::vector<uint32_t> answers;   // colour dialog answers, none: cancelled
  int ticked;                      // the one ticked box afterwards
  uint32_t color;                  // text or background colour of the sample afterwards
  int dialogs;                     // colour dialogs opened
};

// The defaults tick 黒 (text) and 灰 (background).
TEST_F(EditorLook, ColorGroupsAlwaysKeepOneTickedBox) {
  const ColorClicks cases[] = {
      {"a fixed colour", true, {1}, {}, 1, 0xFFB29C, 0},
      {"the ticked fixed box stays", true, {1, 1}, {}, 1, 0xFFB29C, 0},
      {"the free colour", true, {0}, {0x123456}, 0, 0x123456, 1},
      {"the ticked free box asks again; cancel keeps the colour", true, {0, 0}, {0x123456}, 0, 0x123456, 2},
      {"cancelled at once: ticked, colour as it was", true, {0}, {}, 0, 0, 1},
      {"background grey is the system colour", false, {2, 5}, {}, 5, 0x8000000F, 0},
      {"background free colour", false, {0}, {0xABCDEF}, 0, 0xABCDEF, 1},
  };
  for (const ColorClicks& c : cases) {
    SCOPED_TRACE(c.name);
    EditorWindow& w = Open();
    auto& boxes = c.textGroup ? w.textColorChecks : w.backColorChecks;
    dialogs.ColorAnswers.assign(c.answers.begin(), c.answers.end());
    dialogs.Asked.clear();
    for (int box : c.clicks) {  // a click focuses the box, then ticks it
      boxes[size_t(box)].SetFocus();
      boxes[size_t(box)].Toggle();
    }
    for (int i = 0; i < 8; ++i) EXPECT_EQ(boxes[size_t(i)].Value(), ui::TickedIf(i == c.ticked)) << i;
    EXPECT_EQ(c.textGroup ? w.sampleView.TextColor() : w.sampleView.BackColor(), c.color);
    EXPECT_EQ(int(dialogs.Asked.size()), c.dialogs);
    EXPECT_EQ(Focused(w), boxes[size_t(c.clicks.back())].Name());  // the focus stays with the user
    ui::ForgetForm<EditorWindow>();
    ui::CollectRetiredForms();
  }
}

TEST_F(EditorLook, DialogsOpenFromTheSampleAndAFontKeepsTheColour) {
  EditorWindow& w = Open();
  w.textColorChecks[4].Toggle();  // 赤
  dialogs.ColorAnswers = {0x00FF00};
  w.textColorChecks[0].Toggle();
  EXPECT_EQ(dialogs.Asked.back().text, std::to_string(0x0000FF));  // opened from red
  dialogs.FontAnswers = {ui::Font{.name = "MS Gothic", .size = 20, .italic = true}};
  w.fontButton.Press();
  EXPECT_EQ(dialogs.Asked.back().text, "MS Pｺﾞｼｯｸ");
  EXPECT_EQ(w.sampleView.GetFont().name, "MS Gothic");
  EXPECT_EQ(w.sampleView.GetFont().size, 20);
  EXPECT_EQ(w.sampleView.TextColor(), 0x00FF00u);
  w.fontButton.Press();  // cancelled: nothing changes
  EXPECT_EQ(w.sampleView.GetFont().size, 20);
  // An entry takes its look from the sample and the ticked boxes.
  w.addButton.Press();
  ASSERT_EQ(App().table.EntryCount(), 1);
  EXPECT_EQ(App().table[0].Look.FontName, "MS Gothic");
  EXPECT_EQ(App().table[0].Look.FontItalic, kTrue);
  EXPECT_EQ(App().table[0].Look.ForeColor, 0x00FF00);
  EXPECT_EQ(App().table[0].Look.ForeColorIndex, 0);
  EXPECT_EQ(App().table[0].Look.BackColorIndex, 5);
}

TEST_F(EditorLook, PreviewShowsTheAlarmWindowAndChangesNoAlarmState) {
  EditorWindow& w = Open();
  w.messageEdit.SetText("お茶の時間");
  SetTime(w, 7, 5);
  w.previewButton.Press();
  AlarmWindow* alarm = ui::FormIfLoaded<AlarmWindow>();
  ASSERT_NE(alarm, nullptr);
  EXPECT_TRUE(alarm->Visible());
  EXPECT_EQ(alarm->Caption(), "Wakebell ■■プレビュー■■");
  EXPECT_EQ(alarm->messageView.Text(), "お茶の時間");
  EXPECT_EQ(alarm->bannerView.Text(), "■本鈴■");
  EXPECT_EQ(alarm->timeView.Text(), "07:05");
  EXPECT_EQ(alarm->BackColor(), w.sampleView.BackColor());
  EXPECT_EQ(TheAlarm().Progress().activeSlot, -1);
  EXPECT_TRUE(mci.Commands.empty());
  alarm->okButton.Press();
  EXPECT_FALSE(alarm->Visible());
}

TEST_F(EditorLook, TestPlayUsesTheSlidersAndGivesTheVolumesBack) {
  devices.AddMidi("MIDI Out", 0x11111111);
  devices.AddWave("Speakers", 0x22222222);
  SetSetting(ProgramIni(), "MIDINM", "MIDI Out");
  SetSetting(ProgramIni(), "WAVENM", "Speakers");
  launcher.Files = {"C:\\chime.wav"};
  EditorWindow& w = Open();
  w.soundCheck.SetValue(ui::CheckState::Ticked);
  w.soundFileEdit.SetText("C:\\missing.wav");
  w.testPlayButton.Press();
  EXPECT_EQ(LastMessage(), "指定されたファイルはありません");
  EXPECT_EQ(mci.Plays(), 0);

  w.soundFileEdit.SetText("C:\\chime.wav");
  w.midiVolumeSlider.SetValue(0);
  w.testPlayButton.Press();
  EXPECT_EQ(mci.GetState(), fake::FakeMci::State::Playing);
  EXPECT_EQ(devices.Midi[0].volume, 0x80008000u);
  w.waveVolumeSlider.SetValue(32767);  // acts at once while the test plays
  EXPECT_EQ(devices.Wave[0].volume, 0xFFFFFFFFu);
  w.testPlayButton.Press();  // the second press stops it
  EXPECT_EQ(mci.GetState(), fake::FakeMci::State::Closed);
  EXPECT_EQ(devices.Midi[0].volume, 0x11111111u);
  EXPECT_EQ(devices.Wave[0].volume, 0x22222222u);
  w.waveVolumeSlider.SetValue(-32767);  // nothing plays: no device takes the slider's value
  EXPECT_EQ(devices.Wave[0].volume, 0x22222222u);
  w.soundCheck.SetValue(ui::CheckState::Unticked);
  for (ui::Control* c : std::initializer_list<ui::Control*>{&w.soundFileEdit, &w.browseSoundButton, &w.testPlayButton,
                                                            &w.endlessCheck, &w.midiVolumeSlider, &w.waveVolumeLabel})
    EXPECT_FALSE(c->Enabled()) << c->Name();
  EXPECT_TRUE(w.midiDeviceCombo.Enabled());
}

TEST_F(EditorLook, ChoosingADeviceGivesTheOldOneItsVolumeBackFirst) {
  std::vector<std::string> journal;
  devices.Journal = &journal;
  devices.AddMidi("A", 0x1111);
  devices.AddMidi("B", 0x2222);
  devices.AddMidi("mute", 0x3333).getFails = true;  // no readable volume: not listed
  devices.AddWave("Speakers", 0x4444);
  SetSetting(ProgramIni(), "MIDINM", "A");
  SetSetting(ProgramIni(), "WAVENM", "Speakers");
  EditorWindow& w = Open();
  EXPECT_EQ(w.midiDeviceCombo.ListCount(), 2);
  EXPECT_EQ(w.midiDeviceCombo.SelectedText(), "A");
  devices.Midi[0].volume = 0x5555;  // a test left A louder
  journal.clear();
  w.midiDeviceCombo.SetListIndex(1);
  ASSERT_FALSE(journal.empty());
  EXPECT_EQ(journal.front(), "midi 0 00001111");  // A back to its saved volume
  EXPECT_EQ(App().audio.savedMidiDeviceName, "B");
  EXPECT_EQ(w.midiVolumeSlider.Value(), 0x2222 - 32768);
  EXPECT_EQ(Setting(ProgramIni(), "MIDINM"), "B");
  EXPECT_EQ(Setting(DataIniPath(App().dataPath), "MIDINM"), "B");
  // While an alarm sounds a choice changes no device.
  TheAlarm().Present(App().table.Add(Daily(7, 0)), true, "07:00");
  ASSERT_TRUE(TheAlarm().Sounding());
  journal.clear();
  w.midiDeviceCombo.SetListIndex(0);
  EXPECT_TRUE(journal.empty());
}

TEST_F(EditorLook, TheDeviceDialogAsksOnlyWhenThereIsADeviceToChoose) {
  // No device at all, as under Wine here: no dialog, the lists say so, the sliders rest.
  EditorWindow& bare = Open();
  EXPECT_TRUE(frontEnd.ModalForms.empty());
  EXPECT_EQ(bare.midiDeviceCombo.SelectedText(), kNoDeviceItem);
  EXPECT_FALSE(bare.midiDeviceCombo.Enabled());
  bare.soundCheck.SetValue(ui::CheckState::Ticked);
  EXPECT_FALSE(bare.midiVolumeSlider.Enabled());
  bare.saveAndCloseButton.Press();

  // A wave device and no name yet: the dialog comes first and its choice is written.
  devices.AddWave("Speakers");
  devices.AddWave("Headphones");
  SetSetting(ProgramIni(), "SOUNDFLAG", "1");
  frontEnd.OnModal = [](ui::Form& dialog) {
    static_cast<DeviceDialog&>(dialog).waveDeviceCombo.SetListIndex(1);
    dialog.RequestClose();
  };
  EditorWindow& w = Open();
  EXPECT_EQ(frontEnd.ModalForms, std::vector<std::string>{"DeviceDialog"});
  EXPECT_EQ(App().audio.waveDeviceName, "Headphones");
  EXPECT_EQ(Setting(ProgramIni(), "WAVENM"), "Headphones");
  EXPECT_EQ(Setting(DataIniPath(App().dataPath), "WAVENM"), "Headphones");
  EXPECT_EQ(w.waveDeviceCombo.SelectedText(), "Headphones");
  EXPECT_TRUE(w.waveDeviceCombo.Enabled());
  EXPECT_TRUE(w.waveVolumeSlider.Enabled());  // sound on from the start: only the absent kind rests
  EXPECT_FALSE(w.midiVolumeSlider.Enabled());
  w.saveAndCloseButton.Press();
  Open();
  EXPECT_EQ(frontEnd.ModalForms.size(), 1u);  // not asked again
}

// The tray works on while the first-run device dialog is open: a double click brings the
// dialog to the front rather than the half-loaded editor, and 終了 unloads the dialog without
// writing the devices it happened to show.
TEST_F(EditorLook, TheTrayDuringTheFirstRunDeviceDialog) {
  devices.AddWave("Speakers");
  MonitorWindow& monitor = Start();
  bool editorShownDuring = true;
  frontEnd.OnModal = [&](ui::Form& dialog) {
    dialog.Show();  // as the modal loop shows it
    foreground.Brought.clear();
    tray.Mouse(0x203);
    tray.Mouse(0x202);
    editorShownDuring = ui::TheForm<EditorWindow>().Visible();
    EXPECT_EQ(foreground.Brought, std::vector<std::string>{"DeviceDialog"});
    monitor.exitItem->Choose();
  };
  tray.Mouse(0x203);
  EXPECT_FALSE(editorShownDuring);
  EXPECT_EQ(Setting(ProgramIni(), "WAVENM"), "<none>");
  EXPECT_EQ(Setting(DataIniPath(App().dataPath), "WAVENM"), "<none>");
  EXPECT_EQ(App().audio.waveDeviceName, "");
}

}  // namespace
}  // namespace wb::test
