#include "ppihost/profile_redirect.h"

#include <algorithm>
#include <cwchar>

#include "ppihost/console_text.h"
#include "ppihost/exit_codes.h"
#include "ppihost/host_error.h"
#include "ppihost/path_names.h"

namespace {
ProfileRedirect* active = nullptr;

// The A functions take their texts in the ANSI code page; null stays null.
std::optional<std::wstring> FromAnsi(const char* text) {
  if (!text) return std::nullopt;
  return WideFromCodePage(text, CP_ACP);
}
const wchar_t* Ptr(const std::optional<std::wstring>& text) { return text ? text->c_str() : nullptr; }

std::string ToAnsi(const std::wstring& text) { return BytesFromWide(text, CP_ACP); }

// Copies a value into the caller's buffer of `size` units as the profile functions do:
// cut to fit, always ended; returns the units copied.
template <class Char>
DWORD CopyOut(const std::basic_string<Char>& value, Char* buffer, DWORD size) {
  if (!buffer || size == 0) return 0;
  size_t n = std::min<size_t>(value.size(), size - 1);
  if constexpr (sizeof(Char) == 1) {
    // Not between the two bytes of a character.
    size_t whole = 0;
    while (whole < n) whole += IsDBCSLeadByte(static_cast<BYTE>(value[whole])) ? 2 : 1;
    if (whole > n) n = whole - 2;
  }
  std::copy_n(value.data(), n, buffer);
  buffer[n] = Char();
  return static_cast<DWORD>(n);
}

// A value from the file, whole, whatever its length.
std::wstring FileString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue,
                        const wchar_t* path) {
  for (DWORD size = 256;; size *= 2) {
    std::wstring value(size, L'\0');
    const DWORD n = GetPrivateProfileStringW(section, key, defaultValue, &value[0], size, path);
    if (n + 1 < size || size >= (1u << 24)) {
      value.resize(std::min(n, size));
      return value;
    }
  }
}

}  // namespace

struct ProfileHooks {
  static UINT WINAPI IntW(LPCWSTR section, LPCWSTR key, INT defaultValue, LPCWSTR file) {
    return active->ReadInt(section, key, defaultValue, file);
  }
  static UINT WINAPI IntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR file) {
    const auto s = FromAnsi(section), k = FromAnsi(key), f = FromAnsi(file);
    return IntW(Ptr(s), Ptr(k), defaultValue, Ptr(f));
  }
  // Lists of names (a null section or key) come from the file alone.
  static DWORD WINAPI StringW(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, LPWSTR buffer,
                              DWORD size, LPCWSTR file) {
    if (!section || !key) {
      return GetPrivateProfileStringW(section, key, defaultValue, buffer, size, active->PathFor(file));
    }
    return CopyOut(active->ReadString(section, key, defaultValue, file), buffer, size);
  }
  static DWORD WINAPI StringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                              DWORD size, LPCSTR file) {
    const auto s = FromAnsi(section), k = FromAnsi(key), d = FromAnsi(defaultValue), f = FromAnsi(file);
    if (!section || !key) {
      std::string path;
      return GetPrivateProfileStringA(section, key, defaultValue, buffer, size, active->AnsiPathFor(file, path));
    }
    return CopyOut(ToAnsi(active->ReadString(Ptr(s), Ptr(k), Ptr(d), Ptr(f))), buffer, size);
  }
  static BOOL WINAPI WriteW(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR file) {
    return active->Write(section, key, value, file);
  }
  static BOOL WINAPI WriteA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) {
    const auto s = FromAnsi(section), k = FromAnsi(key), v = FromAnsi(value), f = FromAnsi(file);
    return WriteW(Ptr(s), Ptr(k), Ptr(v), Ptr(f));
  }

  // The other profile functions only go to the file in effect, and write nothing while
  // writes are kept: --set and the record of reads do not reach them.
  static DWORD WINAPI SectionW(LPCWSTR section, LPWSTR buffer, DWORD size, LPCWSTR file) {
    return GetPrivateProfileSectionW(section, buffer, size, active->PathFor(file));
  }
  static DWORD WINAPI SectionA(LPCSTR section, LPSTR buffer, DWORD size, LPCSTR file) {
    std::string path;
    return GetPrivateProfileSectionA(section, buffer, size, active->AnsiPathFor(file, path));
  }
  static DWORD WINAPI SectionNamesW(LPWSTR buffer, DWORD size, LPCWSTR file) {
    return GetPrivateProfileSectionNamesW(buffer, size, active->PathFor(file));
  }
  static DWORD WINAPI SectionNamesA(LPSTR buffer, DWORD size, LPCSTR file) {
    std::string path;
    return GetPrivateProfileSectionNamesA(buffer, size, active->AnsiPathFor(file, path));
  }
  static BOOL WINAPI StructW(LPCWSTR section, LPCWSTR key, LPVOID data, UINT size, LPCWSTR file) {
    return GetPrivateProfileStructW(section, key, data, size, active->PathFor(file));
  }
  static BOOL WINAPI StructA(LPCSTR section, LPCSTR key, LPVOID data, UINT size, LPCSTR file) {
    std::string path;
    return GetPrivateProfileStructA(section, key, data, size, active->AnsiPathFor(file, path));
  }
  static BOOL WINAPI WriteSectionW(LPCWSTR section, LPCWSTR text, LPCWSTR file) {
    return active->KeepsWrites() || WritePrivateProfileSectionW(section, text, active->PathFor(file));
  }
  static BOOL WINAPI WriteSectionA(LPCSTR section, LPCSTR text, LPCSTR file) {
    std::string path;
    return active->KeepsWrites() || WritePrivateProfileSectionA(section, text, active->AnsiPathFor(file, path));
  }
  static BOOL WINAPI WriteStructW(LPCWSTR section, LPCWSTR key, LPVOID data, UINT size, LPCWSTR file) {
    return active->KeepsWrites() || WritePrivateProfileStructW(section, key, data, size, active->PathFor(file));
  }
  static BOOL WINAPI WriteStructA(LPCSTR section, LPCSTR key, LPVOID data, UINT size, LPCSTR file) {
    std::string path;
    return active->KeepsWrites() ||
           WritePrivateProfileStructA(section, key, data, size, active->AnsiPathFor(file, path));
  }

  static const ImportHook* Imports() {
    static const ImportHook imports[] = {
        {"GetPrivateProfileIntA", reinterpret_cast<void*>(&IntA)},
        {"GetPrivateProfileIntW", reinterpret_cast<void*>(&IntW)},
        {"GetPrivateProfileStringA", reinterpret_cast<void*>(&StringA)},
        {"GetPrivateProfileStringW", reinterpret_cast<void*>(&StringW)},
        {"WritePrivateProfileStringA", reinterpret_cast<void*>(&WriteA)},
        {"WritePrivateProfileStringW", reinterpret_cast<void*>(&WriteW)},
        {"GetPrivateProfileSectionA", reinterpret_cast<void*>(&SectionA)},
        {"GetPrivateProfileSectionW", reinterpret_cast<void*>(&SectionW)},
        {"GetPrivateProfileSectionNamesA", reinterpret_cast<void*>(&SectionNamesA)},
        {"GetPrivateProfileSectionNamesW", reinterpret_cast<void*>(&SectionNamesW)},
        {"GetPrivateProfileStructA", reinterpret_cast<void*>(&StructA)},
        {"GetPrivateProfileStructW", reinterpret_cast<void*>(&StructW)},
        {"WritePrivateProfileSectionA", reinterpret_cast<void*>(&WriteSectionA)},
        {"WritePrivateProfileSectionW", reinterpret_cast<void*>(&WriteSectionW)},
        {"WritePrivateProfileStructA", reinterpret_cast<void*>(&WriteStructA)},
        {"WritePrivateProfileStructW", reinterpret_cast<void*>(&WriteStructW)},
        {nullptr, nullptr},
    };
    return imports;
  }
};

