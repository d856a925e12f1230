// Shared pieces of the Wine checker of the real Win32 services: the tally of results, the
// scratch folder and the hand-shakes with the script that watches the sound server.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace wbcheck {

struct Tally {
  int passed = 0, failed = 0, skipped = 0;
  void Expect(bool ok, const std::string& what, const std::string& detail = {});
  void Skip(const std::string& what, const std::string& why);
};

struct Setup {
  std::wstring scratch;       // our own temp folder, ending in "\"
  std::wstring mp3;           // an MP3 made by the script, or empty
  std::wstring sync;          // folder for the hand-shakes with the script, or empty
  bool registry = false;      // the script wrote the registry values to check
  bool trayClick = false;     // the script will click our tray icon
};

// The script's part at a hand-shake: we drop "<name>.ready" into the sync folder and wait
// (at most `timeoutMs`) for it to answer "<name>.done". False when nobody answered.
bool HandShake(const Setup& setup, const std::wstring& name, DWORD timeoutMs = 10000);

// Runs the message loop of this thread until `done` answers true or `timeoutMs` passes.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

// A 16-bit mono PCM tone of `milliseconds`, written as a RIFF file of our own.
bool WriteWave(const std::wstring& path, int milliseconds);

std::string Hex(uint32_t value);

void MediaChecks(Tally& t, const Setup& setup);
void DeviceChecks(Tally& t);
void ShellChecks(Tally& t, const Setup& setup);
void RegistryChecks(Tally& t, const Setup& setup);
void InstanceChecks(Tally& t);
void TrayChecks(Tally& t, const Setup& setup);
void FileChecks(Tally& t, const Setup& setup);

// Helper modes of the checker's own second process (instance checks).
int ProbeInstanceMode();
int HoldInstanceMode(const std::wstring& readyEvent, const std::wstring& goEvent);

}  // namespace wbcheck
