#include "tests/faults/WireLayout.h"

#include <algorithm>

WireLayout::WireLayout() : m_stream{'!'}, m_writeEnds{1} {}

void WireLayout::AddImage(int stage, const Bytes& image) {
  m_stageBegin[stage] = m_stream.size();
  const Bytes wire = OnTheWire(image);
  m_stream.insert(m_stream.end(), wire.begin(), wire.end());
  size_t end = m_stageBegin[stage];
  for (size_t size : WireWriteSizes(image)) {
    end += size;
    m_writeEnds.push_back(end);
  }
  m_stageEnd[stage] = m_stream.size();
}

size_t WireLayout::EndOfWriteHolding(size_t offset) const {
  auto end = std::upper_bound(m_writeEnds.begin(), m_writeEnds.end(), offset);
  return end == m_writeEnds.end() ? m_stream.size() : *end;
}

int WireLayout::StageHolding(size_t offset) const {
  for (int stage = 0; stage < kCampaignStages; ++stage) {
    if (offset >= m_stageBegin[stage] && offset < m_stageEnd[stage]) return stage;
  }
  return -1;
}

void WireLayout::RepeatRuns(int runs) {
  const Bytes one = m_stream;
  const std::vector<size_t> ends = m_writeEnds;
  for (int run = 1; run < runs; ++run) {
    const size_t base = m_stream.size();
    m_stream.insert(m_stream.end(), one.begin(), one.end());
    for (size_t end : ends) m_writeEnds.push_back(base + end);
  }
}
