// Which value a setting has for one run. The overlay lies over the settings file while
// the plug-in runs: the values given for the run (--set), what the plug-in wrote when
// its writes stay in memory, and the sections it removed; and it records what the
// plug-in read. The import hooks ask it first and go to the file for what it leaves
// there. It knows nothing of the platform, and takes no lock: its owner holds one
// around every call.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ppihost/setting.h"

// Where the plug-in's writes go while it runs.
enum class ProfileWrites {
  ToFile,        // to the file in effect, as without the host
  KeptInMemory,  // to no file: single values stay in the overlay, where the plug-in reads
                 // them back; whole sections and structures written are dropped
};

class ProfileOverlay {
 public:
  // Gives a name the one case in which the profile functions compare names.
  using Fold = std::wstring (*)(std::wstring);

  ProfileOverlay(std::vector<Setting> overrides, ProfileWrites writes, Fold fold);

  ProfileWrites Writes() const { return writes; }

  // The value a read of the key gets, `fallback` for a key removed; nothing when the
  // overlay leaves the key to the file.
  std::optional<std::wstring> String(const std::wstring& section, const std::wstring& key,
                                     const std::wstring& fallback) const;
  // The same for a read as a number, taken from the value as GetPrivateProfileInt
  // takes it from the file: an empty value gives `fallback`, any other its leading
  // decimal number (0 when there is none).
  std::optional<uint32_t> Int(const std::wstring& section, const std::wstring& key,
                              int32_t fallback) const;

  // Notes that the plug-in read the key and got `value`.
  void Record(const std::wstring& section, const std::wstring& key, const std::wstring& value);

  // A write of the plug-in's: `value` null removes the key, `key` null the whole
  // section, and `section` null only asks to flush. Returns true when the overlay kept
  // it (writes kept in memory), false when it is for the file.
  bool Keep(const wchar_t* section, const wchar_t* key, const wchar_t* value);

  // The values read since construction or ForgetReads, in the order first read, each
  // as the plug-in last got it (a number read as the number it was given).
  const std::vector<Setting>& Reads() const { return reads; }
  void ForgetReads();
  // The overrides whose section and key the plug-in never read (a misspelt name), each
  // name once, in the order given.
  std::vector<Setting> Unread() const;

 private:
  using Name = std::pair<std::wstring, std::wstring>;  // section and key, folded
  Name NameOf(const std::wstring& section, const std::wstring& key) const;
  // The overlay's entry for the name: a value, or nullopt for one removed; null when
  // the overlay leaves it to the file.
  const std::optional<std::wstring>* Laid(const Name& name) const;

  const std::vector<Setting> overrides;
  const ProfileWrites writes;
  const Fold fold;
  std::map<Name, std::optional<std::wstring>> layer;  // the overrides, then what was written
  std::set<std::wstring> removedSections;             // folded
  std::vector<Setting> reads;
  std::map<Name, size_t> readIndex;
  std::set<Name> everRead;
};
