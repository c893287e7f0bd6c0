// Owners of Win32 handles, one small non-copyable type per way of acquiring.
#pragma once
#include <windows.h>

// LoadLibrary -> FreeLibrary.
class LoadedModule {
 public:
  explicit LoadedModule(HMODULE module) : module(module) {}
  ~LoadedModule() {
    if (module) FreeLibrary(module);
  }
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;
  explicit operator bool() const { return module != nullptr; }
  operator HMODULE() const { return module; }

 private:
  HMODULE module;
};

// GetDC -> ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window(window), dc(window ? GetDC(window) : nullptr) {}
  ~WindowDc() {
    if (dc) ReleaseDC(window, dc);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  operator HDC() const { return dc; }

 private:
  HWND window;
  HDC dc;
};

// BeginPaint -> EndPaint, also when painting throws.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window(window), dc(BeginPaint(window, &paint)) {}
  ~PaintDc() { EndPaint(window, &paint); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  operator HDC() const { return dc; }

 private:
  HWND window;
  PAINTSTRUCT paint{};
  HDC dc;
};
