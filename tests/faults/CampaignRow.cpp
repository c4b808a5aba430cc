#include "tests/faults/CampaignRow.h"

#include "tests/support/TestFiles.h"

namespace {
// Fields are separated by tabs, rows by line ends: neither may occur inside.
std::string Field(std::string text) {
  for (char& c : text) {
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

std::string FileNameFor(std::string name) {
  for (char& c : name) {
    if (c == '/' || c == '\\' || c == ':') c = '_';
  }
  return name + ".row";
}
}  // namespace

std::string CampaignRowFolder() { return BinFolder() + "\\..\\fault-campaign"; }

bool WriteCampaignRow(const CampaignRow& row) {
  const std::string folder = CampaignRowFolder();
  ::CreateDirectoryA(folder.c_str(), nullptr);
  const std::string line = Field(row.group) + "\t" + Field(row.name) + "\t" + Field(row.outcome) +
                           "\t" + Field(row.invariants) + "\t" + std::to_string(row.timeMs) + "\t" +
                           std::to_string(row.boundMs) + "\t" + (row.held ? "held" : "FAILED") +
                           "\n";
  return WriteText(folder + "\\" + FileNameFor(row.group + "." + row.name), line);
}
