// The line states that colouring keeps per line, checked from inside: after
// random edits the remembered start state of every line must equal what a
// scan of the text from line 1 gives, and the quick state scan must agree
// with the tokenizer on any line.
#include "editor_harness.h"
#include "instance.h"
#include "syntax.h"
#include "text_store.h"

#include <random>
#include <string>
#include <vector>

using editor_test::Editor;
using editor_test::NotifyWindow;

namespace {

const std::vector<WORD> kPageSyntax = {0x2222, 0x0101, 0x0101, 0x003E, 0x003C, 0x0101, 0x0101, 0x002F};

// The program's syntax as a plain automaton: outside the codes ("comment")
// until "<", inside until ">" or a quote, in a string until a quote that is
// not doubled; a string ends with its line.
std::vector<WORD> modelStartStates(const std::vector<std::string>& lines) {
  std::vector<WORD> states;
  WORD state = tivra::kStateComment;
  for (const std::string& line : lines) {
    states.push_back(state);
    for (size_t i = 0; i < line.size(); ++i) {
      const char c = line[i];
      if (state == tivra::kStateComment) {
        if (c == '<') state = tivra::kStateNormal;
      } else if (state == tivra::kStateNormal) {
        if (c == '>')
          state = tivra::kStateComment;
        else if (c == '"')
          state = tivra::kStateString;
      } else if (c == '"') {
        if (i + 1 < line.size() && line[i + 1] == '"')
          ++i;
        else
          state = tivra::kStateNormal;
      }
    }
    if (state == tivra::kStateString) state = tivra::kStateNormal;
  }
  return states;
}

std::string randomText(std::mt19937& random, int maxLength) {
  static const char kAlphabet[] = "<>\"/ab \r\n";
  std::uniform_int_distribution<int> length(0, maxLength);
  std::uniform_int_distribution<size_t> pick(0, sizeof kAlphabet - 2);
  std::string s;
  for (int n = length(random); n > 0; --n) s += kAlphabet[pick(random)];
  return s;
}

TEST(DisplayLineStates, RememberedStatesFollowRandomEdits) {
  NotifyWindow parent;
  Editor e(parent);
  e.send(TM_SETSYNTAX, kPageSyntax.size(), reinterpret_cast<LPARAM>(kPageSyntax.data()));
  e.setOptions(TivraOption::StartInComments | TivraOption::MultiLineItems, true);
  tivra::Instance& inst = *tivra::instanceOf(e.hwnd());
  std::mt19937 random(1234);
  std::string start;
  for (int i = 0; i < 200; ++i) start += randomText(random, 12) + "\r\n";
  e.setText(start);

  for (int step = 0; step < 400; ++step) {
    // Replace a random range by random text (line ends included).
    const long count = e.lineCount();
    std::uniform_int_distribution<long> anyLine(1, count);
    const long a = anyLine(random);
    const long b = std::min<long>(count, a + std::uniform_int_distribution<long>(0, 3)(random));
    const auto column = [&](long line) {
      return static_cast<SHORT>(std::uniform_int_distribution<int>(0, static_cast<int>(e.line(line).size()))(random));
    };
    const SHORT from = column(a);
    SHORT to = column(b);
    if (a == b && to < from) to = from;
    e.select(a, from, b, to);
    e.replace(randomText(random, 20));

    // Ask for the states of a few lines, as painting a screen would, so
    // that the remembered part grows and shrinks in every way.
    const std::vector<std::string> lines = e.lines();
    const std::vector<WORD> expected = modelStartStates(lines);
    std::uniform_int_distribution<long> probe(1, static_cast<long>(lines.size()));
    for (int k = 0; k < 3; ++k) {
      const long n = probe(random);
      ASSERT_EQ(tivra::lineStartState(inst, n, tivra::lineFromNumber(inst, n)), expected[static_cast<size_t>(n - 1)])
          << "line " << n << " after step " << step;
    }
  }
  // And every line at the end.
  const std::vector<WORD> expected = modelStartStates(e.lines());
  for (long n = e.lineCount(); n >= 1; --n)
    ASSERT_EQ(tivra::lineStartState(inst, n, tivra::lineFromNumber(inst, n)), expected[static_cast<size_t>(n - 1)])
        << n;
}

TEST(DisplayLineStates, QuickScanAgreesWithTheTokenizer) {
  NotifyWindow parent;
  Editor e(parent);
  tivra::Instance& inst = *tivra::instanceOf(e.hwnd());
  // The built-in table with an escape that is not the delimiter, and a
  // table with extra comments and item 2 as a comment marker.
  const std::vector<WORD> extra = {0x2222, 0x0023, 0x2F2F, 0x2A2F, 0x2F2A, 0x7B7B, 0x7D7D, 0x002F, 0x203E};
  std::mt19937 random(99);
  static const char kAlphabet[] = "/*\"\\{}#> a";
  std::uniform_int_distribution<size_t> pick(0, sizeof kAlphabet - 2);
  const WORD states[] = {tivra::kStateNormal, tivra::kStateString, tivra::kStateComment, tivra::kStateExtraComment};
  for (int table = 0; table < 2; ++table) {
    if (table == 0)
      e.send(TM_SETSYNTAX, 0, 0);
    else
      e.send(TM_SETSYNTAX, extra.size() | (3 << 8), reinterpret_cast<LPARAM>(extra.data()));
    for (int i = 0; i < 3000; ++i) {
      std::string line;
      for (int n = std::uniform_int_distribution<int>(0, 16)(random); n > 0; --n) line += kAlphabet[pick(random)];
      for (WORD state : states) {
        tivra::LineTokenizer tokens(inst, line, state);
        int last = -1;
        for (tivra::Token t = tokens.next(); t.cls != tivra::TokenClass::EndOfLine; t = tokens.next()) {
          ASSERT_GT(t.length, 0) << line;
          ASSERT_GE(t.column, last) << line;
          last = t.column + t.length;
        }
        ASSERT_EQ(tivra::scanLineState(inst, line, state), tokens.state())
            << "table " << table << " line \"" << line << "\"";
      }
    }
  }
}

}  // namespace
