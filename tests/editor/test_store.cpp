// The text store under the window: random edits through the window's
// messages compared with a simple model (a vector of strings), with the
// arena's and the window's structures checked after every step; and the
// arena's allocation rules (compaction, new segments, separate windows).
#include "arena.h"
#include "editor_harness.h"
#include "instance.h"
#include "line_index.h"
#include "text_store.h"

#include <algorithm>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

using editor_test::Editor;
using editor_test::NotifyWindow;
using editor_test::range;

namespace {

constexpr size_t kCut = 8193;

// ---------------------------------------------------------------------------
// The model

struct Pos {
  long line;  // 1-based
  int column;
};

// What the text becomes when `inserted` goes between `prefix` and `suffix`
// (the insertion line's characters before and after the column), and where
// the inserted text ends: line ends are LF, CR LF and CR; runs longer than
// 8193 characters are cut into lines of 8193 that go on in the next line, a
// full line only when more of it follows; the last line goes on as the
// insertion line did (`lastContinues`).
struct Split {
  std::vector<std::string> lines;
  std::vector<bool> continues;
  Pos end;  // relative: line 0 is the insertion line
};

Split splitInsertion(const std::string& prefix, const std::string& inserted, const std::string& suffix,
                     bool lastContinues) {
  const std::string all = prefix + inserted + suffix;
  const size_t endAt = prefix.size() + inserted.size();
  Split s;
  std::string current;
  for (size_t i = 0; i <= all.size(); ++i) {
    if (i == endAt) s.end = Pos{static_cast<long>(s.lines.size()), static_cast<int>(current.size())};
    if (i == all.size()) break;
    const char c = all[i];
    if (c == '\r' || c == '\n') {
      s.lines.push_back(current);
      s.continues.push_back(false);
      current.clear();
      if (c == '\r' && i + 1 < all.size() && all[i + 1] == '\n' && i + 1 != endAt) ++i;
      continue;
    }
    if (current.size() == kCut) {
      s.lines.push_back(current);
      s.continues.push_back(true);
      current.clear();
    }
    current += c;
  }
  s.lines.push_back(current);
  s.continues.push_back(lastContinues);
  return s;
}

struct Model {
  std::vector<std::string> lines{""};
  std::vector<bool> continues{false};  // the line goes on in the next, with no line end between
  Pos anchor{1, 0};
  Pos caret{1, 0};
  std::vector<long> bookmarks;  // line of bookmark i

  std::string text() const {
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) {
      out += lines[i];
      if (i + 1 < lines.size() && !continues[i]) out += "\r\n";
    }
    return out;
  }
  Pos clamp(long line, int column) const {
    if (line <= 0) return Pos{1, 0};
    if (line > static_cast<long>(lines.size()))
      return Pos{static_cast<long>(lines.size()), static_cast<int>(lines.back().size())};
    return Pos{line, std::clamp<int>(column, 0, static_cast<int>(lines[line - 1].size()))};
  }
  static bool before(Pos a, Pos b) { return a.line < b.line || (a.line == b.line && a.column < b.column); }

  void setText(const std::string& t) {
    const Split split = splitInsertion("", t, "", false);
    lines = split.lines;
    continues = split.continues;
    anchor = caret = Pos{1, 0};
    for (long& b : bookmarks) b = 1;
  }

