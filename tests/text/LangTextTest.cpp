// The lookup reads the lang.ini beside the program, so these tests copy the
// LangProbe program with a lang.ini of their own into folders of their own
// and run it there.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "framework/UniqueResource.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestFiles.h"
#include "text/FixedText.h"

namespace {
constexpr char kProbeName[] = "LangProbe.exe";
constexpr DWORD kProbeTimeoutMs = 30000;
constexpr size_t kLongestText = kFixedTextSize - 1;

using Lookups = std::vector<std::pair<std::string, std::string>>;

struct ProbeResult {
  bool ran = false;
  DWORD exitCode = 0;
  std::vector<std::string> texts;  // one per lookup
  std::string kept;                // what the first lookup's pointer shows at the end
};

std::string LangIni(const std::string& section, const std::string& lines) {
  return "[" + section + "]\r\n" + lines;
}

class LangTextTest : public ::testing::Test {
 protected:
  // Copies the probe under `name` into `folder`, with `ini` beside it as lang.ini.
  static std::string PlaceProbe(const std::string& folder, const char* ini,
                                const std::string& name = kProbeName) {
    if (!CopyInto(BinPath(kProbeName), folder, name)) return "";
    if (ini && !WriteText(folder + "\\lang.ini", ini)) return "";
    return folder + "\\" + name;
  }

  ProbeResult Run(const std::string& program, const Lookups& lookups,
                  const std::string& currentFolder = "") {
    const std::string output = m_temp / "texts.txt";
    std::string commandLine = "\"" + program + "\" \"" + output + "\"";
    for (const auto& [section, key] : lookups) commandLine += " " + section + " " + key;

    ProbeResult result;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup,
                          &info)) {
      return result;
    }
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    if (::WaitForSingleObject(process.get(), kProbeTimeoutMs) != WAIT_OBJECT_0) {
      ::TerminateProcess(process.get(), 1);
      return result;
    }
    result.ran = true;
    ::GetExitCodeProcess(process.get(), &result.exitCode);

    const std::vector<unsigned char> bytes = ReadBytes(output);
    std::istringstream lines(std::string(bytes.begin(), bytes.end()));
    for (std::string line; std::getline(lines, line);) result.texts.push_back(line);
    if (!result.texts.empty()) {
      result.kept = result.texts.back();
      result.texts.pop_back();
    }
    return result;
  }

  TempFolder m_temp;
};

struct LookupCase {
  const char* name;
  bool hasIni;
  std::string ini;
  const char* section;
  const char* key;
  std::string expected;
};

void PrintTo(const LookupCase& c, std::ostream* out) { *out << c.name; }

class LangLookupTest : public LangTextTest, public ::testing::WithParamInterface<LookupCase> {};

TEST_P(LangLookupTest, ReadsTheTextBesideTheProgram) {
  const LookupCase& c = GetParam();
  TempFolder programFolder;
  const std::string probe = PlaceProbe(programFolder.path(), c.hasIni ? c.ini.c_str() : nullptr);
  ASSERT_FALSE(probe.empty());

  const ProbeResult result = Run(probe, {{c.section, c.key}});
  ASSERT_TRUE(result.ran);
  EXPECT_EQ(result.exitCode, 0u);
  EXPECT_EQ(result.texts, std::vector<std::string>{c.expected});
}

