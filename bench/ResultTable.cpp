#include "bench/ResultTable.h"

#include <cstdio>

namespace {
constexpr size_t kNumberText = 64;
}  // namespace

std::string Fixed(double value, int decimals) {
  char text[kNumberText];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

void ResultTable::Add(const std::string& figure, const std::string& measure, const Samples& samples,
                      double scale, int decimals, const std::string& goal) {
  Add(ResultRow{figure, measure, Fixed(samples.Median() * scale, decimals),
                Fixed(samples.Min() * scale, decimals), Fixed(samples.Max() * scale, decimals),
                goal});
}

std::string ResultTable::Markdown() const {
  std::string text = "Measured on: " + m_machine + "\n\n";
  text += "| figure | measure | median | min | max | goal |\n";
  text += "|---|---|--:|--:|--:|---|\n";
  for (const ResultRow& row : m_rows) {
    text += "| " + row.figure + " | " + row.measure + " | " + row.median + " | " + row.min + " | " +
            row.max + " | " + row.goal + " |\n";
  }
  return text;
}

bool ResultTable::Write(const std::string& path) const {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const std::string text = Markdown();
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}
