// The plug-in's settings for one run, with nothing written where the user did not ask.
// A plug-in keeps its settings through the private-profile functions; its imports of
// them (A and W) are redirected for the object's lifetime: the plug-in reads another
// file when one is given, else the file it names. GetPrivateProfileInt and
// GetPrivateProfileString also see the values of a ProfileOverlay over the file, which
// records every section and key they read. The module itself and the files stay as they are.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "ppihost/import_patch.h"
#include "ppihost/profile_overlay.h"
#include "ppihost/setting.h"
#include "ppihost/threads.h"

// Any thread may call the plug-in while the object lives; its state is behind a lock.
// One at a time.
class ProfileRedirect {
 public:
  // `file`: read instead of the plug-in's own, and written when writes go to a file.
  // With writes kept in memory no file changes, and a file given to read from must
  // exist. Throws HostError (kExitUsage) when it does not.
  ProfileRedirect(HMODULE plugin, const std::optional<std::wstring>& file,
                  const std::vector<Setting>& overrides, ProfileWrites writes);
  ~ProfileRedirect();
  ProfileRedirect(const ProfileRedirect&) = delete;
  ProfileRedirect& operator=(const ProfileRedirect&) = delete;

  // The values read since construction or ForgetReads (ProfileOverlay::Reads).
  std::vector<Setting> Reads() const;
  void ForgetReads();
  // The overrides whose section and key the plug-in never read (a misspelt name).
  std::vector<Setting> Unread() const;

 private:
  friend struct ProfileHooks;

  // The file the plug-in's call goes to, for the file it named.
  const wchar_t* PathFor(const wchar_t* named) const;
  // The same for an A function; `storage` holds the converted name.
  const char* AnsiPathFor(const char* named, std::string& storage) const;
  bool KeepsWrites() const { return overlay.Writes() == ProfileWrites::KeptInMemory; }
  UINT ReadInt(const wchar_t* section, const wchar_t* key, INT defaultValue, const wchar_t* named);
  std::wstring ReadString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue,
                          const wchar_t* named);
  BOOL Write(const wchar_t* section, const wchar_t* key, const wchar_t* value, const wchar_t* named);

  std::optional<std::wstring> file;
  mutable CriticalSection lock;
  ProfileOverlay overlay;  // guarded by `lock`
  std::optional<ImportPatches> patches;  // made last, undone first
};

// One warning line on standard error for each override the plug-in never read.
void WarnUnread(const ProfileRedirect& profile);
