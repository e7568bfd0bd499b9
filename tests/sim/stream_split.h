#pragma once
// Splitting what a simulator sent into its records (EM38, CR-terminated) or complete lines (as the program's
// own line assembler sees them).
#include <string>
#include <vector>

#include "gps/line_assembler.h"

namespace obrix::test {

// The CR-terminated records of `bytes`; bytes after the last CR are left out (see *rest).
inline std::vector<std::string> SplitCrRecords(const std::string& bytes, size_t* rest = nullptr) {
  std::vector<std::string> out;
  size_t from = 0, cr;
  while ((cr = bytes.find('\r', from)) != std::string::npos) {
    out.push_back(bytes.substr(from, cr - from));
    from = cr + 1;
  }
  if (rest) *rest = bytes.size() - from;
  return out;
}

inline std::vector<std::string> AssembleNmeaLines(const std::string& bytes) {
  NmeaLineAssembler a;
  std::vector<std::string> lines;
  for (unsigned char b : bytes)
    if (a.Feed(b) == NmeaLineAssembler::Event::LineComplete) lines.emplace_back(a.line());
  return lines;
}

}  // namespace obrix::test
