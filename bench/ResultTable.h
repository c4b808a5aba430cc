#pragma once
// The bench's results: one row per measure, shown as a Markdown table under
// a line that names the machine.
#include <string>
#include <vector>

#include "bench/Samples.h"

struct ResultRow {
  std::string figure;
  std::string measure;
  std::string median;
  std::string min;
  std::string max;
  std::string goal;  // empty: none
};

class ResultTable {
 public:
  void SetMachine(const std::string& machine) { m_machine = machine; }
  void Add(const ResultRow& row) { m_rows.push_back(row); }
  // A row from samples scaled by `scale` and shown with `decimals`.
  void Add(const std::string& figure, const std::string& measure, const Samples& samples,
           double scale, int decimals, const std::string& goal = std::string());

  std::string Markdown() const;
  bool Write(const std::string& path) const;

 private:
  std::string m_machine;
  std::vector<ResultRow> m_rows;
};

// `value` with `decimals` digits after the point.
std::string Fixed(double value, int decimals);
