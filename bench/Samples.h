#pragma once
// A set of measurements of one quantity, summarised as the bench reports it:
// median, extremes and percentiles.
#include <cstddef>
#include <vector>

class Samples {
 public:
  void Add(double value) { m_values.push_back(value); }
  void AddAll(const Samples& other);
  bool Empty() const { return m_values.empty(); }
  size_t Count() const { return m_values.size(); }

  double Median() const { return Percentile(kMedian); }
  double Min() const;
  double Max() const;
  // Nearest-rank percentile, `fraction` in [0, 1]; 0 when empty.
  double Percentile(double fraction) const;

  static constexpr double kMedian = 0.5;

 private:
  std::vector<double> m_values;
};
