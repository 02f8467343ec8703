// The limits of the text store seen through the window: an exhausted arena,
// over-long lines, and windows that share the arena.
#include "editor_harness.h"
#include "scripted_responder.h"

#include <memory>
#include <string>

using editor_test::Editor;
using editor_test::NotifyWindow;
using editor_test::range;

namespace {

const QString kCaption = QStringLiteral("Tivra V2.09 (32-bit)");

// About `megabytes` MB of lines of 998 characters.
std::string bigText(int megabytes, char c) {
  const std::string line = std::string(998, c) + "\r\n";
  std::string out;
  out.reserve(static_cast<size_t>(megabytes) << 20);
  while (out.size() + line.size() <= (static_cast<size_t>(megabytes) << 20)) out += line;
  return out;
}

TEST(EditorLimits, AnExhaustedArenaIsReportedAndBothWindowsGoOn) {
  NotifyWindow parent;
  Editor a(parent, 0, "", 1);
  Editor b(parent, 0, "", 2);
  const std::string forty = bigText(40, 'a');
  ASSERT_EQ(a.setText(forty), 0);

  {
    testing_support::ScriptedResponder responder;
    responder.answer(IDOK);
    parent.seen.clear();
    EXPECT_EQ(b.setText(forty), -1);
    ASSERT_EQ(parent.count(TN_ERRSPACE), 1);
    EXPECT_EQ(parent.seen.back().editor, b.hwnd());
    EXPECT_EQ(parent.seen.back().id, 2);
    ASSERT_EQ(responder.seen().size(), 1u);
    EXPECT_EQ(responder.last().caption, kCaption);
    EXPECT_EQ(responder.last().text, QStringLiteral("Ikke mere hukommelse"));
    EXPECT_EQ(responder.last().flags & MB_ICONMASK, MB_ICONSTOP);
  }
  // The failed window holds a consistent (empty) text; the other is whole
  // and can still grow into the space the failed attempt took.
  EXPECT_EQ(b.lineCount(), 1);
  EXPECT_TRUE(editor_test::sameText(b.text(), ""));
  EXPECT_TRUE(editor_test::sameText(a.text(), forty));
  const std::string more = bigText(5, 'm');
  a.select(a.lineCount(), 0, a.lineCount(), 0);
  ASSERT_EQ(a.replace(more), 0);
  EXPECT_EQ(a.send(WM_GETTEXTLENGTH, 1), static_cast<LRESULT>(forty.size() + more.size()));
  ASSERT_EQ(a.setText(forty), 0);

  // A text that fits still goes in; a replacement that does not leaves the
  // text and the selection as they were. A nonzero answer silences the box.
  const std::string twenty = bigText(20, 'b');
  ASSERT_EQ(b.setText(twenty), 0);
  b.select(5, 3, 9, 2);
  parent.answers[TN_ERRSPACE] = 1;
  EXPECT_EQ(b.replace(bigText(10, 'c')), -1);
  EXPECT_TRUE(editor_test::sameText(b.text(), twenty));
  EXPECT_EQ(b.selection(), range(5, 3, 9, 2));

  // Clearing one window gives its segments back.
  EXPECT_EQ(a.send(WM_CLEAR, 1), 0);
  EXPECT_EQ(b.setText(forty), 0);
  EXPECT_EQ(b.send(WM_GETTEXTLENGTH, 1), static_cast<LRESULT>(forty.size()));
  EXPECT_EQ(a.setText("small again"), 0);
  EXPECT_TRUE(editor_test::sameText(a.text(), "small again"));
}

TEST(EditorLimits, JoiningLinesBeyond8192CharactersIsRefused) {
  NotifyWindow parent;
  Editor e(parent);
  const std::string text = std::string(5000, 'a') + "\r\n" + std::string(5000, 'b');
  e.setText(text);
  {
    testing_support::ScriptedResponder responder;
    responder.answer(IDOK);
    responder.answer(IDOK);
    e.select(1, 4000, 2, 500);  // 4000 + 4500 characters would remain on one line
    EXPECT_EQ(e.replace("x"), -1);
    parent.answers[TN_MAXTEXT] = 2;  // only 1 silences the box
    EXPECT_EQ(e.send(WM_CLEAR), -1);
    ASSERT_EQ(responder.seen().size(), 2u);
    EXPECT_EQ(responder.last().caption, kCaption);
    EXPECT_EQ(responder.last().text, QString::fromUtf8("Maksimumlinelængden er overskredet"));
    EXPECT_EQ(responder.last().flags & MB_ICONMASK, MB_ICONSTOP);
  }
  EXPECT_EQ(parent.count(TN_MAXTEXT), 2);
  parent.answers[TN_MAXTEXT] = 1;
  EXPECT_EQ(e.replace("x"), -1);
  EXPECT_TRUE(editor_test::sameText(e.text(), text));
  EXPECT_EQ(e.selection(), range(1, 4000, 2, 500));

  e.select(1, 4000, 2, 908);  // 4000 + 4092 = 8092
  EXPECT_EQ(e.replace(""), 0);
  EXPECT_EQ(e.lineCount(), 1);
  EXPECT_EQ(e.send(EM_LINELENGTH, 0, 1), 8092);
}

TEST(EditorLimits, WindowsGrowingSideBySideKeepTheirOwnTexts) {
  NotifyWindow parent;
  auto a = std::make_unique<Editor>(parent, 0, "", 1);
  Editor b(parent, 0, "", 2);
  std::string expectA, expectB;
  for (int i = 0; i < 300; ++i) {
    const std::string lineA = std::string(200 + i % 50, 'a') + std::to_string(i) + "\r\n";
    const std::string lineB = std::string(300 + i % 70, 'b') + std::to_string(i) + "\r\n";
    for (auto [e, line, expect] : {std::tuple{a.get(), &lineA, &expectA}, std::tuple{&b, &lineB, &expectB}}) {
      const long last = e->lineCount();
      e->select(last, 0, last, 0);
      ASSERT_EQ(e->replace(*line), 0);
      *expect += *line;
    }
  }
  EXPECT_TRUE(editor_test::sameText(a->text(), expectA));
  EXPECT_TRUE(editor_test::sameText(b.text(), expectB));
  a.reset();
  EXPECT_TRUE(editor_test::sameText(b.text(), expectB));
  Editor c(parent, 0, "", 3);
  c.setText(std::string(100000, 'c'));
  EXPECT_TRUE(editor_test::sameText(b.text(), expectB));
}

}  // namespace
