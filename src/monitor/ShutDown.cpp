// Form3's ShutDown: the orderly end started by 終了.
#include "about/frmAbout.h"
#include "alert/Alert.h"
#include "alert/Form2.h"
#include "audio/Volume.h"
#include "editor/Form1.h"
#include "monitor/Form3.h"
#include "monitor/Globals.h"
#include "storage/Settings.h"

namespace wb {

void Form3::ShutDown() {
  MonitorState& mon = G().Mon;
  mon.ShuttingDown = true;

  if (mon.ActiveIndex != -1 && ActiveEntry().SoundFlag == 1) ShutDownSoundRule();
  mon.TestPlaying = false;
  RestoreMidiVolume();
  RestoreWaveVolume();

  DeleteTrayIcon();
  WriteStartFlag(false, ProgramSettingsPath());
  WriteStartFlag(false, DataSettingsPath());
  G().Table.Clear();

  // Only windows that exist: touching one now would create it, and the editor's load would
  // read the data file again on the way out.
  Form1* editor = Form1IfLoaded();
  Form2* alarm = Form2IfLoaded();
  frmAbout* about = FrmAboutIfLoaded();
  if (editor) editor->Hide();
  if (alarm) alarm->Hide();
  if (about) about->Hide();
  Hide();
  if (editor) editor->Unload();
  if (alarm) alarm->Unload();
  if (about) about->Unload();
  Unload();

  mon.ShuttingDown = false;
  // With no window left the process ends.
  Svc().frontEnd->Quit();
}

}  // namespace wb
