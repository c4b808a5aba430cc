#pragma once
// One case of the fault campaign: the real program beside its own emulated
// device, a fault, and the watch over what follows. The watch answers every
// message box with OK (as a user would) and samples the stage and result
// lines; afterwards the case checks the invariants that hold for every fault:
// the program did not crash, the case ended within its bound, the device got
// a prefix of what should have been sent (nothing doubled or reordered), the
// "image sent" text showed only for images that went out whole, and no
// worker thread was left behind. Its destructor writes the case's report row.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/faults/WireLayout.h"
#include "tests/uidriver/BoxIcon.h"
#include "tests/update/UpdateSession.h"

constexpr char kLibraryUnloaded[] = "ZumelUSB.dll unloaded";
extern const char* const kStageFiles[kCampaignStages];
extern const char* const kStageKeys[kCampaignStages];

struct SeenBox {
  std::string text;
  uidriver::BoxIcon icon;
};

// A message box the case must see, in order; an optional one may be missing.
struct BoxRule {
  std::string text;
  uidriver::BoxIcon icon;
  bool optional = false;
};

struct StartHow {
  bool startDevice = true;
  // Wait for the status line to say the device is attached.
  bool waitAttached = true;
  // Empty: the session's own current folder.
  std::string currentFolder;
};

class CampaignCase {
 public:
  explicit CampaignCase(const DeviceEmulatorConfig& config = RealDevice());
  ~CampaignCase();
  CampaignCase(const CampaignCase&) = delete;
  CampaignCase& operator=(const CampaignCase&) = delete;

  // A device whose writes complete only once it has read them, as over USB:
  // PIPE00 gets the one-byte buffer.
  static DeviceEmulatorConfig RealDevice();

  // Writes `file` as the stage's update file; `sent`: it belongs to what the
  // device should receive when nothing goes wrong.
  void AddStageFile(int stage, const Bytes& file, bool sent = true);

  // What the program shows for a "message" key, read from its lang.ini the
  // way it reads it (260 bytes).
  std::string LangText(const char* key) const;

  ::testing::AssertionResult Start(const StartHow& how = StartHow());
  void StartClock();
  void ClickUpdate();
  DWORD ElapsedMs() const;

  // Watches until `settled` holds or `boundMs` have passed since the clock
  // started: answers boxes, samples the lines. Fails the test on the bound.
  bool Watch(const std::function<bool()>& settled, DWORD boundMs);
  // Keeps watching for `ms` more, to see that nothing more happens.
  void WatchQuietFor(DWORD ms);

  // For `settled`.
  bool Exited() const { return !session.app.IsRunning(); }
  bool SawBox(const std::string& text) const;
  bool BoxOpen() const;
  bool BoxOpen(const std::string& text) const;
  // The device got `bytes` and the program is back to the threads it had
  // before the run: the last worker has ended.
  bool RunOver(size_t bytes) const;
  bool Received(size_t bytes) const { return session.device.TotalBytes() >= bytes; }
  bool ResultShows(const char* key) const;

  // The outcome checks; each adds to the report's invariants.
  void ExpectBoxes(const std::vector<BoxRule>& rules, bool ignoreLibraryBoxes = false);
  void ExpectExitCodeZero();
  void ExpectRunning();
  void ExpectUpdateButtonEnabled(bool enabled);
  // The device got exactly the first `bytes` of what should have been sent.
  void ExpectReceivedExactly(size_t bytes);
  // Ends the case: the program, if still running, closes with exit code 0.
  void ExpectCleanClose();

  void SetOutcome(const std::string& outcome) { m_outcome = outcome; }
  const std::vector<SeenBox>& Boxes() const { return m_boxes; }
  DWORD ThreadBaseline() const { return m_threadBaseline; }

  UpdateSession session;
  WireLayout layout;

 private:
  void ServeBoxes();
  void SampleLines();
  int StageOfText(const std::string& text) const;
  void CheckPrefix();
  void CheckImageSentTexts();
  void CheckThreadsBack();
  void Note(const std::string& invariant) { m_invariants.push_back(invariant); }

  ULONGLONG m_clockStart = 0;
  DWORD m_endMs = 0;
  DWORD m_boundMs = 0;
  DWORD m_threadBaseline = 0;
  std::set<HWND> m_knownBoxes;
  std::map<HWND, std::string> m_boxTexts;
  std::map<HWND, ULONGLONG> m_pressedAt;
  std::vector<SeenBox> m_boxes;
  size_t m_mostLibraryBoxes = 0;
  // Stages for which the result line showed the "image sent" text.
  std::set<int> m_sentShownFor;
  bool m_sentShownUnattributed = false;
  // The texts the program shows, read once at the start.
  std::string m_sentText;
  std::string m_stageTexts[kCampaignStages];
  std::string m_outcome;
  std::vector<std::string> m_invariants;
  bool m_exitChecked = false;
  bool m_closed = false;
};
