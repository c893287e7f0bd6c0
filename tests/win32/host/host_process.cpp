#include "host/host_process.h"

namespace {

constexpr DWORD kTimeoutMs = 60000;
constexpr DWORD kPollMs = 50;

// Quotes an argument for CommandLineToArgvW-style parsing.
std::wstring Quote(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
    } else {
      if (c == L'"') quoted.append(backslashes + 1, L'\\');
      backslashes = 0;
    }
    quoted.push_back(c);
  }
  quoted.append(backslashes, L'\\');
  return quoted + L"\"";
}

void ReadAll(HANDLE pipe, std::string* into) {
  char buffer[4096];
  DWORD n;
  while (ReadFile(pipe, buffer, sizeof buffer, &n, nullptr) && n > 0) into->append(buffer, n);
}

// A pipe drained on a thread of its own, so that a full pipe never stalls the host.
// (The win32 thread model's runtime has no std::thread.)
struct PipeDrain {
  HANDLE pipe;
  std::string* into;
};

DWORD WINAPI DrainPipe(void* param) {
  auto* drain = static_cast<PipeDrain*>(param);
  ReadAll(drain->pipe, drain->into);
  return 0;
}

}  // namespace

HostResult RunHost(const std::vector<std::wstring>& args,
                   const std::function<void(DWORD)>& whileRunning) {
  const std::wstring exe = ProgramFolderW() + L"ppihost.exe";
  std::wstring commandLine = Quote(exe);
  for (const std::wstring& a : args) commandLine += L" " + Quote(a);

  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE outRead, outWrite, errRead, errWrite;
  CreatePipe(&outRead, &outWrite, &inherit, 0);
  CreatePipe(&errRead, &errWrite, &inherit, 0);
  SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
  HANDLE nul = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                           OPEN_EXISTING, 0, nullptr);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nul;
  startup.hStdOutput = outWrite;
  startup.hStdError = errWrite;
  PROCESS_INFORMATION process{};
  HostResult result;
  const BOOL started = CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, TRUE,
                                      CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
  CloseHandle(outWrite);
  CloseHandle(errWrite);
  CloseHandle(nul);
  if (!started) {
    CloseHandle(outRead);
    CloseHandle(errRead);
    result.exitCode = static_cast<DWORD>(-1);
    result.err = "cannot start ppihost.exe";
    return result;
  }
  PipeDrain outDrain{outRead, &result.out};
  PipeDrain errDrain{errRead, &result.err};
  HANDLE readers[2] = {CreateThread(nullptr, 0, DrainPipe, &outDrain, 0, nullptr),
                       CreateThread(nullptr, 0, DrainPipe, &errDrain, 0, nullptr)};
  DWORD waited = 0;
  while (WaitForSingleObject(process.hProcess, kPollMs) == WAIT_TIMEOUT) {
    if (whileRunning) whileRunning(process.dwProcessId);
    waited += kPollMs;
    if (waited >= kTimeoutMs) {
      TerminateProcess(process.hProcess, 99);
      result.timedOut = true;
      WaitForSingleObject(process.hProcess, INFINITE);
    }
  }
  WaitForMultipleObjects(2, readers, TRUE, INFINITE);
  CloseHandle(readers[0]);
  CloseHandle(readers[1]);
  GetExitCodeProcess(process.hProcess, &result.exitCode);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  CloseHandle(outRead);
  CloseHandle(errRead);
  return result;
}
