// Without ZumelUSB.dll every probe reports it in a message box, but never more
// than one box at a time; once it is closed, the next probe shows it again.
#include <gtest/gtest.h>

#include "tests/app/AppUnderTest.h"

namespace {

using uidriver::BoxIcon;
using uidriver::MessageBoxWindow;

// Many probe periods: held-back probes would show further boxes by then.
constexpr DWORD kHeldProbesObservationMs = 3000;

TEST(MissingLibrary, OneBoxAtATimeAndAgainAfterOk) {
  AppUnderTest app;
  app.Folder().AddSampleLangIni();
  ASSERT_TRUE(app.Start());

  MessageBoxWindow box = app.Process().WaitForMessageBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(box.Caption(), std::string(kBoxCaption));
  EXPECT_EQ(box.Text(), std::string(kLibraryUnloadedText));
  EXPECT_EQ(box.Icon(), BoxIcon::kExclamation);
  const auto status = app.Dialog().ControlText(kStatusLineId);

  EXPECT_FALSE(
      uidriver::WaitUntil([&] { return app.Process().MessageBoxes().size() != 1 || !box.Exists(); },
                          kHeldProbesObservationMs))
      << "boxes open: " << app.Process().MessageBoxes().size();
  EXPECT_EQ(app.Dialog().ControlText(kStatusLineId), status);

  ASSERT_TRUE(box.PressOk());
  ASSERT_TRUE(box.WaitUntilClosed());
  MessageBoxWindow next = app.Process().WaitForMessageBox();
  ASSERT_TRUE(next);
  EXPECT_NE(next.Handle(), box.Handle());
  EXPECT_EQ(next.Text(), std::string(kLibraryUnloadedText));
  EXPECT_EQ(app.Process().MessageBoxes().size(), 1u);
}

}  // namespace
