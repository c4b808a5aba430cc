// Looks texts up in the lang.ini beside this program, one buffer for every
// lookup as the dialog has, and writes each text on a line of its own to the
// output file; a last line gives what the first lookup's pointer shows at the
// end.
//   LangProbe.exe <output file> <section> <key> [<section> <key>]...
#include <fstream>

#include "text/LangText.h"

namespace {
constexpr int kFirstPair = 2;
constexpr int kUsageError = 2;
constexpr int kOutputError = 3;
}  // namespace

int main(int argc, char** argv) {
  if (argc < kFirstPair + 2 || (argc - kFirstPair) % 2 != 0) return kUsageError;
  std::ofstream out(argv[1], std::ios::binary);
  if (!out) return kOutputError;

  FixedText text = "";
  const char* first = nullptr;
  for (int i = kFirstPair; i + 1 < argc; i += 2) {
    const char* result = LookUpLangText(argv[i], argv[i + 1], text);
    if (!first) first = result;
    out << result << '\n';
  }
  out << first << '\n';
  return out ? 0 : kOutputError;
}
