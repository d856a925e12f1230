// Entry point of Wakebell.exe (filled in with the monitor window).
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
