#include "device/PipeTransfer.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/device/CountingCalls.h"
#include "tests/device/TestPipe.h"

namespace {
constexpr DWORD kBudget = 3;
constexpr DWORD kUnbuffered = 0;   // writes wait for the peer to read
constexpr DWORD kBuffered = 4096;  // room for a whole chunk, or a reply waiting
constexpr DWORD kChunkLength = 2048;
constexpr DWORD kReplyLength = 10;
const std::string kReply = "T123456789";

std::string Chunk() {
  std::string chunk(kChunkLength, '\0');
  for (DWORD i = 0; i < kChunkLength; ++i) chunk[i] = static_cast<char>(i * 7);
  return chunk;
}

// When the peer answers a pending transfer: it writes the reply to a read, or
// takes the bytes of a write.
enum class Landing {
  kAtIssue,             // reply already waiting, or room in the pipe
  kInFirstWait,         // before the first poll
  kInSecondWait,        // before the first poll after the re-issue
  kBeforeFirstCancel,   // after the first wait's last poll
  kBeforeSecondCancel,  // after the second wait's last poll
  kNever,
};

struct LandingCase {
  const char* name;
  TransferDirection direction;
  Landing landing;
  std::string reply;  // what the peer answers a read with
  TransferOutcome outcome;
  int issues;
  int cancels;
  int minPolls;
  int maxPolls;
};

std::ostream& operator<<(std::ostream& out, const LandingCase& c) { return out << c.name; }

constexpr TransferDirection kRead = TransferDirection::kRead;
constexpr TransferDirection kWrite = TransferDirection::kWrite;
constexpr TransferOutcome kCompleted = TransferOutcome::kCompleted;
constexpr TransferOutcome kNotCompleted = TransferOutcome::kNotCompleted;
constexpr int kB = static_cast<int>(kBudget);

const LandingCase kLandingCases[] = {
    {"ReadAtIssue", kRead, Landing::kAtIssue, kReply, kCompleted, 1, 0, 0, 0},
    {"ReadInFirstWait", kRead, Landing::kInFirstWait, kReply, kCompleted, 1, 0, 1, kB},
    {"ShortReadInFirstWait", kRead, Landing::kInFirstWait, "T", kCompleted, 1, 0, 1, kB},
    {"ReadInSecondWait", kRead, Landing::kInSecondWait, kReply, kCompleted, 2, 1, kB + 1, 2 * kB},
    {"ReadBeforeFirstCancel", kRead, Landing::kBeforeFirstCancel, kReply, kCompleted, 1, 1, kB, kB},
    {"ReadBeforeSecondCancel", kRead, Landing::kBeforeSecondCancel, kReply, kCompleted, 2, 2,
     2 * kB, 2 * kB},
    {"ReadNever", kRead, Landing::kNever, kReply, kNotCompleted, 2, 2, 2 * kB, 2 * kB},
    {"WriteAtIssue", kWrite, Landing::kAtIssue, "", kCompleted, 1, 0, 0, 0},
    {"WriteInFirstWait", kWrite, Landing::kInFirstWait, "", kCompleted, 1, 0, 1, kB},
    {"WriteInSecondWait", kWrite, Landing::kInSecondWait, "", kCompleted, 2, 1, kB + 1, 2 * kB},
    {"WriteBeforeFirstCancel", kWrite, Landing::kBeforeFirstCancel, "", kCompleted, 1, 1, kB, kB},
    {"WriteBeforeSecondCancel", kWrite, Landing::kBeforeSecondCancel, "", kCompleted, 2, 2, 2 * kB,
     2 * kB},
    {"WriteNever", kWrite, Landing::kNever, "", kNotCompleted, 2, 2, 2 * kB, 2 * kB},
};

class PipeTransferLanding : public ::testing::TestWithParam<LandingCase> {
 protected:
  PipeTransferLanding()
      : m_pipe(GetParam().landing == Landing::kAtIssue ? kBuffered : kUnbuffered) {}

  void PeerAnswers() {
    if (GetParam().direction == kRead)
      m_pipe.PeerWrite(GetParam().reply);
    else
      m_received += m_pipe.PeerReadAvailable();
  }

  void PeerAnswersAt(Landing landing) {
    if (landing == GetParam().landing) PeerAnswers();
  }

