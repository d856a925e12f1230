// Interfaces of every operating-system service the program uses, and the one place that
// holds the implementations in use (the text codec, which storage needs alone, is in
// TextCodec.h and storage takes this platform's own). The product fills it with the Win32 ones at start;
// tests fill it with the fakes. Portable: no operating-system header here.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/Moment.h"
#include "model/OleDate.h"
#include "platform/Font.h"
#include "platform/TextCodec.h"

namespace wb {

namespace ui {
class Form;
class MenuItem;
struct Rect;
}  // namespace ui

// The present moment and blocking waits. Nothing else reads the system clock.
struct IClock {
  virtual ~IClock() = default;
  // The present moment, to the whole second: the UTC second and the local offset of one reading
  // of the system clock, so the two never straddle a second or a change of daylight saving. The
  // UTC second is the clock such a change does not move: the ledger of handled bells tells a
  // clock put right from an offset that changed by it.
  virtual Moment Read() = 0;
  // The present local moment as a stored date, for the edges (files, texts, controls).
  OleDate Now() { return LocalDateOf(Read()); }
  virtual void Sleep(int milliseconds) = 0;
  // Minutes this PC's local time is ahead of UTC at the local moment `local` (+540 for Japan),
  // for local moments other than the present (an imported event's time).
  virtual int UtcOffsetMinutes(OleDate local) = 0;
};

// Media Control Interface command strings (alias "mymedia").
struct IMci {
  virtual ~IMci() = default;
  // Sends a command; returns the MCI error code (0 = success) and fills `reply` when asked.
  virtual uint32_t Send(const std::string& command, std::string* reply = nullptr) = 0;
};

// The system sound function, the fallback for wave files. An empty name stops the sound.
struct ISystemSound {
  virtual ~ISystemSound() = default;
  virtual bool Play(const std::string& file, uint32_t flags) = 0;
};

// Capabilities of one MIDI or wave output device, as the device functions report them.
// The name is the one of the ANSI capability record (at most 31 bytes of CP932, "?" for a
// character CP932 lacks): the settings files have always stored devices under that name.
struct DeviceCaps {
  uint32_t result = 0;       // 0 when the capability call succeeded
  std::string name;          // product name up to the first NUL, CP932 text as UTF-8
  uint32_t support = 0;      // support flags (volume: 0x0001 MIDI, 0x0004 wave)
};

struct IAudioDevices {
  virtual ~IAudioDevices() = default;
  virtual int MidiCount() = 0;
  virtual DeviceCaps MidiCaps(int device) = 0;
  virtual uint32_t MidiGetVolume(int device, uint32_t& volume) = 0;  // 0 = success
  virtual uint32_t MidiSetVolume(int device, uint32_t volume) = 0;
  virtual int WaveCount() = 0;
  virtual DeviceCaps WaveCaps(int device) = 0;
  virtual uint32_t WaveGetVolume(int device, uint32_t& volume) = 0;
  virtual uint32_t WaveSetVolume(int device, uint32_t volume) = 0;
};

enum class TrayIcon { App, Stop };

// Notification-area icon. Mouse events come back as the mouse message number
// (0x201 left down, 0x203 left double click, 0x204 right down, others ignored).
struct ITray {
  virtual ~ITray() = default;
  virtual void Add(TrayIcon icon, const std::string& tip) = 0;
  virtual void Modify(TrayIcon icon, const std::string& tip) = 0;
  virtual void Delete() = 0;
  virtual void SetMouseHandler(std::function<void(int mouseMessage)> handler) = 0;
  // Also called back when the shell restarts and forgot the icon.
  virtual void SetShellRestartHandler(std::function<void()> handler) = 0;
  virtual void CursorPos(int32_t& x, int32_t& y) = 0;
  // A notice that comes out of the icon for a few seconds (a balloon, or a toast on Windows 10
  // and later); the shell may leave it out (notifications turned off).
  virtual void ShowBalloon(const std::string& title, const std::string& text) = 0;
};

// Startup folder and shell links.
struct IShell {
  virtual ~IShell() = default;
  // Without a trailing backslash; nothing when the system cannot name or make one.
  virtual std::optional<std::string> StartupFolder() = 0;
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool FolderHasFiles(const std::string& folder) = 0;
  virtual bool CreateShortcut(const std::string& linkPath, const std::string& target, int showCommand) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  virtual std::string ExpandEnvironment(const std::string& text) = 0;
  virtual std::string Environment(const std::string& name) = 0;
};

enum class RegRoot { LocalMachine, CurrentUser };
struct RegValue {
  uint32_t type = 0;           // 1 REG_SZ, 4 REG_DWORD, ...
  std::vector<uint8_t> bytes;  // strings as UTF-8 (a stored trailing NUL kept), other types raw
};

struct IRegistry {
  virtual ~IRegistry() = default;
  // Opens the key with the given access, queries the value into a buffer of `bufferSize` bytes.
  // Returns false when the key cannot be opened or the value read.
  virtual bool Read(RegRoot root, const std::string& key, const std::string& value, uint32_t access,
                    uint32_t bufferSize, RegValue& out) = 0;
};

// Starting other programs.
struct ILauncher {
  virtual ~ILauncher() = default;
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool Start(const std::string& program) = 0;  // as a normal window with the focus
};

// Whether another instance of the program is running.
struct IInstance {
  virtual ~IInstance() = default;
  virtual bool OtherInstanceRunning() = 0;
};

// What the system tells the program about sleep and the clock. Windows broadcasts these to
// top-level windows only, so the real service keeps a hidden top-level window to hear them.
enum class PowerEvent { Suspend, Resume, TimeChange };

// The answer of arming the wake timer.
enum class WakeArm {
  Armed,         // set, and the system said it can wake for it
  NotSupported,  // set, but the system will not wake for it (no support, or the resume ignored)
  Failed,        // not set
};

// The wake timer for the next bell, keeping the system awake while an alarm is on, and the
// power and clock notices.
struct IPower {
  virtual ~IPower() = default;
  // (Re)sets the one wake timer to `localMoment`, a moment of this PC's local time; the real
  // service converts it to UTC so that a clock or zone change afterwards is the caller's to
  // re-arm, not a silent shift.
  virtual WakeArm ArmWakeTimer(OleDate localMoment) = 0;
  virtual void CancelWakeTimer() = 0;
  // On: the system and the display stay awake until it is turned off again.
  virtual void KeepAwake(bool on) = 0;
  virtual void SetEventHandler(std::function<void(PowerEvent)> handler) = 0;
};

// Whether the program can make files in a folder. The settings and data files live beside the
// program; a folder the user cannot write (Program Files, a write-protected medium) is found
// by trying, as nothing else answers it reliably (access rules, virtualisation, media).
struct IFolderAccess {
  virtual ~IFolderAccess() = default;
  // True when a new file could be created in `folder` (ending in a separator); the trial
  // file is gone again when it returns.
  virtual bool CanCreateFilesIn(const std::string& folder) = 0;
};

// Notice of changes in the folder of a file that others may write (a data file shared through
// a synced or network folder). Only a hint that it is worth looking: some folders (network
// shares, sync services) send none, and a notice may come for another file of the folder, so
// the reader compares the file itself as well. Polled, so that no thread of its own calls back.
struct IFileWatch {
  virtual ~IFileWatch() = default;
  // Watches the folder of `file` from now on, instead of any folder watched before; false when
  // the folder gives no notices (the caller then relies on its own periodic look).
  virtual bool Watch(const std::string& file) = 0;
  // True once after something changed in the watched folder since the last call.
  virtual bool TakeChange() = 0;
};

// Bringing one of our windows to the front although another program owns the focus.
struct IForeground {
  virtual ~IForeground() = default;
  virtual void BringToForeground(ui::Form& form) = 0;
};

// Message boxes and the common dialogs. Styles and answers are the classic constants.
enum MsgStyle : int {
  kOkOnly = 0, kOkCancel = 1, kYesNoCancel = 3, kYesNo = 4,
  kIconCritical = 16, kIconQuestion = 32, kIconExclamation = 48, kIconInformation = 64,
};
enum MsgAnswer : int { kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };

// The open-file dialog's choices beyond title and filter.
struct OpenFileOptions {
  bool createPrompt = false;     // a name that does not exist may be chosen after a question
  std::string defaultExtension;  // added to a name typed without one ("dat")
  bool save = false;  // a file to write: it need not exist, and one that does is asked about first
};

struct IDialogs {
  virtual ~IDialogs() = default;
  virtual int MsgBox(const std::string& text, int style, const std::string& title) = 0;
  // A question whose buttons say what each answer does (captions with their access keys, as
  // "上書き(&O)"); the last button is the one that changes nothing. Returns the index of the
  // button pressed; Escape and the close box answer the last one. Where buttons of one's own
  // cannot be shown, a message box with Yes / No / Cancel stands in for three buttons.
  virtual int Choose(const std::string& text, const std::vector<std::string>& buttons, int icon,
                     const std::string& title) {
    const int answer = MsgBox(text, kYesNoCancel | icon, title);
    const int last = int(buttons.size()) - 1;
    return answer == kAnswerYes ? 0 : answer == kAnswerNo && last >= 2 ? 1 : last;
  }
  // Returns false when cancelled. `path` in: the folder to start in (up to its last "\") and
  // the name offered; out: the file chosen. The file must exist.
  virtual bool OpenFile(const std::string& title, const std::string& filter, std::string& path) = 0;
  // The same with further choices; where they mean nothing (the fakes) it is OpenFile.
  virtual bool OpenFileWith(const std::string& title, const std::string& filter, std::string& path,
                            const OpenFileOptions& options) {
    (void)options;
    return OpenFile(title, filter, path);
  }
  virtual bool ChooseColor(uint32_t& color) = 0;
  // `font` in: the choice the dialog starts from; out: the font chosen.
  virtual bool ChooseFont(ui::Font& font) = 0;
};

struct FormPeer;

// The window front end: creates the native side of a form and runs its modal parts.
struct IFrontEnd {
  virtual ~IFrontEnd() = default;
  virtual FormPeer* CreatePeer(ui::Form& form) = 0;  // owned by the front end until DestroyPeer
  virtual void DestroyPeer(ui::Form& form, FormPeer* peer) = 0;
  virtual void PopupMenu(ui::Form& form, ui::MenuItem& menu) = 0;
  virtual void DoEvents() = 0;                        // one pass of the message loop
  virtual void RunModal(ui::Form& form) = 0;         // until the form is hidden or unloaded
  virtual void Quit() = 0;                           // no window left: end the message loop
  // The work area (the screen less the taskbar) where windows open, in twips as layouts count
  // them (Px: 15 to a pixel at 96 DPI; a display at a larger scale has fewer).
  virtual ui::Rect WorkArea() = 0;
  // How tall (twips) `text` stands in a rich text `width` twips wide in `font`, its lines ended
  // as that box ends them; `scrollBarRoom` as the box's ScrollBarRoom.
  virtual int TextHeight(const std::string& text, const ui::Font& font, int width, bool scrollBarRoom) = 0;
};

struct Services {
  IClock* clock = nullptr;
  IMci* mci = nullptr;
  ISystemSound* sound = nullptr;
  IAudioDevices* devices = nullptr;
  ITray* tray = nullptr;
  IShell* shell = nullptr;
  IRegistry* registry = nullptr;
  ILauncher* launcher = nullptr;
  IInstance* instance = nullptr;
  IPower* power = nullptr;
  IForeground* foreground = nullptr;
  IDialogs* dialogs = nullptr;
  IFrontEnd* frontEnd = nullptr;
  IFolderAccess* folders = nullptr;
  IFileWatch* fileWatch = nullptr;  // optional: without it the data file is looked at each minute
};

// The services in use. Unset members are a program error when used.
Services& Svc();

}  // namespace wb
