#pragma once
// One pipe thread's place in the device state's wake-up list: the event that
// wakes it when the state changes and the last state generation that it has
// acted on.
#include <windows.h>

#include "framework/UniqueResource.h"

struct WorkerSlot {
  WorkerSlot() : wake(::CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}
  UniqueHandle wake;
  unsigned long long seenGeneration = 0;
};
