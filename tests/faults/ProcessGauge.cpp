#include "tests/faults/ProcessGauge.h"

#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <vector>

#include "framework/UniqueResource.h"

namespace {
constexpr ULONG kProcessListBytes = 1024 * 1024;

// The handle count from the system's process list, which Wine keeps even
// where GetProcessHandleCount answers 0 for another process.
DWORD ListedHandleCount(DWORD processId) {
  std::vector<unsigned char> list(kProcessListBytes);
  ULONG length = 0;
  if (!NT_SUCCESS(::NtQuerySystemInformation(SystemProcessInformation, list.data(),
                                             static_cast<ULONG>(list.size()), &length))) {
    return 0;
  }
  for (size_t offset = 0;;) {
    const auto* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(list.data() + offset);
    if (static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(entry->UniqueProcessId)) == processId) {
      return entry->HandleCount;
    }
    if (entry->NextEntryOffset == 0) return 0;
    offset += entry->NextEntryOffset;
  }
}
}  // namespace

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
  if (!::GetProcessHandleCount(process, &gauge.handles) || gauge.handles == 0) {
    gauge.handles = ListedHandleCount(::GetProcessId(process));
  }
  PROCESS_MEMORY_COUNTERS_EX memory = {};
  memory.cb = sizeof(memory);
  if (::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof(memory))) {
    // The commit charge: private bytes. Windows gives the same figure in
    // PrivateUsage; Wine leaves that one at 0.
    gauge.privateBytes = memory.PagefileUsage;
  }
  gauge.threads = ThreadCountOf(::GetProcessId(process));
  return gauge;
}
