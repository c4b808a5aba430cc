#pragma once
// How to start a program: which file, with what arguments, from which
// current folder, with which variables added to our environment.
#include <string>

#include "tests/uidriver/EnvironmentBlock.h"

namespace uidriver {

struct LaunchOptions {
  std::string program;               // full path of the .exe
  std::string arguments;             // appended to the quoted program path; may be empty
  std::string currentFolder;         // empty: ours
  EnvironmentVariables environment;  // added to or replacing ours
};

}  // namespace uidriver
