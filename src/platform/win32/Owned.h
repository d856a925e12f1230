// Owners of Win32 handles: each frees what it holds when it goes, so no code path (an early
// return, a cache cleared, a window retired) frees a handle by hand or forgets to. Move-only.
// Internal to platform/win32; window logic never sees a handle.
#pragma once
#include <windows.h>
#include <objbase.h>

#include <utility>

namespace wb::win32 {

// `Traits` names the empty value (`Empty()`) and how a held value is freed (`Free(v)`).
template <typename T, typename Traits>
class Unique {
 public:
  Unique() = default;
  explicit Unique(T value) : value_(value) {}
  ~Unique() { Reset(); }
  Unique(Unique&& other) noexcept : value_(other.Release()) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;

  T Get() const { return value_; }
  explicit operator bool() const { return value_ != Traits::Empty(); }
  // Gives the value up without freeing it.
  T Release() { return std::exchange(value_, Traits::Empty()); }
  // Frees the held value, then holds `value`.
  void Reset(T value = Traits::Empty()) {
    T old = std::exchange(value_, value);
    if (old != Traits::Empty()) Traits::Free(old);
  }
  // For an API that writes the handle through a pointer: frees the held one first.
  T* Put() {
    Reset();
    return &value_;
  }

 private:
  T value_ = Traits::Empty();
};

struct KernelHandleTraits {  // CreateMutexW, CreateEventW, ...: null when they fail
  static HANDLE Empty() { return nullptr; }
  static void Free(HANDLE h) { CloseHandle(h); }
};
struct FileHandleTraits {  // CreateFileW: INVALID_HANDLE_VALUE when it fails
  static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
  static void Free(HANDLE h) { CloseHandle(h); }
};
struct FindHandleTraits {  // FindFirstFileExW
  static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
  static void Free(HANDLE h) { FindClose(h); }
};
struct RegKeyTraits {
  static HKEY Empty() { return nullptr; }
  static void Free(HKEY k) { RegCloseKey(k); }
};
template <typename T>
struct GdiObjectTraits {  // fonts, brushes, pens, bitmaps
  static T Empty() { return nullptr; }
  static void Free(T o) { DeleteObject(o); }
};
struct IconTraits {  // icons from LoadImageW without LR_SHARED
  static HICON Empty() { return nullptr; }
  static void Free(HICON i) { DestroyIcon(i); }
};
struct MenuTraits {  // a pop-up menu; its submenus go with it
  static HMENU Empty() { return nullptr; }
  static void Free(HMENU m) { DestroyMenu(m); }
};
struct WindowTraits {  // a window of our own that no form owns (the tray's and the timers' hosts)
  static HWND Empty() { return nullptr; }
  static void Free(HWND h) { DestroyWindow(h); }
};
struct CoTaskMemTraits {  // strings the shell allocates for us (SHGetKnownFolderPath)
  static PWSTR Empty() { return nullptr; }
  static void Free(PWSTR p) { CoTaskMemFree(p); }
};

using UniqueHandle = Unique<HANDLE, KernelHandleTraits>;
using UniqueFile = Unique<HANDLE, FileHandleTraits>;
using UniqueFind = Unique<HANDLE, FindHandleTraits>;
using UniqueRegKey = Unique<HKEY, RegKeyTraits>;
using UniqueFont = Unique<HFONT, GdiObjectTraits<HFONT>>;
using UniqueBrush = Unique<HBRUSH, GdiObjectTraits<HBRUSH>>;
using UniqueIcon = Unique<HICON, IconTraits>;
using UniqueMenu = Unique<HMENU, MenuTraits>;
using UniqueWindow = Unique<HWND, WindowTraits>;
using UniqueCoTaskString = Unique<PWSTR, CoTaskMemTraits>;

// The screen's device context for reading its metrics, released when it goes.
class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ~ScreenDc() {
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

// A COM interface pointer that releases its reference when it goes.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void Reset() {
    if (T* old = std::exchange(p_, nullptr)) old->Release();
  }
  // For CoCreateInstance and QueryInterface: releases the held one first.
  void** PutVoid() {
    Reset();
    return reinterpret_cast<void**>(&p_);
  }

 private:
  T* p_ = nullptr;
};

// Initialises COM (single-threaded apartment) on the calling thread for the life of the
// object unless the thread already has it; the shell-link and launch calls need it.
class ComScope {
 public:
  ComScope() {
    // S_FALSE: already initialised by us before, still to be balanced. RPC_E_CHANGED_MODE: the
    // thread runs another apartment model, which serves as well and is not ours to undo.
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    uninitialize_ = SUCCEEDED(hr);
  }
  ~ComScope() {
    if (uninitialize_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool uninitialize_ = false;
};

}  // namespace wb::win32
