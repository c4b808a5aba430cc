#include "tests/faults/CampaignCase.h"

#include <algorithm>
#include <map>

#include "tests/faults/CampaignRow.h"
#include "tests/faults/ProcessGauge.h"
#include "tests/support/TestFiles.h"

const char* const kStageFiles[kCampaignStages] = {"firmware.qv9", "KALDER_IMG.qv9",
                                                  "KALDER_PCM.qv9", "fdata.qvx"};
const char* const kStageKeys[kCampaignStages] = {"1027", "1033", "1028", "1026"};

namespace {
constexpr DWORD kWatchIntervalMs = 20;
constexpr DWORD kPressAgainMs = 2000;
constexpr DWORD kCaptureSettleMs = 2000;
constexpr DWORD kExitWaitMs = 10000;
constexpr DWORD kCloseBoundMs = 15000;
constexpr DWORD kThreadsBackMs = 5000;
constexpr DWORD kAttachWaitMs = 15000;
constexpr DWORD kProbeSettleMs = 100;
constexpr size_t kTextSize = 260;
constexpr char kSentKey[] = "1030";
constexpr char kAttachedKey[] = "1024";

// The icon is read off the screen, where a box of a test running beside this
// one may cover it for a moment: the box is raised first, and the reading
// counts once two in a row agree.
uidriver::BoxIcon SettledIcon(const uidriver::MessageBoxWindow& box) {
  constexpr int kReadings = 5;
  constexpr DWORD kReadingGapMs = 100;
  uidriver::BoxIcon last = uidriver::BoxIcon::kUnknown;
  for (int reading = 0; reading < kReadings; ++reading) {
    ::SetWindowPos(box.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const uidriver::BoxIcon icon = box.Icon();
    if (reading > 0 && icon == last) return icon;
    last = icon;
    ::Sleep(kReadingGapMs);
  }
  return last;
}

// The boxes in order, each by the start of its text and its icon.
std::string Summary(const std::vector<SeenBox>& boxes) {
  constexpr size_t kShownText = 24;
  std::string all;
  for (const SeenBox& box : boxes) {
    const std::string text =
        box.text.size() > kShownText ? box.text.substr(0, kShownText) + "..." : box.text;
    all += (all.empty() ? "\"" : ", \"") + text + "\" (" + uidriver::BoxIconName(box.icon) + ")";
  }
  return all.empty() ? "none" : all;
}
}  // namespace

CampaignCase::CampaignCase(const DeviceEmulatorConfig& config) : session(config) {}

CampaignCase::~CampaignCase() {
  ExpectCleanClose();
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  CampaignRow row;
  row.group = test->test_suite_name();
  row.name = test->name();
  row.outcome = m_outcome;
  for (const std::string& invariant : m_invariants) {
    row.invariants += (row.invariants.empty() ? "" : "; ") + invariant;
  }
  row.timeMs = m_endMs;
  row.boundMs = m_boundMs;
  row.held = !::testing::Test::HasFailure();
  if (::testing::Test::IsSkipped()) return;
  WriteCampaignRow(row);
}

DeviceEmulatorConfig CampaignCase::RealDevice() {
  DeviceEmulatorConfig config;
  config.pipeBufferBytes = config.smallPipeBufferBytes;
  return config;
}

void CampaignCase::AddStageFile(int stage, const Bytes& file, bool sent) {
  session.AddFile(kStageFiles[stage], file);
  if (sent) layout.AddImage(stage, file);
}

std::string CampaignCase::LangText(const char* key) const {
  char text[kTextSize] = "";
  ::GetPrivateProfileStringA("message", key, "", text, kTextSize,
                             session.folder.InProgramFolder(uidriver::kLangIniName).c_str());
  return text;
}

::testing::AssertionResult CampaignCase::Start(const StartHow& how) {
  m_sentText = LangText(kSentKey);
  for (int stage = 0; stage < kCampaignStages; ++stage) {
    m_stageTexts[stage] = LangText(kStageKeys[stage]);
  }
  if (how.startDevice && !session.device.Start()) {
    return ::testing::AssertionFailure() << "the emulated device did not start";
  }
  uidriver::LaunchOptions options = session.folder.Launch();
  if (!how.currentFolder.empty()) options.currentFolder = how.currentFolder;
  if (!session.folder.Ready() || !session.app.Start(options)) {
    return ::testing::AssertionFailure()
           << "the program did not start, error " << session.app.StartError();
  }
  session.dialog = session.app.WaitForMainDialog();
  if (!session.dialog) return ::testing::AssertionFailure() << "no main dialog";
  if (how.waitAttached &&
      !session.WaitForText(kStatusLine, LangText(kAttachedKey), kAttachWaitMs)) {
    return ::testing::AssertionFailure() << "the device never showed as attached";
  }
  // With an empty status text the line tells nothing: the device must have
  // been probed before the case goes on.
  if (how.waitAttached &&
      !session.device.WaitForOpenCount(DevicePipe::Presence, 1, kAttachWaitMs)) {
    return ::testing::AssertionFailure() << "the device was never probed";
  }
  ::Sleep(kProbeSettleMs);
  m_threadBaseline = ThreadCountOf(session.app.Id());
  StartClock();
  return ::testing::AssertionSuccess();
}

void CampaignCase::StartClock() { m_clockStart = ::GetTickCount64(); }

void CampaignCase::ClickUpdate() {
  StartClock();
  session.dialog.Click(kUpdateButton);
}

DWORD CampaignCase::ElapsedMs() const {
  return static_cast<DWORD>(::GetTickCount64() - m_clockStart);
}

bool CampaignCase::Watch(const std::function<bool()>& settled, DWORD boundMs) {
  m_boundMs = boundMs;
  for (;;) {
    ServeBoxes();
    SampleLines();
    if (settled()) {
      m_endMs = ElapsedMs();
      return true;
    }
    if (ElapsedMs() >= boundMs) {
      m_endMs = ElapsedMs();
      ADD_FAILURE() << "the case did not end within " << boundMs
                    << " ms; boxes seen: " << Summary(m_boxes) << "; bytes received "
                    << session.device.TotalBytes();
      return false;
    }
    ::Sleep(kWatchIntervalMs);
  }
}

void CampaignCase::WatchQuietFor(DWORD ms) {
  const ULONGLONG until = ::GetTickCount64() + ms;
  while (::GetTickCount64() < until) {
    ServeBoxes();
    SampleLines();
    ::Sleep(kWatchIntervalMs);
  }
}

void CampaignCase::ServeBoxes() {
  std::vector<uidriver::MessageBoxWindow> boxes = session.app.MessageBoxes();
  // Newest first: record the older ones first.
  for (auto box = boxes.rbegin(); box != boxes.rend(); ++box) {
    if (m_knownBoxes.count(box->Handle())) continue;
    m_knownBoxes.insert(box->Handle());
    m_boxTexts[box->Handle()] = box->Text().value_or("");
    m_boxes.push_back(SeenBox{m_boxTexts[box->Handle()], SettledIcon(*box)});
  }
  size_t libraryBoxes = 0;
  for (const uidriver::MessageBoxWindow& box : boxes) {
    libraryBoxes += m_boxTexts[box.Handle()] == kLibraryUnloaded;
  }
  m_mostLibraryBoxes = std::max(m_mostLibraryBoxes, libraryBoxes);
  // One answer per pass, to the box on top, as a user would.
  for (const uidriver::MessageBoxWindow& box : boxes) {
    auto pressed = m_pressedAt.find(box.Handle());
    if (pressed != m_pressedAt.end() && ::GetTickCount64() - pressed->second < kPressAgainMs) {
      continue;
    }
    box.PressOk();
    m_pressedAt[box.Handle()] = ::GetTickCount64();
    break;
  }
}

void CampaignCase::SampleLines() {
  if (m_sentText.empty() || !session.app.IsRunning()) return;
  // The stage line is read on both sides of the result line: the pair counts
  // only if the stage did not change in between.
  std::optional<std::string> stageBefore = session.dialog.ControlText(kStageLine);
  std::optional<std::string> result = session.dialog.ControlText(kResultLine);
  std::optional<std::string> stageAfter = session.dialog.ControlText(kStageLine);
  if (!stageBefore || !result || stageBefore != stageAfter || *result != m_sentText) return;
  const int stage = StageOfText(*stageBefore);
  if (stage < 0) {
    m_sentShownUnattributed = true;
  } else {
    m_sentShownFor.insert(stage);
  }
}

int CampaignCase::StageOfText(const std::string& text) const {
  int found = -1;
  for (int stage = 0; stage < kCampaignStages; ++stage) {
    if (m_stageTexts[stage] != text) continue;
    if (found >= 0) return -1;  // two stages share the text: cannot tell
    found = stage;
  }
  return found;
}

bool CampaignCase::SawBox(const std::string& text) const {
  return std::any_of(m_boxes.begin(), m_boxes.end(),
                     [&](const SeenBox& box) { return box.text == text; });
}

bool CampaignCase::BoxOpen() const { return !session.app.MessageBoxes().empty(); }

bool CampaignCase::BoxOpen(const std::string& text) const {
  for (const uidriver::MessageBoxWindow& box : session.app.MessageBoxes()) {
    auto known = m_boxTexts.find(box.Handle());
    if (known != m_boxTexts.end() && known->second == text) return true;
  }
  return false;
}

bool CampaignCase::RunOver(size_t bytes) const {
  return Received(bytes) && ThreadCountOf(session.app.Id()) <= m_threadBaseline;
}

bool CampaignCase::ResultShows(const char* key) const {
  const std::string text = LangText(key);
  return session.dialog.ControlText(kResultLine) == text;
}

void CampaignCase::ExpectBoxes(const std::vector<BoxRule>& rules, bool ignoreLibraryBoxes) {
  std::vector<SeenBox> seen;
  for (const SeenBox& box : m_boxes) {
    if (!(ignoreLibraryBoxes && box.text == kLibraryUnloaded)) seen.push_back(box);
  }
  size_t next = 0;
  for (const BoxRule& rule : rules) {
    if (ignoreLibraryBoxes && rule.text == kLibraryUnloaded) {
      EXPECT_TRUE(SawBox(kLibraryUnloaded)) << "no \"" << kLibraryUnloaded << "\" box";
      continue;
    }
    if (next < seen.size() && seen[next].text == rule.text) {
      EXPECT_EQ(seen[next].icon, rule.icon) << "box \"" << rule.text << "\"";
      ++next;
    } else {
      EXPECT_TRUE(rule.optional) << "missing box \"" << rule.text
                                 << "\"; seen: " << Summary(m_boxes);
    }
  }
  EXPECT_EQ(next, seen.size()) << "unexpected boxes; seen: " << Summary(m_boxes);
  EXPECT_LE(m_mostLibraryBoxes, 1u) << "several \"" << kLibraryUnloaded << "\" boxes at once";
  const bool someOptional =
      std::any_of(rules.begin(), rules.end(), [](const BoxRule& rule) { return rule.optional; });
  if (someOptional) Note("seen: " + Summary(m_boxes));
}

void CampaignCase::ExpectExitCodeZero() {
  const std::optional<DWORD> code = session.app.WaitForExit(kExitWaitMs);
  EXPECT_EQ(code, std::optional<DWORD>(0)) << "a crash, a hang, or a kill";
  m_exitChecked = true;
  Note("exit 0");
}

void CampaignCase::ExpectRunning() {
  EXPECT_TRUE(session.app.IsRunning()) << "the program ended";
  Note("no crash, runs on");
}

void CampaignCase::ExpectUpdateButtonEnabled(bool enabled) {
  EXPECT_EQ(session.dialog.IsControlEnabled(kUpdateButton), std::optional<bool>(enabled));
  Note(enabled ? "button usable" : "button disabled");
}

void CampaignCase::ExpectReceivedExactly(size_t bytes) {
  ASSERT_LE(bytes, layout.Size());
  session.device.WaitForTotalBytes(bytes, kCaptureSettleMs);
  const Bytes got = session.device.Bytes();
  const Bytes want(layout.Stream().begin(), layout.Stream().begin() + bytes);
  EXPECT_EQ(got.size(), want.size()) << "bytes received";
  EXPECT_TRUE(got == want) << "the device got other bytes than the first " << bytes
                           << " of what should have been sent";
  Note("got " + std::to_string(bytes) + " of " + std::to_string(layout.Size()) + " B");
}

void CampaignCase::CheckPrefix() {
  const Bytes got = session.device.Bytes();
  const Bytes& stream = layout.Stream();
  const bool prefix =
      got.size() <= stream.size() && std::equal(got.begin(), got.end(), stream.begin());
  EXPECT_TRUE(prefix) << "the device got " << got.size() << " bytes that are not a prefix of the "
                      << stream.size()
                      << " that should have been sent: something doubled or reordered";
  Note("a prefix: nothing doubled or reordered");
}

void CampaignCase::CheckImageSentTexts() {
  if (m_sentText.empty()) {
    Note("(\"1030\" is empty here)");
    return;
  }
  EXPECT_FALSE(m_sentShownUnattributed) << "\"1030\" shown beside an unknown stage text";
  const size_t got = session.device.TotalBytes();
  for (int stage : m_sentShownFor) {
    EXPECT_TRUE(layout.StageSent(stage) && got >= layout.StageEnd(stage))
        << "\"1030\" shown for stage " << stage + 1 << " whose image did not go out whole";
  }
  Note("\"1030\" only for whole images");
}

void CampaignCase::CheckThreadsBack() {
  if (m_threadBaseline == 0) return;
  DWORD now = 0;
  const bool back = uidriver::WaitUntil(
      [&] {
        now = ThreadCountOf(session.app.Id());
        return now <= m_threadBaseline;
      },
      kThreadsBackMs);
  EXPECT_TRUE(back) << "threads: " << now << " now, " << m_threadBaseline << " before the run";
  Note("threads back to " + std::to_string(now));
}

void CampaignCase::ExpectCleanClose() {
  if (m_closed) return;
  m_closed = true;
  if (!session.app.Handle()) return;  // never started: a skipped case
  if (session.app.IsRunning() && !BoxOpen()) CheckThreadsBack();
  if (session.app.IsRunning()) {
    const ULONGLONG deadline = ::GetTickCount64() + kCloseBoundMs;
    while (session.app.IsRunning() && ::GetTickCount64() < deadline) {
      session.dialog.Click(IDCANCEL);
      ServeBoxes();
      ::Sleep(kWatchIntervalMs * 5);
    }
  }
  if (!m_exitChecked) {
    EXPECT_EQ(session.app.WaitForExit(kExitWaitMs), std::optional<DWORD>(0))
        << "closing did not end the program with exit code 0";
    Note("closes with exit 0");
  }
  CheckPrefix();
  CheckImageSentTexts();
}