  // Returns false when the window must refuse (the join would be too long).
  bool replace(const std::string& inserted, bool defaultSelection) {
    Pos s = anchor, e = caret;
    if (before(e, s)) std::swap(s, e);
    const std::string prefix = lines[s.line - 1].substr(0, s.column);
    const std::string suffix = lines[e.line - 1].substr(e.column);
    if (s.line != e.line && prefix.size() + suffix.size() > 8192) return false;
    if (s.line == e.line && s.column == e.column && inserted.empty()) return true;
    // Deletion: the joined line stands for the start line, or for the end
    // line when the start line goes from its first column; a bookmark on a
    // line after that one (the end line only when none of its text is
    // left) goes to the line that follows the range, or to the joined line
    // when there is none.
    const long removed = e.line - s.line;
    const long standsFor = s.column > 0 ? s.line : e.line;
    const bool following = e.line < static_cast<long>(lines.size());
    for (long& b : bookmarks) {
      if (b > e.line) {
        b -= removed;
      } else if (b >= s.line) {
        const bool deleted = b > standsFor && !(b == e.line && !suffix.empty());
        b = deleted && following ? s.line + 1 : s.line;
      }
    }
    const bool endContinues = continues[static_cast<size_t>(e.line - 1)];
    const Split split = inserted.empty() ? Split{{prefix + suffix}, {endContinues}, Pos{0, s.column}}
                                         : splitInsertion(prefix, inserted, suffix, endContinues);
    const long added = static_cast<long>(split.lines.size()) - 1;
    for (long& b : bookmarks) {
      if (b > s.line) b += added;
    }
    lines.erase(lines.begin() + (s.line - 1), lines.begin() + e.line);
    lines.insert(lines.begin() + (s.line - 1), split.lines.begin(), split.lines.end());
    continues.erase(continues.begin() + (s.line - 1), continues.begin() + e.line);
    continues.insert(continues.begin() + (s.line - 1), split.continues.begin(), split.continues.end());
    const Pos end{s.line + split.end.line, split.end.column};
    caret = end;
    anchor = defaultSelection ? end : s;
    return true;
  }
};

// ---------------------------------------------------------------------------
// Checks of the window's structures

std::string checkWindow(HWND hwnd) {
  const tivra::Instance* inst = tivra::instanceOf(hwnd);
  if (!inst) return "no instance";
  if (std::string problem = tivra::checkSegments(hwnd); !problem.empty()) return problem;
  const uint32_t owner = tivra::ownerKey(hwnd);
  auto owned = [&](tivra::LineHandle h) {
    return h != 0 && tivra::segmentEntry(tivra::segmentOfHandle(h)).owner == owner;
  };
  std::vector<tivra::LineHandle> byNumber{0};
  tivra::LineHandle previous = 0;
  for (tivra::LineHandle h = inst->text.firstLine; h; h = tivra::nodeNext(h)) {
    if (!owned(h)) return "line " + std::to_string(byNumber.size()) + " is in a segment the window does not own";
    if (tivra::nodePrev(h) != previous) return "broken back link at line " + std::to_string(byNumber.size());
    if (tivra::nodeLength(h) > static_cast<int>(kCut)) return "line longer than 8193";
    byNumber.push_back(h);
    previous = h;
    if (byNumber.size() > 10'000'000) return "line list loops";
  }
  if (previous != inst->text.lastLine) return "last line handle is not the last line";
  if (static_cast<long>(byNumber.size()) - 1 != inst->text.lineCount) return "line count differs from the list";
  if (std::string problem = tivra::checkLineIndex(*inst); !problem.empty()) return "line index: " + problem;
  auto checkRef = [&](const tivra::LineRef& r, const char* what) -> std::string {
    if (r.line < 1 || r.line > inst->text.lineCount || byNumber[static_cast<size_t>(r.line)] != r.handle)
      return std::string(what) + " does not name its line";
    return {};
  };
  for (auto [ref, what] : {std::pair{&inst->text.caret, "caret"}, std::pair{&inst->text.anchor, "anchor"},
                           std::pair{&inst->text.firstVisible, "first visible line"}}) {
    if (std::string p = checkRef(*ref, what); !p.empty()) return p;
  }
  for (int i = 0; i <= inst->bookmarkHigh; ++i) {
    if (std::string p = checkRef(inst->bookmarks[i].at, "a bookmark"); !p.empty()) return p;
  }
  std::vector<tivra::LineHandle> held(byNumber.begin() + 1, byNumber.end());
  for (int i = 0; i < inst->undoTotal; ++i) {
    tivra::LineHandle prev = 0;
    for (tivra::LineHandle h = inst->undoSteps[i].savedLines; h; h = tivra::nodeNext(h)) {
      if (!owned(h)) return "saved lines of an undo step outside the window's segments";
      if (tivra::nodePrev(h) != prev) return "broken link in saved lines";
      held.push_back(h);
      prev = h;
    }
  }
  // A piece marked as going on is a node the window holds, never one freed
  // (a new line in its place would go on too).
  if (!inst->text.continued.empty()) {
    std::sort(held.begin(), held.end());
    for (tivra::LineHandle h : inst->text.continued) {
      if (!std::binary_search(held.begin(), held.end(), h))
        return "a freed node is marked as going on in the next line";
    }
  }
  if (inst->text.lastLine && tivra::continues(*inst, inst->text.lastLine)) return "the last line goes on";
  return {};
}

