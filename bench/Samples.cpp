#include "bench/Samples.h"

#include <algorithm>
#include <cmath>

void Samples::AddAll(const Samples& other) {
  m_values.insert(m_values.end(), other.m_values.begin(), other.m_values.end());
}

double Samples::Min() const {
  return Empty() ? 0 : *std::min_element(m_values.begin(), m_values.end());
}

double Samples::Max() const {
  return Empty() ? 0 : *std::max_element(m_values.begin(), m_values.end());
}

double Samples::Percentile(double fraction) const {
  if (Empty()) return 0;
  std::vector<double> sorted = m_values;
  std::sort(sorted.begin(), sorted.end());
  if (fraction == kMedian && sorted.size() % 2 == 0) {
    const size_t upper = sorted.size() / 2;
    return (sorted[upper - 1] + sorted[upper]) / 2;
  }
  size_t rank = static_cast<size_t>(std::ceil(fraction * static_cast<double>(sorted.size())));
  if (rank == 0) rank = 1;
  return sorted[std::min(rank, sorted.size()) - 1];
}
