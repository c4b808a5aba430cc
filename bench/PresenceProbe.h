#pragma once
// The presence watch's probe, timed: load the device library, open the
// device, close it, free the library, as each tick of the dialog's timer does.
#include "bench/Samples.h"

// Seconds per probe; the device named by QUELVO_DEVICE must be attached.
Samples TimePresenceProbes(int count);