class RandomEdits : public ::testing::Test {
 protected:
  void SetUp() override { parent_.answers[TN_MAXTEXT] = 1; }

  // A text made of random pieces: letters, line ends of every kind,
  // sometimes a long run without line ends.
  std::string randomText(std::mt19937& rng, size_t longRun) {
    static const char* const pieces[] = {"a", "xyz", "\r", "\n", "\r\n", "lorem ipsum", "\t<b>", "\r\r\n\n", ""};
    std::string out;
    const int count = std::uniform_int_distribution<int>(0, 12)(rng);
    for (int i = 0; i < count; ++i) {
      if (longRun && std::uniform_int_distribution<int>(0, 15)(rng) == 0)
        out += std::string(std::uniform_int_distribution<size_t>(1, longRun)(rng), 'L');
      else
        out += pieces[std::uniform_int_distribution<size_t>(0, std::size(pieces) - 1)(rng)];
    }
    return out;
  }

  Pos randomPos(std::mt19937& rng, const Model& m) {
    const long line = std::uniform_int_distribution<long>(-1, static_cast<long>(m.lines.size()) + 1)(rng);
    const int longest =
        line >= 1 && line <= static_cast<long>(m.lines.size()) ? static_cast<int>(m.lines[line - 1].size()) : 10;
    return Pos{line, std::uniform_int_distribution<int>(-2, longest + 2)(rng)};
  }

  // A position a few lines and columns away, so that texts can grow.
  Pos nearby(std::mt19937& rng, const Model& m, Pos from) {
    const long delta =
        std::uniform_int_distribution<int>(0, 6)(rng) == 0 ? std::uniform_int_distribution<long>(-1, 1)(rng) : 0;
    const long line = std::clamp<long>(from.line + delta, 1, static_cast<long>(m.lines.size()));
    return Pos{line, from.column + std::uniform_int_distribution<int>(-20, 20)(rng)};
  }

  void expectSame(const Editor& e, const Model& m, int step, std::mt19937& rng, bool sampleLines) {
    ASSERT_EQ(checkWindow(e.hwnd()), "") << "step " << step;
    ASSERT_EQ(e.lineCount(), static_cast<long>(m.lines.size())) << "step " << step;
    const long count = e.lineCount();
    auto expectLength = [&](long n) {
      ASSERT_EQ(e.send(EM_LINELENGTH, 0, n), static_cast<LRESULT>(m.lines[n - 1].size()))
          << "step " << step << " line " << n;
    };
    if (sampleLines) {
      for (int i = 0; i < 20; ++i) expectLength(std::uniform_int_distribution<long>(1, count)(rng));
      expectLength(count);
    } else {
      for (long n = 1; n <= count; ++n) expectLength(n);
    }
    ASSERT_TRUE(editor_test::sameText(e.text(), m.text())) << "step " << step;
    ASSERT_EQ(e.selection(), range(m.anchor.line, static_cast<SHORT>(m.anchor.column), m.caret.line,
                                   static_cast<SHORT>(m.caret.column)))
        << "step " << step;
    for (size_t i = 0; i < m.bookmarks.size(); ++i)
      ASSERT_EQ(e.send(TM_GETBOOKMARK, i), m.bookmarks[i]) << "step " << step << " bookmark " << i;
  }

