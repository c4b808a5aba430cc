#include "device/DeviceLibrary.h"

#include <gtest/gtest.h>

// Whether or not a device library lies beside the test, it has no such export:
// both count as a library that does not load.
TEST(DeviceLibrary, LibraryWithoutTheExportDoesNotLoad) {
  DeviceLibrary library;
  EXPECT_FALSE(library.Load("quelvo_no_such_export"));
}
