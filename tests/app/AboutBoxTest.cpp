// The About item of the system menu opens the modal About box; any way of
// closing it leaves the main dialog open.
#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "tests/app/AppUnderTest.h"

namespace {

using uidriver::DialogWindow;

// Long enough for a wrongly opened second box to show up.
constexpr DWORD kSecondBoxWaitMs = 1000;
constexpr UINT kLowBitsCount = 16;

enum class CloseWay { kOkButton, kEscape, kCloseBox };
constexpr CloseWay kCloseWays[] = {CloseWay::kOkButton, CloseWay::kEscape, CloseWay::kCloseBox};

bool Close(const DialogWindow& box, CloseWay way) {
  switch (way) {
    case CloseWay::kOkButton:
      return box.Click(IDOK);
    case CloseWay::kEscape:
      return box.PressEscape();
    case CloseWay::kCloseBox:
      return box.CloseBox();
  }
  return false;
}

class AboutBox : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!AppUnderTest::HasDeviceLibrary()) GTEST_SKIP() << kNoDeviceLibrary;
    app_.Folder().AddSampleLangIni();
    ASSERT_TRUE(app_.AddDeviceLibrary());
    ASSERT_TRUE(app_.Start());
  }

  AppUnderTest app_;
};

// Every command whose id is 0x10 apart from its low four bits, each closed one
// of the three ways in turn.
TEST_F(AboutBox, OpensForEveryCommandWithTheAboutIdAndClosesAnyWay) {
  const DialogWindow& main = app_.Dialog();
  const auto mainCaption = main.Caption();
  for (UINT lowBits = 0; lowBits < kLowBitsCount; ++lowBits) {
    const UINT command = kAboutCommand | lowBits;
    const CloseWay way = kCloseWays[lowBits % std::size(kCloseWays)];
    SCOPED_TRACE("command " + std::to_string(command) + ", close way " +
                 std::to_string(static_cast<int>(way)));

    ASSERT_TRUE(main.SysCommand(command));
    DialogWindow about = app_.Process().WaitForDialog(kAboutCaption);
    ASSERT_TRUE(about);
    EXPECT_FALSE(::IsWindowEnabled(main.Handle())) << "the About box is not modal";

    ASSERT_TRUE(Close(about, way));
    ASSERT_TRUE(about.WaitUntilClosed());
    EXPECT_TRUE(app_.Process().IsRunning());
    ASSERT_TRUE(main.Exists());
    EXPECT_TRUE(::IsWindowEnabled(main.Handle()));
    EXPECT_EQ(main.Caption(), mainCaption);
  }
  EXPECT_FALSE(app_.Process().FindMessageBox()) << "no message box belongs to this";
}

// A command just below or above the About id, sent before the About command,
// must not open a box of its own: the About command would then open a second.
TEST_F(AboutBox, NeighbouringCommandsDoNotOpenIt) {
  const DialogWindow& main = app_.Dialog();
  for (UINT neighbour : {kAboutCommand - 1, kAboutCommand + kLowBitsCount}) {
    SCOPED_TRACE("command " + std::to_string(neighbour));
    ASSERT_TRUE(main.SysCommand(neighbour));
    ASSERT_TRUE(main.SysCommand(kAboutCommand));
    DialogWindow about = app_.Process().WaitForDialog(kAboutCaption);
    ASSERT_TRUE(about);
    EXPECT_FALSE(uidriver::WaitUntil(
        [&] { return app_.Process().DialogsWithCaption(kAboutCaption).size() > 1; },
        kSecondBoxWaitMs));
    for (const DialogWindow& box : app_.Process().DialogsWithCaption(kAboutCaption)) {
      box.Click(IDOK);
      ASSERT_TRUE(box.WaitUntilClosed());
    }
  }
}

}  // namespace
