#pragma once
// What the device should receive in a run where everything goes right: the
// identification request, then each sent image's start command and payload
// chunks, one write each. Knows where every write and every stage begins and
// ends in that stream, so a fault at any byte can be told what must have
// arrived by then.
#include <vector>

#include "tests/update/UpdateImages.h"

constexpr int kCampaignStages = 4;

class WireLayout {
 public:
  WireLayout();

  // Appends `image` as the next image sent, for `stage` (0 to 3).
  void AddImage(int stage, const Bytes& image);

  // What `runs` whole runs in a row send; stage offsets stay the first run's.
  void RepeatRuns(int runs);

  const Bytes& Stream() const { return m_stream; }
  size_t Size() const { return m_stream.size(); }
  // Offsets in the stream of the stage's first and one-past-last byte; both 0
  // for a stage that sends nothing.
  size_t StageBegin(int stage) const { return m_stageBegin[stage]; }
  size_t StageEnd(int stage) const { return m_stageEnd[stage]; }
  bool StageSent(int stage) const { return m_stageEnd[stage] > m_stageBegin[stage]; }
  // The end of the write that carries the byte at `offset`.
  size_t EndOfWriteHolding(size_t offset) const;
  // The stage whose bytes hold `offset`; -1 for the identification request.
  int StageHolding(size_t offset) const;

 private:
  Bytes m_stream;
  std::vector<size_t> m_writeEnds;
  size_t m_stageBegin[kCampaignStages] = {};
  size_t m_stageEnd[kCampaignStages] = {};
};