ProfileRedirect::ProfileRedirect(HMODULE plugin, const std::optional<std::wstring>& given,
                                 const std::vector<Setting>& overrides, ProfileWrites writes)
    : overlay(overrides, writes, &FoldCase) {
  if (given) {
    // A bare file name would be looked for in the Windows folder.
    file = FullPath(*given);
    if (writes == ProfileWrites::KeptInMemory && !IsExistingFile(*file)) {
      throw HostError{kExitUsage, L"no settings file " + *given};
    }
  }
  active = this;
  patches.emplace(plugin, "kernel32.dll", ProfileHooks::Imports());
}

ProfileRedirect::~ProfileRedirect() {
  patches.reset();
  active = nullptr;
}

std::vector<Setting> ProfileRedirect::Reads() const {
  Locked guard(lock);
  return overlay.Reads();
}

void ProfileRedirect::ForgetReads() {
  Locked guard(lock);
  overlay.ForgetReads();
}

std::vector<Setting> ProfileRedirect::Unread() const {
  Locked guard(lock);
  return overlay.Unread();
}

const wchar_t* ProfileRedirect::PathFor(const wchar_t* named) const {
  return file ? file->c_str() : named;
}

const char* ProfileRedirect::AnsiPathFor(const char* named, std::string& storage) const {
  if (!file) return named;
  storage = ToAnsi(*file);
  return storage.c_str();
}

UINT ProfileRedirect::ReadInt(const wchar_t* section, const wchar_t* key, INT defaultValue,
                              const wchar_t* named) {
  if (!section || !key) return GetPrivateProfileIntW(section, key, defaultValue, PathFor(named));
  Locked guard(lock);
  const std::optional<uint32_t> laid = overlay.Int(section, key, defaultValue);
  const UINT value = laid ? *laid : GetPrivateProfileIntW(section, key, defaultValue, PathFor(named));
  overlay.Record(section, key, std::to_wstring(static_cast<INT>(value)));
  return value;
}

std::wstring ProfileRedirect::ReadString(const wchar_t* section, const wchar_t* key,
                                         const wchar_t* defaultValue, const wchar_t* named) {
  Locked guard(lock);
  const std::optional<std::wstring> laid =
      overlay.String(section, key, defaultValue ? defaultValue : L"");
  const std::wstring value = laid ? *laid : FileString(section, key, defaultValue, PathFor(named));
  overlay.Record(section, key, value);
  return value;
}

BOOL ProfileRedirect::Write(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                            const wchar_t* named) {
  if (!KeepsWrites()) return WritePrivateProfileStringW(section, key, value, PathFor(named));
  Locked guard(lock);
  overlay.Keep(section, key, value);
  return TRUE;
}

void WarnUnread(const ProfileRedirect& profile) {
  for (const Setting& s : profile.Unread()) {
    WriteLine(StdErr(), L"ppihost: warning: --set " + s.section + L"." + s.key + L"=" + s.value +
                            L" was not used: the plug-in read no key " + s.key + L" in section " +
                            s.section);
  }
}