  TestPipe m_pipe;
  CountingCalls m_calls;
  std::string m_received;  // what the peer took from writes
};

TEST_P(PipeTransferLanding, CompletesOnceWhereverThePeerAnswers) {
  const LandingCase& c = GetParam();
  ASSERT_TRUE(m_pipe.open());
  if (c.direction == kRead && c.landing == Landing::kAtIssue) PeerAnswers();
  m_calls.beforePoll = [&](int poll) {
    if (poll == 1) PeerAnswersAt(Landing::kInFirstWait);
    if (poll == kB + 1) PeerAnswersAt(Landing::kInSecondWait);
  };
  m_calls.beforeCancel = [&](int cancel) {
    PeerAnswersAt(cancel == 1 ? Landing::kBeforeFirstCancel : Landing::kBeforeSecondCancel);
  };
  std::string buffer = c.direction == kRead ? std::string(kReplyLength, '\0') : Chunk();

  PipeTransfer transfer(m_calls);
  TransferOutcome outcome = transfer.BoundedTransfer(m_pipe.client(), c.direction, &buffer[0],
                                                     static_cast<DWORD>(buffer.size()), kBudget);

  EXPECT_EQ(outcome, c.outcome);
  EXPECT_EQ(m_calls.issues, c.issues);
  EXPECT_EQ(m_calls.cancels, c.cancels);
  EXPECT_GE(m_calls.polls, c.minPolls);
  EXPECT_LE(m_calls.polls, c.maxPolls);
  if (c.outcome == kNotCompleted) {
    EXPECT_EQ(m_calls.pauses, 2 * kB);
  }
  EXPECT_FALSE(m_calls.issuedOnPendingRecord);
  if (c.direction == kRead) {
    if (c.outcome == kCompleted) {
      EXPECT_EQ(buffer.substr(0, c.reply.size()), c.reply);
    }
  } else {
    // Exactly one copy of the chunk reached the peer, none when not completed.
    m_received += m_pipe.PeerReadAvailable();
    EXPECT_EQ(m_received, c.outcome == kCompleted ? buffer : std::string());
  }
}

INSTANTIATE_TEST_SUITE_P(, PipeTransferLanding, ::testing::ValuesIn(kLandingCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PipeTransfer, HandleOfMinusOneFailsAtTheIssue) {
  for (TransferDirection direction : {kRead, kWrite}) {
    CountingCalls calls;
    PipeTransfer transfer(calls);
    char buffer[kReplyLength] = {};
    EXPECT_EQ(
        transfer.BoundedTransfer(INVALID_HANDLE_VALUE, direction, buffer, sizeof(buffer), kBudget),
        kNotCompleted);
    EXPECT_EQ(calls.issues, 1);
    EXPECT_EQ(calls.polls, 0);
    EXPECT_EQ(calls.cancels, 0);
    EXPECT_TRUE(transfer.Usable());
  }
}

// A cancel that takes effect only a while after CancelIo returned: the
// re-issue, and the caller after the second cancel, must find the transfer
// ended before they touch the record again.
TEST(PipeTransfer, WaitsForACancelledTransferToEndBeforeReusingItsRecord) {
  constexpr int kQueriesBeforeCancelEnds = 3;
  for (TransferDirection direction : {kRead, kWrite}) {
    TestPipe pipe(kUnbuffered);
    ASSERT_TRUE(pipe.open());
    CountingCalls calls;
    HANDLE cancelLater = nullptr;
    calls.cancel = [&](HANDLE handle) { cancelLater = handle; };
    calls.beforeEndQuery = [&](int query) {
      if (query % kQueriesBeforeCancelEnds == 0) ::CancelIo(cancelLater);
    };
    std::string buffer = direction == kRead ? std::string(kReplyLength, '\0') : Chunk();

    PipeTransfer transfer(calls);
    EXPECT_EQ(transfer.BoundedTransfer(pipe.client(), direction, &buffer[0],
                                       static_cast<DWORD>(buffer.size()), kBudget),
              kNotCompleted);

    EXPECT_EQ(calls.issues, 2);
    EXPECT_FALSE(calls.issuedOnPendingRecord);
    ASSERT_NE(calls.lastRecord, nullptr);
    EXPECT_TRUE(HasOverlappedIoCompleted(calls.lastRecord));
    EXPECT_EQ(calls.endQueries, 2 * kQueriesBeforeCancelEnds);
    EXPECT_EQ(pipe.PeerReadAvailable(), "");
    EXPECT_TRUE(transfer.Usable());
  }
}

// A driver that never ends a cancelled transfer: no re-issue on its record,
// no hang, and no later transfer on that record.
TEST(PipeTransfer, GivesUpARecordWhoseCancelledTransferNeverEnds) {
  TestPipe pipe(kUnbuffered);
  ASSERT_TRUE(pipe.open());
  CountingCalls calls;
  calls.cancel = [](HANDLE) {};
  char buffer[kReplyLength] = {};

  PipeTransfer transfer(calls);
  EXPECT_EQ(transfer.BoundedTransfer(pipe.client(), kRead, buffer, sizeof(buffer), kBudget),
            kNotCompleted);
  EXPECT_EQ(calls.issues, 1);
  EXPECT_GT(calls.endQueries, 1);
  EXPECT_FALSE(transfer.Usable());

  EXPECT_EQ(transfer.BoundedTransfer(pipe.client(), kRead, buffer, sizeof(buffer), kBudget),
            kNotCompleted);
  EXPECT_EQ(calls.issues, 1);

  // Ends the read that was left pending; its record stays with the system.
  ::CancelIo(pipe.client());
}

TEST(PipeTransfer, RealCallsCarryAChunkAndAReply) {
  TestPipe pipe(kBuffered);
  ASSERT_TRUE(pipe.open());
  PipeTransfer transfer;
  std::string chunk = Chunk();
  EXPECT_EQ(transfer.BoundedTransfer(pipe.client(), kWrite, &chunk[0], kChunkLength, kBudget),
            kCompleted);
  EXPECT_EQ(pipe.PeerReadAvailable(), chunk);

  pipe.PeerWrite(kReply);
  std::string reply(kReplyLength, '\0');
  EXPECT_EQ(transfer.BoundedTransfer(pipe.client(), kRead, &reply[0], kReplyLength, kBudget),
            kCompleted);
  EXPECT_EQ(reply, kReply);
}
}  // namespace
