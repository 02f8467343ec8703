// The HTML code check: counts, it does not parse.
//
// Two passes over a Windows-1252 text. The line pass lists the lines on which
// the number of "<" differs from the number of ">". The pair pass compares, for
// each of forty start texts, how often it occurs with how often its end text
// occurs, ignoring letter case. The report is the Danish text of the message
// box that shows the result; it names the first 100 uneven lines and counts
// the rest.
#pragma once

#include "markup/text_position.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace morvel {

struct CodePair {
  std::string_view start;  // a prefix, matched anywhere
  std::string_view end;
};

// The forty pairs in the order they are checked and reported.
const std::vector<CodePair>& checkedCodePairs();

struct PairImbalance {
  std::size_t pairIndex;       // into checkedCodePairs()
  std::string_view moreOften;  // the text that occurs more often
  std::string_view lessOften;
  std::size_t difference;
};

struct CodeCheckResult {
  std::vector<std::size_t> unevenLines;   // 1-based, ascending
  std::vector<PairImbalance> imbalances;  // in the order of the pairs
  std::string report;

  bool faultFound() const { return !unevenLines.empty() || !imbalances.empty(); }
};

// Lines end at LF, at CR LF, and at a CR not followed by LF, as in the editor.
// A line is balanced as a whole; the lines are numbered as the editor numbers
// them, which holds the pieces of a long line (`continued`) as lines of their
// own.
CodeCheckResult checkHtmlCode(std::string_view text, const ContinuedLines& continued = {});

}  // namespace morvel
