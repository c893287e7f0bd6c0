#include "ppihost/message_capture.h"

#include "ppihost/console_text.h"
#include "ppihost/plugin_module.h"

namespace {
MessageCapture* active = nullptr;

std::wstring FromWide(const wchar_t* text) { return text ? std::wstring(text) : std::wstring(); }

// The static control that holds a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, &text[0], static_cast<int>(text.size()))));
  return text;
}

bool IsDialog(HWND window) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  return std::wstring(name) == L"#32770";
}

// The answer an unattended run gives to a box of the given type: the one that stops,
// so that a plug-in asking whether to go on does not.
int UnattendedAnswer(UINT type) {
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

// One line for standard error: the text with its line breaks turned into spaces.
std::wstring OneLine(const std::wstring& text) {
  std::wstring line;
  for (wchar_t c : text) {
    if (c == L'\r') continue;
    line.push_back(c == L'\n' ? L' ' : c);
  }
  return line;
}
}  // namespace

struct MessageBoxHooks {
  static int WINAPI BoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    return active->Raise(owner, FromPluginText(text), FromPluginText(caption), type);
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

  static const ImportHook* Imports() {
    static const ImportHook imports[] = {
        {"MessageBoxA", reinterpret_cast<void*>(&BoxA)},
        {"MessageBoxW", reinterpret_cast<void*>(&BoxW)},
        {"MessageBoxExA", reinterpret_cast<void*>(&BoxExA)},
        {"MessageBoxExW", reinterpret_cast<void*>(&BoxExW)},
        {nullptr, nullptr},
    };
    return imports;
  }
};

MessageCapture::MessageCapture(HMODULE plugin, bool unattended, bool echo)
    : unattended(unattended), echo(echo), patches(plugin, "user32.dll", MessageBoxHooks::Imports()) {
  active = this;
  if (unattended) dialogHook = SetWindowsHookExW(WH_CBT, &CloseDialogs, nullptr, GetCurrentThreadId());
}

MessageCapture::~MessageCapture() {
  if (dialogHook) UnhookWindowsHookEx(dialogHook);
  active = nullptr;
}

int MessageCapture::Raise(HWND owner, const std::wstring& text, const std::wstring& caption,
                          UINT type) {
  Record(caption, text);
  if (unattended) return UnattendedAnswer(type);
  return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

void MessageCapture::Record(const std::wstring& caption, const std::wstring& text) {
  messages.push_back({caption, text});
  if (echo) WriteLine(StdErr(), L"ppihost: the plug-in says: " + Said(messages.back()));
}

LRESULT CALLBACK MessageCapture::CloseDialogs(int code, WPARAM wParam, LPARAM lParam) {
  // A dialog is activated once it is built and about to be shown: its text is there,
  // and the cancel command ends it (a message box with only OK takes it as OK).
  if (code == HCBT_ACTIVATE && active) {
    const HWND window = reinterpret_cast<HWND>(wParam);
    if (IsDialog(window)) {
      active->Record(WindowText(window), WindowText(GetDlgItem(window, kMessageBoxTextId)));
      PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::wstring Said(const CapturedMessage& message) {
  return OneLine(message.caption) + L": " + OneLine(message.text);
}