  // Runs `steps` random edits: mostly selections replaced by random texts,
  // sometimes a deletion, a whole new text, a new bookmark or the other
  // selection option. Most selections are short, so that the text grows;
  // large runs grow it to hundreds of kilobytes.
  void run(unsigned seed, int steps, size_t longRun, int undoDepth) {
    std::mt19937 rng(seed);
    const bool large = longRun > 0;
    Editor e(parent_);
    Model m;
    m.bookmarks.assign(16, 1);
    e.send(TM_SETUNDODEPTH, static_cast<WPARAM>(undoDepth));
    bool defaultSelection = false;
    int mostSegments = 0;
    for (int step = 0; step < steps; ++step) {
      const int what = std::uniform_int_distribution<int>(0, 99)(rng);
      if (what < 1 && (!large || step % 4 == 0)) {
        const std::string t = randomText(rng, longRun);
        ASSERT_EQ(e.setText(t), 0);
        m.setText(t);
      } else if (what < 6) {
        const WPARAM index = std::uniform_int_distribution<WPARAM>(0, 15)(rng);
        const long line = std::uniform_int_distribution<long>(1, static_cast<long>(m.lines.size()))(rng);
        ASSERT_EQ(e.send(TM_SETBOOKMARK, index, line), 0);
        m.bookmarks[index] = line;
      } else if (what < 8) {
        defaultSelection = !defaultSelection;
        e.setOptions(TivraOption::DefaultSelection, defaultSelection);
      } else {
        const Pos a = randomPos(rng, m);
        const bool wide = std::uniform_int_distribution<int>(0, 99)(rng) < (large ? 1 : 8);
        const Pos c = wide ? randomPos(rng, m) : nearby(rng, m, m.clamp(a.line, a.column));
        e.select(a.line, static_cast<SHORT>(a.column), c.line, static_cast<SHORT>(c.column));
        m.anchor = m.clamp(a.line, a.column);
        m.caret = m.clamp(c.line, c.column);
        const bool deletion = what < 15;
        const std::string t = deletion ? std::string() : randomText(rng, longRun);
        const bool accepted = m.replace(t, defaultSelection);
        const LRESULT result = deletion ? e.send(WM_CLEAR) : e.replace(t);
        ASSERT_EQ(result, accepted ? 0 : -1) << "step " << step;
      }
      expectSame(e, m, step, rng, large);
      mostSegments = std::max(mostSegments, tivra::ownedSegmentCount(e.hwnd()));
    }
    if (large) {
      EXPECT_GT(mostSegments, 4) << "the text outgrew a few segments";
    }
  }

  NotifyWindow parent_;
};

TEST_F(RandomEdits, SmallTextsFollowTheModel) {
  for (unsigned seed = 1; seed <= 4; ++seed) run(seed, 2000, 0, 909);
}

TEST_F(RandomEdits, LongRunsAndFewUndoStepsForceNewSegmentsAndCompaction) {
  const int before = tivra::compactionCount();
  run(11, 800, 20000, 2);
  run(12, 800, 9000, 1);
  EXPECT_GT(tivra::compactionCount(), before) << "the run exercised compaction";
}

// ---------------------------------------------------------------------------
// The caret line buffer

// The window's segments, in table order.
std::vector<int> segmentsOf(HWND hwnd) {
  std::vector<int> out;
  for (int s = 0; s < tivra::kSegmentCount; ++s) {
    const tivra::SegmentEntry& entry = tivra::segmentEntry(s);
    if (entry.owner == tivra::ownerKey(hwnd) && entry.freeInfo != 1) out.push_back(s);
  }
  return out;
}

std::string numberedLines(int count, size_t width) {
  std::string out;
  for (int i = 1; i <= count; ++i) {
    std::string n = std::to_string(i);
    out += n + std::string(width - n.size(), '.') + "\r\n";
  }
  return out;
}

// What typing does: the caret line changes in the line buffer only.
void typeIntoCaretLine(HWND hwnd, const std::string& text) {
  tivra::Instance* inst = tivra::instanceOf(hwnd);
  std::memcpy(inst->lineBuffer.text, text.c_str(), text.size() + 1);
  inst->lineBuffer.length = static_cast<int>(text.size());
  inst->lineBuffer.edited = true;
}

