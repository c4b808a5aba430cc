#include "framework/WorkerThread.h"

#include <process.h>

#include <new>

namespace {
struct ThreadStart {
  AFX_THREADPROC proc;
  LPVOID param;
};

unsigned __stdcall RunWorker(void* arg) {
  ThreadStart start = *static_cast<ThreadStart*>(arg);
  delete static_cast<ThreadStart*>(arg);
  return start.proc(start.param);
}
}  // namespace

UniqueHandle AfxBeginThread(AFX_THREADPROC proc, LPVOID param) {
  // Ownership of the start record passes to the new thread, which frees it.
  ThreadStart* start = new (std::nothrow) ThreadStart{proc, param};
  if (!start) return UniqueHandle();
  uintptr_t handle = ::_beginthreadex(nullptr, 0, &RunWorker, start, 0, nullptr);
  if (handle == 0) {
    delete start;
    return UniqueHandle();
  }
  return UniqueHandle(reinterpret_cast<HANDLE>(handle));
}
