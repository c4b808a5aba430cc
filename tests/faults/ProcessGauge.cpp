#include "tests/faults/ProcessGauge.h"

#include <psapi.h>
#include <tlhelp32.h>

#include "framework/UniqueResource.h"

DWORD ThreadCountOf(DWORD processId) {
  UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (!snapshot) return 0;
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof(entry);
  DWORD count = 0;
  for (BOOL more = ::Thread32First(snapshot.get(), &entry); more;
       more = ::Thread32Next(snapshot.get(), &entry)) {
    if (entry.th32OwnerProcessID == processId) ++count;
  }
  return count;
}

ProcessGauge ReadProcessGauge(HANDLE process) {
  ProcessGauge gauge;
  ::GetProcessHandleCount(process, &gauge.handles);
  PROCESS_MEMORY_COUNTERS_EX memory = {};
  memory.cb = sizeof(memory);
  if (::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof(memory))) {
    gauge.privateBytes = memory.PrivateUsage;
  }
  gauge.threads = ThreadCountOf(::GetProcessId(process));
  return gauge;
}