TEST(LineBuffer, AnEditedCaretLineIsStoredWhenTheTextIsReadAndKeptForUndo) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("first\r\nsecond\r\nthird");
  e.select(2, 3, 2, 3);
  tivra::Instance* inst = tivra::instanceOf(e.hwnd());
  e.send(EM_SETMODIFY, 0, 5);

  typeIntoCaretLine(e.hwnd(), "sec-ond");
  EXPECT_EQ(e.send(EM_GETMODIFY, 5), 1) << "the buffer differs from the stored line";
  EXPECT_EQ(e.send(EM_CANUNDO, 0), 1);
  EXPECT_EQ(e.send(EM_CANUNDO, 1), 0);
  EXPECT_EQ(inst->undoTotal, 0);

  EXPECT_EQ(e.line(2), "sec-ond") << "reading stores the buffer first";
  ASSERT_EQ(inst->undoTotal, 1);
  EXPECT_EQ(inst->undoSteps[0].kind, tivra::kUndoLineReplaced);
  EXPECT_EQ(inst->undoSteps[0].line, 2);
  EXPECT_STREQ(tivra::nodeText(inst->undoSteps[0].savedLines), "second");
  EXPECT_EQ(checkWindow(e.hwnd()), "");
  e.send(EM_SETMODIFY, 0, 5);
  EXPECT_EQ(e.send(EM_GETMODIFY, 5), 0);

  // A buffer that was touched but holds the stored text is no change.
  typeIntoCaretLine(e.hwnd(), "sec-ond");
  EXPECT_TRUE(editor_test::sameText(e.text(), "first\r\nsec-ond\r\nthird"));
  EXPECT_EQ(inst->undoTotal, 1);
  EXPECT_EQ(e.send(EM_GETMODIFY, 5), 0);
}

TEST(LineBuffer, AnEditedLineThatFindsNoRoomIsReportedAndReloaded) {
  NotifyWindow parent;
  parent.answers[TN_ERRSPACE] = 1;
  Editor a(parent, 0, "", 1);
  a.setText(numberedLines(640, 90));  // one segment, about 1500 bytes left
  ASSERT_EQ(segmentsOf(a.hwnd()).size(), 1u);
  // Another window takes every other segment: 65 lines of 998 characters
  // fill one.
  Editor b(parent, 0, "", 2);
  ASSERT_EQ(b.setText(numberedLines((tivra::kSegmentCount - 1) * 65 - 5, 998)), 0);
  ASSERT_EQ(segmentsOf(a.hwnd()).size() + segmentsOf(b.hwnd()).size(), static_cast<size_t>(tivra::kSegmentCount));

  a.select(7, 0, 7, 0);
  const std::string before = a.line(7);
  typeIntoCaretLine(a.hwnd(), std::string(8000, 't'));
  parent.seen.clear();
  EXPECT_EQ(a.line(7), before);
  EXPECT_EQ(parent.count(TN_ERRSPACE), 1);
  EXPECT_FALSE(tivra::lineBufferDiffers(*tivra::instanceOf(a.hwnd()))) << "the buffer holds the stored line again";
  EXPECT_EQ(tivra::instanceOf(a.hwnd())->undoTotal, 0);
  EXPECT_EQ(checkWindow(a.hwnd()), "");

  b.send(WM_CLEAR, 1);
  typeIntoCaretLine(a.hwnd(), std::string(8000, 't'));
  EXPECT_EQ(a.line(7), std::string(8000, 't'));
  EXPECT_EQ(checkWindow(a.hwnd()), "");
}

