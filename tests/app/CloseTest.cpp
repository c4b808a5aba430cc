// Cancel, Escape and the close box all end the program quietly with exit
// code 0.
#include <gtest/gtest.h>

#include <string>

#include "tests/app/AppUnderTest.h"

namespace {

using uidriver::DialogWindow;

enum class CloseWay { kCancelButton, kEscape, kCloseBox };

struct CloseCase {
  const char* name;
  CloseWay way;
};

const CloseCase kCloseCases[] = {
    {"CancelButton", CloseWay::kCancelButton},
    {"Escape", CloseWay::kEscape},
    {"CloseBox", CloseWay::kCloseBox},
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const CloseCase& c, std::ostream* out) { *out << c.name; }

bool Close(const DialogWindow& dialog, CloseWay way) {
  switch (way) {
    case CloseWay::kCancelButton:
      return dialog.Click(IDCANCEL);
    case CloseWay::kEscape:
      return dialog.PressEscape();
    case CloseWay::kCloseBox:
      return dialog.CloseBox();
  }
  return false;
}

class Closing : public ::testing::TestWithParam<CloseCase> {};

TEST_P(Closing, EndsTheProgramWithExitCodeZero) {
  if (!AppUnderTest::HasDeviceLibrary()) GTEST_SKIP() << kNoDeviceLibrary;
  AppUnderTest app;
  app.Folder().AddSampleLangIni();
  ASSERT_TRUE(app.AddDeviceLibrary());
  ASSERT_TRUE(app.Start());

  ASSERT_TRUE(Close(app.Dialog(), GetParam().way));
  // A message box on the way out would hold the program open.
  EXPECT_EQ(app.Process().WaitForExit(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Ways, Closing, ::testing::ValuesIn(kCloseCases),
                         [](const ::testing::TestParamInfo<CloseCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