const std::string k300(300, 'v');
INSTANTIATE_TEST_SUITE_P(
    Cases, LangLookupTest,
    ::testing::Values(
        LookupCase{"Found", true, LangIni("title", "100=Quelvo Updater\r\n"), "title", "100",
                   "Quelvo Updater"},
        LookupCase{"NoLangIni", false, "", "title", "100", ""},
        LookupCase{"NoSuchKey", true, LangIni("title", "100=Quelvo\r\n"), "title", "101", ""},
        LookupCase{"NoSuchSection", true, LangIni("title", "100=Quelvo\r\n"), "control", "100", ""},
        LookupCase{"EmptyValue", true, LangIni("message", "1025=\r\n"), "message", "1025", ""},
        LookupCase{"ValueOf259", true, LangIni("message", "1030=" + k300.substr(0, 259) + "\r\n"),
                   "message", "1030", k300.substr(0, 259)},
        LookupCase{"ValueOf300CutTo259", true, LangIni("message", "1030=" + k300 + "\r\n"),
                   "message", "1030", k300.substr(0, kLongestText)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LangTextTest, TakesTheTextsBesideTheProgramNotFromTheCurrentFolder) {
  TempFolder programFolder;
  TempFolder currentFolder;
  const std::string probe =
      PlaceProbe(programFolder.path(), LangIni("title", "100=beside the program\r\n").c_str());
  ASSERT_FALSE(probe.empty());
  ASSERT_TRUE(WriteText(currentFolder / "lang.ini", LangIni("title", "100=current folder\r\n")));

  const ProbeResult result = Run(probe, {{"title", "100"}}, currentFolder.path());
  ASSERT_TRUE(result.ran);
  EXPECT_EQ(result.texts, std::vector<std::string>{"beside the program"});
}

TEST_F(LangTextTest, EachLookupReplacesTheWholeBuffer) {
  TempFolder programFolder;
  const std::string probe = PlaceProbe(
      programFolder.path(), LangIni("message", "1024=a long first text\r\n1025=short\r\n").c_str());
  ASSERT_FALSE(probe.empty());

  const ProbeResult result =
      Run(probe, {{"message", "1024"}, {"message", "1025"}, {"message", "1099"}});
  ASSERT_TRUE(result.ran);
  EXPECT_EQ(result.texts, (std::vector<std::string>{"a long first text", "short", ""}));
  // The first lookup's pointer is the one buffer: it shows the last text.
  EXPECT_EQ(result.kept, "");
}

// Creates folders below `base`, one at a time, until the path is `length`
// characters long; empty when a folder cannot be made.
std::string MakeDeepFolder(const std::string& base, size_t length) {
  constexpr size_t kLongestName = 100;
  std::string path = base;
  while (path.size() < length) {
    size_t nameLength = std::min(length - path.size() - 1, kLongestName);
    // Never leave room for a separator alone.
    if (length - path.size() - 1 - nameLength == 1) --nameLength;
    path += "\\" + std::string(nameLength, 'd');
    if (!::CreateDirectoryA(path.c_str(), nullptr)) return "";
  }
  return path;
}

// Deletes the lang.ini of a deep folder through the folder's short form: past
// 259 characters its own path is beyond TempFolder's reach.
struct DeepLangIniRemover {
  std::string folder;
  ~DeepLangIniRemover() {
    char shortFolder[MAX_PATH];
    DWORD length = ::GetShortPathNameA(folder.c_str(), shortFolder, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
      ::DeleteFileA((std::string(shortFolder) + "\\lang.ini").c_str());
  }
};

struct DeepCase {
  const char* name;
  size_t folderLength;  // without the trailing separator
  const char* program;
};

void PrintTo(const DeepCase& c, std::ostream* out) { *out << c.name; }

class LangDeepFolderTest : public LangTextTest, public ::testing::WithParamInterface<DeepCase> {};

TEST_P(LangDeepFolderTest, FindsTheTextsNearAndOverTheLengthLimit) {
  const DeepCase& c = GetParam();
  const std::string folder = MakeDeepFolder(m_temp.path(), c.folderLength);
  ASSERT_FALSE(folder.empty());
  const DeepLangIniRemover remover{folder};
  const std::string probe = PlaceProbe(folder, LangIni("title", "100=deep\r\n").c_str(), c.program);
  ASSERT_FALSE(probe.empty());

  const ProbeResult result = Run(probe, {{"title", "100"}});
  ASSERT_TRUE(result.ran);
  EXPECT_EQ(result.exitCode, 0u);
  EXPECT_EQ(result.texts, std::vector<std::string>{"deep"});
}

// The lang.ini path is the folder, a separator and its 8 characters; past 259
// the lookup goes through the folder's short form. The program's own path
// (folder, separator, name) stays within 259, or it would not start at all.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, LangDeepFolderTest, ::testing::Values(
    //       name                      folder  program: lang.ini path, program path
    DeepCase{"LangPathOf254",           245, kProbeName},  // 254, 259
    DeepCase{"LangPathOf259",           250, "p.exe"},     // 259, 256
    DeepCase{"LangPathOf260",           251, "p.exe"},     // 260, 257
    DeepCase{"LangPathOf262",           253, "p.exe"}),    // 262, 259
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on
}  // namespace
