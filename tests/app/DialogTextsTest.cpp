// The dialog's caption, button captions and status line come from the
// lang.ini beside the program, whatever the current folder; a missing text
// shows as an empty one.
#include <gtest/gtest.h>

#include <string>

#include "tests/app/AppUnderTest.h"
#include "tests/support/TestFiles.h"

namespace {

using uidriver::CurrentFolder;

const char kOwnTexts[] =
    "[title]\n100=Title under test\n"
    "[control]\n1001=Leave now\n1002=Send it all\n"
    "[message]\n1025=Nothing attached here\n";

// Would win if the program looked in the current folder.
const char kDecoyTexts[] =
    "[title]\n100=Decoy title\n"
    "[control]\n1001=Decoy cancel\n1002=Decoy update\n"
    "[message]\n1025=Decoy status\n";

const char kEmptyAndMissingKeys[] =
    "[title]\n100=\n"
    "[control]\n1001=\n"
    "[other]\n1002=Wrong section\n1025=Wrong section\n";

struct TextsCase {
  const char* name;
  const char* besideProgram;  // nullptr: no lang.ini there
  CurrentFolder current;
  const char* inCurrentFolder;  // nullptr: none
  const char* caption;
  const char* updateButton;
  const char* cancelButton;
  const char* statusLine;
};

const TextsCase kTextsCases[] = {
    {"OwnTexts", kOwnTexts, CurrentFolder::kProgramFolder, nullptr, "Title under test",
     "Send it all", "Leave now", "Nothing attached here"},
    {"OwnTextsFromAnotherCurrentFolder", kOwnTexts, CurrentFolder::kSeparateFolder, kDecoyTexts,
     "Title under test", "Send it all", "Leave now", "Nothing attached here"},
    {"NoLangIni", nullptr, CurrentFolder::kProgramFolder, nullptr, "", "", "", ""},
    {"LangIniOnlyInCurrentFolder", nullptr, CurrentFolder::kSeparateFolder, kDecoyTexts, "", "", "",
     ""},
    {"EmptyValuesAndMissingKeys", kEmptyAndMissingKeys, CurrentFolder::kProgramFolder, nullptr, "",
     "", "", ""},
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const TextsCase& c, std::ostream* out) { *out << c.name; }

class DialogTexts : public ::testing::TestWithParam<TextsCase> {};

TEST_P(DialogTexts, ComeFromTheLangIniBesideTheProgram) {
  const TextsCase& c = GetParam();
  AppUnderTest app(c.current);
  if (c.besideProgram) {
    ASSERT_TRUE(app.Folder().WriteLangIni(c.besideProgram));
  }
  if (c.inCurrentFolder) {
    ASSERT_TRUE(WriteText(app.Folder().InCurrentFolder(uidriver::kLangIniName), c.inCurrentFolder));
  }
  app.AddDeviceLibrary();
  ASSERT_TRUE(app.Start());

  const uidriver::DialogWindow& dialog = app.Dialog();
  EXPECT_EQ(dialog.Caption(), std::string(c.caption));
  EXPECT_EQ(dialog.ControlText(kUpdateButtonId), std::string(c.updateButton));
  EXPECT_EQ(dialog.ControlText(IDCANCEL), std::string(c.cancelButton));
  EXPECT_EQ(dialog.ControlText(kStatusLineId), std::string(c.statusLine));
}

INSTANTIATE_TEST_SUITE_P(Cases, DialogTexts, ::testing::ValuesIn(kTextsCases),
                         [](const ::testing::TestParamInfo<TextsCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
