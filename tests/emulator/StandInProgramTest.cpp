// The stand-in programs: Prossel.exe logs its starts, DeviceEmulator.exe
// serves a device from its own process.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

#include "emulator/DeviceEmulator.h"
#include "tests/emulator/DeviceClient.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestFiles.h"

namespace {
constexpr DWORD kWaitMs = 10000;
constexpr size_t kChunk = 2048;
constexpr DWORD kReplySize = 10;

struct Process {
  UniqueHandle process;
  UniqueHandle input;  // write end of its standard input, if any
};

// Starts `commandLine` in `folder`; with `withInput`, its standard input is a
// pipe whose write end is returned.
Process Launch(std::string commandLine, const std::string& folder, bool withInput) {
  Process launched;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  UniqueHandle readEnd;
  if (withInput) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    ::CreatePipe(&read, &write, &inherit, 0);
    readEnd.reset(read);
    launched.input.reset(write);
    ::SetHandleInformation(write, HANDLE_FLAG_INHERIT, 0);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = read;
    startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
  }
  PROCESS_INFORMATION info = {};
  if (::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, withInput, 0, nullptr,
                       folder.c_str(), &startup, &info)) {
    ::CloseHandle(info.hThread);
    launched.process.reset(info.hProcess);
  }
  return launched;
}

// Exit code after the process ends within the bound; STILL_ACTIVE otherwise.
DWORD ExitCodeAfterEnd(HANDLE process) {
  DWORD code = STILL_ACTIVE;
  if (::WaitForSingleObject(process, kWaitMs) == WAIT_OBJECT_0)
    ::GetExitCodeProcess(process, &code);
  return code;
}

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

TEST(Prossel, LogsEachStartWithItsCurrentFolder) {
  TempFolder folder;
  ASSERT_TRUE(CopyInto(BinPath("Prossel.exe"), folder.path(), "Prossel.exe"));
  TempFolder current;
  std::string exe = folder / "Prossel.exe";
  for (int start = 0; start < 2; ++start) {
    Process prossel = Launch("\"" + exe + "\"", current.path(), false);
    ASSERT_TRUE(prossel.process);
    EXPECT_EQ(ExitCodeAfterEnd(prossel.process.get()), 0u);
  }
  std::vector<std::string> lines = Lines(folder / "Prossel.log");
  ASSERT_EQ(lines.size(), 2u);
  for (const std::string& line : lines) {
    size_t tab = line.find('\t');
    ASSERT_NE(tab, std::string::npos) << line;
    EXPECT_GT(std::stoull(line.substr(0, tab)), 0ull);
    EXPECT_EQ(line.substr(tab + 1), current.path());
  }
}

TEST(DeviceEmulatorExe, ServesCapturesAndTakesCommands) {
  TempFolder folder;
  std::string name = UniqueDeviceName("EmulatorExeTest");
  std::string readyName = name + ".ready";
  UniqueHandle ready(::CreateEventA(nullptr, TRUE, FALSE, readyName.c_str()));
  std::string capture = folder / "capture.bin";
  Process emulator = Launch("\"" + BinPath("DeviceEmulator.exe") + "\" --name " + name +
                                " --reply 54313233 --capture \"" + capture + "\" --ready-event " +
                                readyName + " --commands",
                            folder.path(), true);
  ASSERT_TRUE(emulator.process);
  ASSERT_EQ(::WaitForSingleObject(ready.get(), kWaitMs), WAIT_OBJECT_0);

  ::SetEnvironmentVariableA(kDeviceNameVariable, name.c_str());
  ZumelLibrary library(ZumelPath());
  UniqueHandle out(library.OpenFile("PIPE00"));
  ASSERT_TRUE(out);
  EXPECT_TRUE(PlainWrite(out.get(), Bytes("!")));
  UniqueHandle in(library.OpenFile("PIPE01"));
  HostTransfer read;
  EXPECT_TRUE(read.Read(in.get(), kReplySize) || read.Wait(kWaitMs));
  EXPECT_EQ(read.received(), Bytes("T123"));
  std::vector<unsigned char> chunk = Pattern(kChunk, 7);
  HostTransfer write;
  EXPECT_TRUE(write.Write(out.get(), chunk) || write.Wait(kWaitMs));
  // A completed write may still sit in the pipe's buffer, and an unplug loses
  // what the device has not read: wait until the capture holds it.
  for (DWORD waited = 0; waited < kWaitMs && ReadBytes(capture).size() < 1 + chunk.size();
       waited += 10) {
    ::Sleep(10);
  }

  DWORD written = 0;
  const char kUnplug[] = "unplug\n";
  ::WriteFile(emulator.input.get(), kUnplug, sizeof kUnplug - 1, &written, nullptr);
  UniqueHandle gone;
  for (DWORD waited = 0; waited < kWaitMs; waited += 10) {
    gone.reset(library.OpenDev());
    if (!gone) break;
    ::Sleep(10);
  }
  EXPECT_FALSE(gone);

  emulator.input.reset();
  EXPECT_EQ(ExitCodeAfterEnd(emulator.process.get()), 0u);
  std::vector<unsigned char> expected = Bytes("!");
  expected.insert(expected.end(), chunk.begin(), chunk.end());
  EXPECT_EQ(ReadBytes(capture), expected);
  EXPECT_EQ(Lines(capture + ".sizes"), (std::vector<std::string>{"1", "2048"}));
  std::vector<std::string> state = Lines(capture + ".state");
  EXPECT_NE(std::find(state.begin(), state.end(), "present=0"), state.end());
  EXPECT_NE(std::find(state.begin(), state.end(), "replies_taken=1"), state.end());
}
}  // namespace
