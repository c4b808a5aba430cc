#pragma once
// Small file helpers for tests.
#include <string>
#include <vector>

// The folder of the running test program: build/bin, where every built
// program, library and the sample lang.ini lie.
std::string BinFolder();
std::string BinPath(const std::string& name);

bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes);
bool WriteText(const std::string& path, const std::string& text);
std::vector<unsigned char> ReadBytes(const std::string& path);
bool CopyInto(const std::string& sourcePath, const std::string& folder, const std::string& name);
bool FileExists(const std::string& path);
