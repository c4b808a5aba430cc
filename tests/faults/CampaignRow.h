#pragma once
// One line of the fault campaign's report: what a case showed, which
// invariants held and how long it took to end. Each case writes its own file
// under build/fault-campaign/, so that test programs running side by side
// never share one; tests/faults/campaign_table.py assembles the table.
#include <windows.h>

#include <string>

struct CampaignRow {
  std::string group;
  std::string name;
  std::string outcome;
  std::string invariants;
  DWORD timeMs = 0;
  DWORD boundMs = 0;
  bool held = false;
};

// build/fault-campaign, beside build/bin.
std::string CampaignRowFolder();
bool WriteCampaignRow(const CampaignRow& row);
