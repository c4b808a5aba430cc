#include "text/SplitPath.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>

namespace {
constexpr char kGuard = 'G';
constexpr size_t kGuardSize = 16;

// The four parts, each with guard bytes behind it.
struct GuardedParts {
  char drive[kDriveSize];
  char driveGuard[kGuardSize];
  char folder[kFolderSize];
  char folderGuard[kGuardSize];
  char fileName[kFileNameSize];
  char fileNameGuard[kGuardSize];
  char extension[kExtensionSize];
  char extensionGuard[kGuardSize];

  GuardedParts() { std::memset(this, kGuard, sizeof *this); }
  void Split(const std::string& path) {
    SplitPath(path.c_str(), drive, folder, fileName, extension);
  }
  bool GuardsIntact() const {
    for (const char* guard : {driveGuard, folderGuard, fileNameGuard, extensionGuard})
      for (size_t i = 0; i < kGuardSize; ++i)
        if (guard[i] != kGuard) return false;
    return true;
  }
};

struct SplitCase {
  const char* path;
  const char* drive;
  const char* folder;
  const char* fileName;
  const char* extension;
};

void PrintTo(const SplitCase& c, std::ostream* out) { *out << '"' << c.path << '"'; }

class SplitPathTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitPathTest, SplitsIntoDriveFolderNameAndExtension) {
  const SplitCase& c = GetParam();
  GuardedParts parts;
  parts.Split(c.path);
  EXPECT_STREQ(parts.drive, c.drive);
  EXPECT_STREQ(parts.folder, c.folder);
  EXPECT_STREQ(parts.fileName, c.fileName);
  EXPECT_STREQ(parts.extension, c.extension);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, SplitPathTest, ::testing::Values(
    //        path                                   drive  folder                 name        extension
    SplitCase{"C:\\Program Files\\Quelvo\\Quelvo.exe", "C:", "\\Program Files\\Quelvo\\", "Quelvo", ".exe"},
    SplitCase{"C:/tools/bin/app.tar.gz",               "C:", "/tools/bin/",            "app.tar",  ".gz"},
    SplitCase{"D:\\mixed/seps\\file",                  "D:", "\\mixed/seps\\",         "file",     ""},
    SplitCase{"C:\\my.folder\\readme",                 "C:", "\\my.folder\\",          "readme",   ""},
    SplitCase{"\\\\server\\share\\lang.ini",           "",   "\\\\server\\share\\",    "lang",     ".ini"},
    SplitCase{"relative\\name.",                       "",   "relative\\",             "name",     "."},
    SplitCase{"file.txt",                              "",   "",                       "file",     ".txt"},
    SplitCase{".hidden",                               "",   "",                       "",         ".hidden"},
    SplitCase{"C:",                                    "C:", "",                       "",         ""},
    SplitCase{"",                                      "",   "",                       "",         ""}));
// clang-format on

TEST(SplitPath, CutsEachPartToItsBufferAndWritesNoFurther) {
  const std::string folder = "\\" + std::string(400, 'f') + "\\";
  const std::string name(400, 'n');
  const std::string extension = "." + std::string(400, 'e');
  GuardedParts parts;
  parts.Split("C:" + folder + name + extension);

  EXPECT_TRUE(parts.GuardsIntact());
  EXPECT_STREQ(parts.drive, "C:");
  EXPECT_EQ(std::string(parts.folder), folder.substr(0, kFolderSize - 1));
  EXPECT_EQ(std::string(parts.fileName), name.substr(0, kFileNameSize - 1));
  EXPECT_EQ(std::string(parts.extension), extension.substr(0, kExtensionSize - 1));
}
}  // namespace
