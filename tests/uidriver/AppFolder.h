#pragma once
// A private copy of the program to start in a test: Quelvo.exe in a fresh
// folder of its own (it reads lang.ini beside itself and loads ZumelUSB.dll
// from its own or the current folder), the files a test asks for from
// build/bin, a current folder, and variables for the child's environment.
#include <memory>
#include <string>

#include "tests/support/TempFolder.h"
#include "tests/uidriver/LaunchOptions.h"

namespace uidriver {

constexpr char kProgramName[] = "Quelvo.exe";
constexpr char kLangIniName[] = "lang.ini";
constexpr char kDeviceLibraryName[] = "ZumelUSB.dll";
constexpr char kInstallerName[] = "Prossel.exe";

// The current folder of the started program.
enum class CurrentFolder {
  kProgramFolder,   // the folder that holds the program
  kSeparateFolder,  // a fresh folder of its own
};

// Where a file goes.
enum class Place { kProgramFolder, kCurrentFolder };

class AppFolder {
 public:
  explicit AppFolder(CurrentFolder current = CurrentFolder::kProgramFolder);
  AppFolder(const AppFolder&) = delete;
  AppFolder& operator=(const AppFolder&) = delete;

  // The program was copied.
  bool Ready() const { return m_ready; }

  const std::string& ProgramFolder() const;
  const std::string& CurrentFolderPath() const;
  std::string ProgramPath() const;
  std::string InProgramFolder(const std::string& name) const;
  std::string InCurrentFolder(const std::string& name) const;
  std::string PathIn(Place place, const std::string& name) const;

  // Copies build/bin/<name> to place; false when build/bin has no such file.
  bool AddFromBin(const std::string& name, Place place);
  // The sample text table of build/bin, beside the program.
  bool AddSampleLangIni() { return AddFromBin(kLangIniName, Place::kProgramFolder); }
  // A text table of the test's own, beside the program.
  bool WriteLangIni(const std::string& text);
  bool AddDeviceLibrary(Place place = Place::kProgramFolder) {
    return AddFromBin(kDeviceLibraryName, place);
  }
  // The program starts the installer from its current folder.
  bool AddInstaller(Place place = Place::kCurrentFolder) {
    return AddFromBin(kInstallerName, place);
  }

  // An environment variable for the child, added to or replacing ours.
  void SetEnvironment(const std::string& name, const std::string& value);

  // What AppProcess::Start needs to run this copy.
  LaunchOptions Launch(const std::string& arguments = std::string()) const;

 private:
  TempFolder m_programFolder;
  std::unique_ptr<TempFolder> m_separateFolder;
  EnvironmentVariables m_environment;
  bool m_ready = false;
};

// build/bin holds this file.
bool BinHas(const std::string& name);

}  // namespace uidriver
