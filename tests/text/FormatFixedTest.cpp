#include "text/FormatFixed.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>

namespace {
constexpr char kGuard = 'G';
constexpr size_t kGuardSize = 16;

// The buffer with guard bytes behind it, and leftovers in it from before.
struct GuardedText {
  FixedText text;
  char guard[kGuardSize];
  GuardedText() {
    std::memset(text, 'x', sizeof text - 1);
    text[sizeof text - 1] = '\0';
    std::memset(guard, kGuard, sizeof guard);
  }
  bool GuardIntact() const {
    for (char c : guard)
      if (c != kGuard) return false;
    return true;
  }
};

struct FormatCase {
  const char* name;
  size_t length;  // of the one %s argument
  int expected;   // FormatFixed's result
};

void PrintTo(const FormatCase& c, std::ostream* out) { *out << c.name; }

class FormatFixedTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatFixedTest, WritesWholeTextsAndNothingThatDoesNotFit) {
  const FormatCase& c = GetParam();
  const std::string argument(c.length, 'a');
  GuardedText buffer;

  EXPECT_EQ(FormatFixed(buffer.text, "%s", argument.c_str()), c.expected);
  EXPECT_EQ(std::string(buffer.text), c.expected < 0 ? std::string() : argument);
  EXPECT_TRUE(buffer.GuardIntact());
}

INSTANTIATE_TEST_SUITE_P(Cases, FormatFixedTest,
                         ::testing::Values(FormatCase{"Empty", 0, 0}, FormatCase{"Short", 16, 16},
                                           FormatCase{"Exactly259", 259, 259},
                                           FormatCase{"Exactly260", 260, -1},
                                           FormatCase{"FarTooLong", 5000, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FormatFixed, FormatsLikePrintf) {
  FixedText text;
  EXPECT_EQ(FormatFixed(text, "%s%s%s", "C:", "\\Quelvo\\", "lang.ini"), 18);
  EXPECT_STREQ(text, "C:\\Quelvo\\lang.ini");
  EXPECT_EQ(FormatFixed(text, "%.0f%%", 37.0), 3);
  EXPECT_STREQ(text, "37%");
}
}  // namespace
