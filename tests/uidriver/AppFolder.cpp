#include "tests/uidriver/AppFolder.h"

#include "tests/support/TestFiles.h"

namespace uidriver {

bool BinHas(const std::string& name) { return FileExists(BinPath(name)); }

AppFolder::AppFolder(CurrentFolder current)
    : m_separateFolder(current == CurrentFolder::kSeparateFolder ? std::make_unique<TempFolder>()
                                                                 : nullptr) {
  m_ready = CopyInto(BinPath(kProgramName), m_programFolder.path(), kProgramName);
}

const std::string& AppFolder::ProgramFolder() const { return m_programFolder.path(); }

const std::string& AppFolder::CurrentFolderPath() const {
  return m_separateFolder ? m_separateFolder->path() : m_programFolder.path();
}

std::string AppFolder::ProgramPath() const { return InProgramFolder(kProgramName); }

std::string AppFolder::InProgramFolder(const std::string& name) const {
  return ProgramFolder() + "\\" + name;
}

std::string AppFolder::InCurrentFolder(const std::string& name) const {
  return CurrentFolderPath() + "\\" + name;
}

std::string AppFolder::PathIn(Place place, const std::string& name) const {
  return place == Place::kProgramFolder ? InProgramFolder(name) : InCurrentFolder(name);
}

bool AppFolder::AddFromBin(const std::string& name, Place place) {
  if (!BinHas(name)) return false;
  return CopyInto(BinPath(name),
                  place == Place::kProgramFolder ? ProgramFolder() : CurrentFolderPath(), name);
}

bool AppFolder::WriteLangIni(const std::string& text) {
  return WriteText(InProgramFolder(kLangIniName), text);
}

void AppFolder::SetEnvironment(const std::string& name, const std::string& value) {
  for (auto& variable : m_environment) {
    if (variable.first == name) {
      variable.second = value;
      return;
    }
  }
  m_environment.emplace_back(name, value);
}

LaunchOptions AppFolder::Launch(const std::string& arguments) const {
  LaunchOptions options;
  options.program = ProgramPath();
  options.arguments = arguments;
  options.currentFolder = CurrentFolderPath();
  options.environment = m_environment;
  return options;
}

}  // namespace uidriver
