// The undo buffer's saved lines in the arena: kept detached while a step
// holds them, given back when the step goes (dropped at the depth, dropped
// as redo steps by a new edit, or emptied), never lost or kept twice.
#include "arena.h"
#include "editor_harness.h"
#include "instance.h"
#include "keyboard.h"
#include "line_index.h"

#include <random>
#include <string>

using editor_test::Editor;
using editor_test::kCtrl;
using editor_test::key;
using editor_test::NotifyWindow;
using editor_test::type;

namespace {

long usedBytes(HWND hwnd) {
  long used = 0;
  for (int s = 0; s < tivra::kSegmentCount; ++s) {
    const tivra::SegmentEntry& entry = tivra::segmentEntry(s);
    if (entry.owner == tivra::ownerKey(hwnd) && entry.freeInfo != 1) used += tivra::kSegmentCapacity - entry.freeInfo;
  }
  return used;
}

long chainBytes(tivra::LineHandle first) {
  long bytes = 0;
  for (tivra::LineHandle h = first; h; h = tivra::nodeNext(h))
    bytes += tivra::nodeSizeFor(static_cast<size_t>(tivra::nodeLength(h)));
  return bytes;
}

// Every used byte of the window's segments belongs to a line of the text
// or to the saved lines of an undo step.
::testing::AssertionResult accountedFor(HWND hwnd) {
  const tivra::Instance* inst = tivra::instanceOf(hwnd);
  if (std::string problem = tivra::checkSegments(hwnd); !problem.empty())
    return ::testing::AssertionFailure() << problem;
  if (std::string problem = tivra::checkLineIndex(*inst); !problem.empty())
    return ::testing::AssertionFailure() << "line index: " << problem;
  long expected = chainBytes(inst->text.firstLine);
  for (int i = 0; i < inst->undoTotal; ++i) expected += chainBytes(inst->undoSteps[i].savedLines);
  const long used = usedBytes(hwnd);
  if (used == expected) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << used << " bytes used, " << expected << " held by the text and the undo steps";
}

TEST(EditorUndoStore, SavedLinesAreHeldWhileNeededAndGivenBackAfter) {
  NotifyWindow parent;
  Editor e(parent);
  e.setOptions(TivraOption::DefaultSelection, true);
  std::string text;
  for (int i = 0; i < 40; ++i) text += "linje " + std::to_string(i) + " med lidt tekst\r\n";
  e.setText(text);
  ASSERT_TRUE(accountedFor(e.hwnd()));
  std::mt19937 random(909);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  for (int step = 0; step < 1500; ++step) {
    const long lines = e.lineCount();
    const long line = 1 + pick(static_cast<int>(lines));
    const auto column = static_cast<SHORT>(pick(static_cast<int>(e.send(EM_LINELENGTH, 0, line)) + 1));
    switch (pick(9)) {
      case 0:
        e.select(line, column, line, column);
        type(e, "xy");
        break;
      case 1:
        e.select(line, column, line, column);
        type(e, "\r");
        break;
      case 2:
        e.select(line, column, line, column);
        type(e, "\b");
        break;
      case 3:
        e.select(line, 0, std::min(lines, line + pick(4)), 0);
        key(e, VK_DELETE);
        break;
      case 4:
        e.select(line, column, line, column);
        key(e, 'Y', kCtrl);
        break;
      case 5:
        e.select(line, column, line, column);
        e.replace("ny\r\ntekst\r\n");
        break;
      case 6:
        e.send(EM_UNDO, 0);
        break;
      case 7:
        e.send(EM_UNDO, 1);
        break;
      default:
        // Now and then a shallow buffer, so that steps fall off the bottom.
        if (pick(20) == 0)
          e.send(TM_SETUNDODEPTH, pick(2) ? 5 : TIVRA_MAX_UNDO);
        else
          e.send(EM_UNDO, 0);
        break;
    }
    e.send(EM_GETLINE, 1, reinterpret_cast<LPARAM>(std::string(TIVRA_LINE_BUFFER + 1, 0).data()));  // stores typing
    ASSERT_TRUE(accountedFor(e.hwnd())) << "after step " << step;
  }
  e.send(EM_EMPTYUNDOBUFFER);
  ASSERT_TRUE(accountedFor(e.hwnd()));
  EXPECT_EQ(tivra::instanceOf(e.hwnd())->undoTotal, 0);
}

}  // namespace
