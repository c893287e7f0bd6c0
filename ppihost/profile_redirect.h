// The plug-in's settings for one run, with nothing written where the user did not ask.
// A plug-in keeps its settings through the private-profile functions; its imports of
// them (A and W) are redirected for the object's lifetime: the plug-in reads another
// file when one is given, else the file it names. GetPrivateProfileInt and
// GetPrivateProfileString also see single values laid over the file, and record every
// section and key they read. The module itself and the files stay as they are.
#pragma once
#include <windows.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ppihost/import_patch.h"
#include "ppihost/setting.h"
#include "ppihost/threads.h"

// Any thread may call the plug-in while the object lives; its state is behind a lock.
// One at a time.
class ProfileRedirect {
 public:
  // `file`: read instead of the plug-in's own, and written when `keepWrites` is false.
  // `keepWrites`: no file changes; values written one by one stay in memory, where the
  // plug-in reads them back, and whole sections and structures written are dropped; a
  // file given to read from must then exist. Throws HostError (kExitUsage) when it does
  // not.
  ProfileRedirect(HMODULE plugin, const std::optional<std::wstring>& file,
                  const std::vector<Setting>& overrides, bool keepWrites);
  ~ProfileRedirect();
  ProfileRedirect(const ProfileRedirect&) = delete;
  ProfileRedirect& operator=(const ProfileRedirect&) = delete;

  // The values read since construction or ForgetReads, in the order first read, each
  // as the plug-in got it (an integer read as the number it was given).
  std::vector<Setting> Reads() const;
  void ForgetReads();
  // The overrides whose section and key the plug-in never read (a misspelt name).
  std::vector<Setting> Unread() const;

 private:
  friend struct ProfileHooks;
  using Name = std::pair<std::wstring, std::wstring>;  // section and key, FoldCase

  // The file the plug-in's call goes to.
  const wchar_t* PathFor(const wchar_t* given) const;
  // The same for an A function; `storage` holds the converted name.
  const char* AnsiPathFor(const char* given, std::string& storage) const;
  // The layer's entry for the name: a value, or nullopt for one removed; null when the
  // layer leaves it to the file.
  const std::optional<std::wstring>* Laid(const Name& name) const;
  UINT ReadInt(const wchar_t* section, const wchar_t* key, INT defaultValue, const wchar_t* file);
  std::wstring ReadString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue,
                          const wchar_t* file);
  BOOL Write(const wchar_t* section, const wchar_t* key, const wchar_t* value, const wchar_t* file);
  void Record(const wchar_t* section, const wchar_t* key, const std::wstring& value);

  std::optional<std::wstring> file;
  std::vector<Setting> overrides;
  bool keepWrites;

  mutable CriticalSection lock;
  // Guarded by `lock`: the values over the file (the overrides, then what the plug-in
  // wrote when writes are kept), the sections it removed, and what it read.
  std::map<Name, std::optional<std::wstring>> layer;
  std::set<std::wstring> removedSections;
  std::vector<Setting> reads;
  std::map<Name, size_t> readIndex;
  std::set<Name> everRead;

  std::optional<ImportPatches> patches;  // made last, undone first
};

// One warning line on standard error for each override the plug-in never read.
void WarnUnread(const ProfileRedirect& profile);