// Many short lines and edits that insert and remove whole blocks of them
// anywhere, undone now and then: every line found by number is the line
// the model has there, and the index agrees with a walk along the list.
TEST(LineIndex, LinesByNumberFollowBlockEditsAnywhereInALongText) {
  NotifyWindow parent;
  Editor e(parent);
  std::mt19937 rng(2101);
  auto pick = [&](long from, long to) { return std::uniform_int_distribution<long>(from, to)(rng); };
  auto block = [&](long lines) {
    std::string out;
    for (long i = 0; i < lines; ++i) out += "ny " + std::to_string(pick(0, 99999)) + "\r\n";
    return out;
  };
  Model m;
  const std::string start = numberedLines(20000, 12);
  ASSERT_EQ(e.setText(start), 0);
  m.setText(start);
  // The text before each edit, and the undo steps the edit recorded.
  std::vector<std::pair<Model, int>> undoable;
  for (int step = 0; step < 400; ++step) {
    const int what = static_cast<int>(pick(0, 9));
    if (what == 0 && !undoable.empty()) {
      for (int i = 0; i < undoable.back().second; ++i) ASSERT_EQ(e.send(EM_UNDO, 0), 0) << "step " << step;
      m = undoable.back().first;
      undoable.pop_back();
    } else {
      // Whole lines removed (what < 5) or a column within one line;
      // blocks of lines inserted (what >= 3).
      const long count = static_cast<long>(m.lines.size());
      const long first = pick(1, count);
      const long last = what < 5 ? std::min(count, first + pick(0, 300)) : first;
      const int column = what < 5 ? 0 : 3;
      const std::string inserted = what < 3 ? std::string() : block(pick(1, 120));
      e.select(first, 0, last, static_cast<SHORT>(column));
      m.anchor = m.clamp(first, 0);
      m.caret = m.clamp(last, column);
      const bool removes = Model::before(m.anchor, m.caret);
      undoable.emplace_back(m, (removes ? 1 : 0) + (inserted.empty() ? 0 : 1));
      ASSERT_TRUE(m.replace(inserted, false));
      ASSERT_EQ(e.replace(inserted), 0) << "step " << step;
    }
    ASSERT_EQ(checkWindow(e.hwnd()), "") << "step " << step;
    ASSERT_EQ(e.lineCount(), static_cast<long>(m.lines.size())) << "step " << step;
    for (int i = 0; i < 40; ++i) {
      const long n = pick(1, static_cast<long>(m.lines.size()));
      ASSERT_EQ(e.line(n), m.lines[static_cast<size_t>(n - 1)]) << "step " << step << " line " << n;
    }
  }
}

// ---------------------------------------------------------------------------
// Allocation rules

// Empties every other line from `from` to `to`: each line gets a small new
// node and its old one, once its undo step is dropped, leaves a hole
// between lines that stay.
void emptyEveryOtherLine(const Editor& e, long from, long to) {
  for (long n = from; n <= to; n += 2) {
    e.select(n, 0, n, static_cast<SHORT>(e.line(n).size()));
    ASSERT_EQ(e.send(WM_CLEAR), 0);
  }
}

size_t offsetOfLine(const std::string& text, long line) {
  size_t at = 0;
  for (long n = 1; n < line; ++n) at = text.find("\r\n", at) + 2;
  return at;
}

TEST(ArenaRules, AFragmentedSegmentIsCompactedAndEveryHandleFollows) {
  NotifyWindow parent;
  Editor e(parent);
  // 600 lines of 90 characters: nodes of 100 bytes fill most of one segment.
  e.setText(numberedLines(600, 90));
  ASSERT_EQ(segmentsOf(e.hwnd()).size(), 1u);
  e.send(TM_SETBOOKMARK, 0, 590);
  e.send(TM_SETBOOKMARK, 1, 3);
  e.send(TM_SETUNDODEPTH, 2);  // older steps give their saved lines back
  emptyEveryOtherLine(e, 21, 599);
  const long lines = e.lineCount();
  const std::string text = e.text();
  tivra::Instance* inst = tivra::instanceOf(e.hwnd());
  ASSERT_EQ(inst->undoTotal, 2);
  const std::string savedBefore = tivra::nodeText(inst->undoSteps[1].savedLines);
  ASSERT_EQ(savedBefore.substr(0, 4), "599.");
  const std::string bookmarked = e.line(590);

  // A line longer than any free block but shorter than all free bytes.
  const tivra::SegmentEntry& entry = tivra::segmentEntry(segmentsOf(e.hwnd())[0]);
  const size_t longLine = entry.largest + 200;
  ASSERT_LT(longLine, 8193u);
  ASSERT_LT(longLine + 10, entry.freeInfo);
  const int compactions = tivra::compactionCount();
  e.select(5, 0, 5, 0);
  ASSERT_EQ(e.replace(std::string(longLine, 'L')), 0);
  EXPECT_EQ(tivra::compactionCount(), compactions + 1);
  EXPECT_EQ(segmentsOf(e.hwnd()).size(), 1u) << "compacted instead of taking a new segment";
  EXPECT_EQ(checkWindow(e.hwnd()), "");

  EXPECT_EQ(e.lineCount(), lines);
  std::string expected = text;
  expected.insert(offsetOfLine(text, 5), std::string(longLine, 'L'));
  EXPECT_TRUE(editor_test::sameText(e.text(), expected));
  EXPECT_EQ(e.send(TM_GETBOOKMARK, 0), 590);
  EXPECT_EQ(e.line(590), bookmarked);
  EXPECT_EQ(e.send(TM_GETBOOKMARK, 1), 3);
  EXPECT_EQ(e.selection(), range(5, 0, 5, static_cast<SHORT>(longLine)));
  // The older step still holds the emptied line's old node, wherever it moved.
  ASSERT_EQ(inst->undoTotal, 2);
  EXPECT_EQ(tivra::nodeText(inst->undoSteps[0].savedLines), savedBefore);
}

