// The commands on a page through a small host of their own, without the
// main window: they change the active page only, ask about it by the name
// the host gives it, and show their progress where the host says.
#include "../dialogs/fake_host.h"

#include "commands/code_commands.h"
#include "commands/code_insertion.h"
#include "commands/entity_commands.h"
#include "commands/markup_commands.h"
#include "scripted_responder.h"

#include <gtest/gtest.h>

namespace {

using dialog_test::FakeHost;
using testing_support::ScriptedResponder;

TEST(CommandsOnAHost, MarkupAndEntityCommandsChangeTheActivePageOnly) {
  FakeHost host;
  TTivra& other = host.addPage("<b>andet</b>");
  TTivra& page = host.addPage("bl\xE5 bog");
  morvel::select(page, {1, 4}, {1, 7});
  morvel::MarkupCommands(host).run(morvel::MarkupCommand::Bold);
  EXPECT_EQ(page.TextBytes(), "bl\xE5 <B>bog</B>");

  morvel::EntityCommands(host).encodeActiveDocument();
  EXPECT_EQ(page.TextBytes(), "bl&aring; <B>bog</B>");
  ASSERT_FALSE(host.progress.empty());
  EXPECT_EQ(host.progress.front(), 0);
  EXPECT_EQ(host.progress.back(), -1);
  EXPECT_EQ(other.TextBytes(), "<b>andet</b>");

  // A document the host names, active or not.
  morvel::CodeCommands(host).convertCodesToUpperCase(0);
  EXPECT_EQ(other.TextBytes(), "<B>andet</B>");
  EXPECT_EQ(page.TextBytes(), "bl&aring; <B>bog</B>");
}

TEST(CommandsOnAHost, TheUpdateDateAsksByTheHostsNameForThePage) {
  FakeHost host;
  host.changeableSettings().dateFormat = QStringLiteral("yyyy");
  host.addPage("<HTML><BODY>x</BODY></HTML>");
  TTivra& page = host.addPage("<HTML><BODY>y</BODY></HTML>");
  ScriptedResponder responder;
  responder.answer(IDNO);
  morvel::MarkupCommands(host).updateAutomaticDate(1, true, true);
  EXPECT_NE(responder.last().text.indexOf(QStringLiteral("Nyt dokument 2")), -1) << responder.last().text.toStdString();
  // Refused: the page says so, and is not asked about again.
  const std::string refused = page.TextBytes();
  EXPECT_NE(refused, "<HTML><BODY>y</BODY></HTML>");
  morvel::MarkupCommands(host).updateAutomaticDate(1, true, true);
  EXPECT_EQ(page.TextBytes(), refused);
  EXPECT_EQ(responder.seen().size(), 1u);
}

}  // namespace
