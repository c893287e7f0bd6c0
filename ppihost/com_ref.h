// Owners for COM: the apartment of the host's user-interface thread, and one
// reference to an interface.
#pragma once
#include <objbase.h>

class ComApartment {
 public:
  // Single-threaded: the plug-in's dialogs run on this thread.
  ComApartment() : initialised(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (initialised) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialised;
};

template <class T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() { Reset(); }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;

  T* operator->() const { return object; }
  T* Get() const { return object; }
  explicit operator bool() const { return object != nullptr; }
  // For functions that hand out a new reference.
  T** Out() {
    Reset();
    return &object;
  }
  void Reset() {
    if (object) object->Release();
    object = nullptr;
  }

 private:
  T* object = nullptr;
};