TEST(ArenaRules, LittleScatteredSpaceMeansANewSegmentRatherThanCompaction) {
  NotifyWindow parent;
  Editor e(parent);
  // 610 lines of 94 characters (nodes of 104 bytes) nearly fill a segment.
  e.setText(numberedLines(610, 94));
  ASSERT_EQ(segmentsOf(e.hwnd()).size(), 1u);
  e.send(TM_SETUNDODEPTH, 1);
  emptyEveryOtherLine(e, 11, 29);
  const tivra::SegmentEntry& entry = tivra::segmentEntry(segmentsOf(e.hwnd())[0]);
  const size_t length = entry.largest + 4;
  ASSERT_LE(length + 10, entry.freeInfo) << "compaction could make room";
  ASSERT_LT(entry.freeInfo, 4096) << "but the free space is not worth it";
  const int compactions = tivra::compactionCount();
  e.select(1, 0, 1, 0);
  ASSERT_EQ(e.replace(std::string(length, 'n')), 0);
  EXPECT_EQ(tivra::compactionCount(), compactions);
  EXPECT_EQ(segmentsOf(e.hwnd()).size(), 2u);
  EXPECT_EQ(checkWindow(e.hwnd()), "");
}

TEST(ArenaRules, WindowsNeverShareASegmentAndFreeTheirsWhenDone) {
  NotifyWindow parent;
  auto a = std::make_unique<Editor>(parent, 0, "", 1);
  Editor b(parent, 0, "", 2);
  for (int i = 0; i < 40; ++i) {
    for (Editor* e : {a.get(), &b}) {
      const long last = e->lineCount();
      e->select(last, 0, last, 0);
      ASSERT_EQ(e->replace(numberedLines(20, 300)), 0);
    }
  }
  const std::vector<int> segA = segmentsOf(a->hwnd());
  const std::vector<int> segB = segmentsOf(b.hwnd());
  EXPECT_GT(segA.size(), 3u);
  EXPECT_GT(segB.size(), 3u);
  std::set<int> all(segA.begin(), segA.end());
  all.insert(segB.begin(), segB.end());
  EXPECT_EQ(all.size(), segA.size() + segB.size()) << "no segment has two owners";
  EXPECT_EQ(checkWindow(a->hwnd()), "");
  EXPECT_EQ(checkWindow(b.hwnd()), "");

  // Clearing keeps the first segment only; destroying gives back all.
  const HWND hwndA = a->hwnd();
  a->send(WM_CLEAR, 1);
  EXPECT_EQ(segmentsOf(hwndA), std::vector<int>{segA.front()});
  a.reset();
  EXPECT_TRUE(segmentsOf(hwndA).empty());
  for (int s : segA) EXPECT_EQ(tivra::segmentEntry(s).freeInfo, 1) << "segment " << s << " is marked free";
  EXPECT_EQ(checkWindow(b.hwnd()), "");
}

}  // namespace
