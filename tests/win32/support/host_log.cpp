#include "support/host_log.h"

#include "base/host_interface.h"

namespace {
int queryResult = 0;
}

std::vector<HostEvent>& HostEvents() {
  static std::vector<HostEvent> events;
  return events;
}

void ClearHostEvents() { HostEvents().clear(); }
void SetHostQueryResult(int result) { queryResult = result; }

int WINAPI CapturedMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  HostEvent e;
  e.kind = HostEvent::kMessageBox;
  e.owner = owner;
  e.text = text ? text : "";
  e.caption = caption ? caption : "";
  e.type = type;
  HostEvents().push_back(e);
  return IDOK;
}

// The host export a plug-in reaches through the main executable.
extern "C" __declspec(dllexport) int WINAPI PBF_QueryClientInfo(int code, int argument) {
  HostEvent e;
  e.kind = HostEvent::kQuery;
  e.code = code;
  e.argument = argument;
  HostEvents().push_back(e);
  return queryResult;
}
