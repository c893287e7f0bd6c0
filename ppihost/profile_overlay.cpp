#include "ppihost/profile_overlay.h"

#include <cwchar>
#include <iterator>

namespace {
const std::optional<std::wstring> kRemoved;
}  // namespace

ProfileOverlay::ProfileOverlay(std::vector<Setting> overrides, ProfileWrites writes, Fold fold)
    : overrides(std::move(overrides)), writes(writes), fold(fold) {
  for (const Setting& s : this->overrides) layer[NameOf(s.section, s.key)] = s.value;
}

ProfileOverlay::Name ProfileOverlay::NameOf(const std::wstring& section, const std::wstring& key) const {
  return {fold(section), fold(key)};
}

const std::optional<std::wstring>* ProfileOverlay::Laid(const Name& name) const {
  const auto found = layer.find(name);
  if (found != layer.end()) return &found->second;
  return removedSections.count(name.first) ? &kRemoved : nullptr;
}

std::optional<std::wstring> ProfileOverlay::String(const std::wstring& section, const std::wstring& key,
                                                   const std::wstring& fallback) const {
  const std::optional<std::wstring>* laid = Laid(NameOf(section, key));
  if (!laid) return std::nullopt;
  return *laid ? **laid : fallback;
}

std::optional<uint32_t> ProfileOverlay::Int(const std::wstring& section, const std::wstring& key,
                                            int32_t fallback) const {
  const std::optional<std::wstring>* laid = Laid(NameOf(section, key));
  if (!laid) return std::nullopt;
  if (!*laid || (*laid)->empty()) return static_cast<uint32_t>(fallback);
  return static_cast<uint32_t>(std::wcstol((*laid)->c_str(), nullptr, 10));
}

void ProfileOverlay::Record(const std::wstring& section, const std::wstring& key,
                            const std::wstring& value) {
  const Name name = NameOf(section, key);
  everRead.insert(name);
  const auto [at, fresh] = readIndex.emplace(name, reads.size());
  if (fresh) {
    reads.push_back({section, key, value});
  } else {
    reads[at->second].value = value;
  }
}

bool ProfileOverlay::Keep(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
  if (writes == ProfileWrites::ToFile) return false;
  if (!section) return true;
  if (key) {
    layer[NameOf(section, key)] = value ? std::optional<std::wstring>(value) : std::nullopt;
    return true;
  }
  const std::wstring removed = fold(section);
  for (auto i = layer.begin(); i != layer.end();) {
    i = i->first.first == removed ? layer.erase(i) : std::next(i);
  }
  removedSections.insert(removed);
  return true;
}

void ProfileOverlay::ForgetReads() {
  reads.clear();
  readIndex.clear();
}

std::vector<Setting> ProfileOverlay::Unread() const {
  std::vector<Setting> unread;
  std::set<Name> said;
  for (const Setting& s : overrides) {
    const Name name = NameOf(s.section, s.key);
    if (!everRead.count(name) && said.insert(name).second) unread.push_back(s);
  }
  return unread;
}
