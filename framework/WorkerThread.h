#pragma once
// Starts a worker thread. The caller owns the returned handle and it stays
// valid, also after the worker has returned, until the caller lets it go: one
// can always ask it for the worker's end or exit code.
#include "framework/UniqueResource.h"

using AFX_THREADPROC = UINT(__cdecl*)(LPVOID);

// Normal priority, default stack size, running at once; an empty handle when
// the thread could not be started.
UniqueHandle AfxBeginThread(AFX_THREADPROC proc, LPVOID param);
