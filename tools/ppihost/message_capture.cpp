#include "tools/ppihost/message_capture.h"

#include "tools/ppihost/console_text.h"
#include "tools/ppihost/import_patch.h"

namespace {
MessageCapture* active = nullptr;

// The plug-ins' narrow texts are Shift-JIS whatever the system's code page.
constexpr UINT kPluginCodePage = 932;

std::wstring FromNarrow(const char* text) {
  return text ? WideFromCodePage(text, kPluginCodePage) : std::wstring();
}
std::wstring FromWide(const wchar_t* text) { return text ? std::wstring(text) : std::wstring(); }
}  // namespace

struct MessageBoxHooks {
  static int WINAPI BoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    return active->Raise(owner, FromNarrow(text), FromNarrow(caption), type);
  }
  static int WINAPI BoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    return active->Raise(owner, FromWide(text), FromWide(caption), type);
  }
  static int WINAPI BoxExA(HWND owner, LPCSTR text, LPCSTR caption, UINT type, WORD) {
    return BoxA(owner, text, caption, type);
  }
  static int WINAPI BoxExW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type, WORD) {
    return BoxW(owner, text, caption, type);
  }

  struct Import {
    const char* name;
    void* hook;
  };
  static const Import* Imports() {
    static const Import imports[] = {
        {"MessageBoxA", reinterpret_cast<void*>(&BoxA)},
        {"MessageBoxW", reinterpret_cast<void*>(&BoxW)},
        {"MessageBoxExA", reinterpret_cast<void*>(&BoxExA)},
        {"MessageBoxExW", reinterpret_cast<void*>(&BoxExW)},
        {nullptr, nullptr},
    };
    return imports;
  }
};

MessageCapture::MessageCapture(HMODULE plugin, bool batch) : plugin(plugin), batch(batch) {
  active = this;
  for (auto* i = MessageBoxHooks::Imports(); i->name; ++i) {
    if (void* original = PatchImport(plugin, "user32.dll", i->name, i->hook)) {
      originals.push_back({i->name, original});
    }
  }
}

MessageCapture::~MessageCapture() {
  for (const auto& [name, original] : originals) PatchImport(plugin, "user32.dll", name, original);
  active = nullptr;
}

int MessageCapture::Raise(HWND owner, const std::wstring& text, const std::wstring& caption,
                          UINT type) {
  messages.push_back({caption, text});
  WriteLine(StdErr(), L"ppihost: the plug-in says: " + OneLine(caption) + L": " + OneLine(text));
  if (batch) return BatchAnswer(type);
  return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

int BatchAnswer(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
    case MB_RETRYCANCEL:
    case MB_CANCELTRYCONTINUE:
      return IDCANCEL;
    case MB_ABORTRETRYIGNORE:
      return IDABORT;
    case MB_YESNO:
      return IDNO;
    default:
      return IDOK;
  }
}

std::wstring OneLine(const std::wstring& text) {
  std::wstring line;
  for (wchar_t c : text) {
    if (c == L'\r') continue;
    line.push_back(c == L'\n' ? L' ' : c);
  }
  return line;
}
