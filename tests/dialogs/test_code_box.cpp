// The code box: its table of codes, the user's own codes in the store, and
// the box beside a real main window, inserting codes and keeping the user's.
#include "dialog_run.h"

#include "dialogs/code_box.h"
#include "dialogs/code_box_codes.h"
#include "dialogs/user_codes.h"
#include "registry.h"
#include "settings/settings_store.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

using dialog_test::control;
using morvel::CodeBoxInsertion;
using morvel::UserCode;

// ---------------------------------------------------------------------------
// The table

TEST(CodeTable, TheBuiltInRowsEndWithTheHeadingOfTheUserCodes) {
  const auto rows = morvel::builtInCodeRows();
  ASSERT_EQ(rows.size(), 69u);
  EXPECT_EQ(rows[0].start, "Startkode/1. kode");
  EXPECT_EQ(rows[46].description, "Tabel");
  EXPECT_EQ(rows[11].description, "Font - fed fremhævning");
  EXPECT_EQ(rows[32].start,
            "<MARQUEE ALIGN=\"\" HEIGHT=\"\" WIDTH=\"\" DIRECTION=\"\" SCROLLAMOUNT=\"\" BEHAVIOR=\"\" "
            "SCROLLDELAY=\"\" HSPACE=\"\" VSPACE=\"\" LOOP=\"\">");
  // Attribute codes end in a blank, so the next attribute can follow.
  EXPECT_EQ(rows[8].start, "BGCOLOR=\"\" ");
  EXPECT_EQ(rows[8].end, "BORDERCOLOR=\"\" ");
  EXPECT_EQ(rows[52].description, "SPECIALTEGN:");
  EXPECT_EQ(rows[57].description, "æ / Æ");
  EXPECT_EQ(rows[67].end, "&Atilde;");
  EXPECT_EQ(rows[68].description, "BRUGERKODER:");
  // Every row but the headings has a code to insert.
  for (int r = 0; r < 69; ++r) {
    if (morvel::isHeadingRow(r)) continue;
    EXPECT_FALSE(rows[static_cast<std::size_t>(r)].start.empty()) << r;
  }
}

TEST(CodeTable, ACellReplacesTheSelectionAndADescriptionWrapsIt) {
  const auto row = [](int r) {
    const morvel::BuiltInCodeRow& b = morvel::builtInCodeRows()[static_cast<std::size_t>(r)];
    return UserCode{std::string(b.description), std::string(b.start), std::string(b.end)};
  };
  const CodeBoxInsertion table = morvel::insertionOf(46, 0, row(46));
  EXPECT_EQ(table.kind, CodeBoxInsertion::Wrap);
  EXPECT_EQ(table.start, "<TABLE>");
  EXPECT_EQ(table.end, "</TABLE>");
  const CodeBoxInsertion ae = morvel::insertionOf(57, 1, row(57));
  EXPECT_EQ(ae.kind, CodeBoxInsertion::Replace);
  EXPECT_EQ(ae.start, "&aelig;");
  EXPECT_EQ(morvel::insertionOf(57, 2, row(57)).start, "&AElig;");
  // A start code alone still goes before the selection.
  const CodeBoxInsertion alt = morvel::insertionOf(3, 0, row(3));
  EXPECT_EQ(alt.kind, CodeBoxInsertion::Wrap);
  EXPECT_EQ(alt.end, "");
  // An empty cell and the headings insert nothing, so a selection is kept.
  EXPECT_EQ(morvel::insertionOf(56, 2, row(56)).kind, CodeBoxInsertion::Nothing);
  EXPECT_EQ(morvel::insertionOf(52, 1, row(52)).kind, CodeBoxInsertion::Nothing);
  EXPECT_EQ(morvel::insertionOf(68, 0, row(68)).kind, CodeBoxInsertion::Nothing);
  EXPECT_EQ(morvel::insertionOf(0, 1, row(0)).kind, CodeBoxInsertion::Nothing);
}

TEST(CodeTable, TheUserCodesAsAList) {
  const std::vector<UserCode> three{{"A", "<a>", "</a>"}, {"B", "<b>", ""}, {"C", "", "</c>"}};
  EXPECT_EQ(morvel::withoutUserCode(three, 2), (std::vector<UserCode>{three[0], three[2]}));
  EXPECT_EQ(morvel::withoutUserCode(three, 4), three);
  EXPECT_EQ(morvel::withUserCodesSwapped(three, 2), (std::vector<UserCode>{three[0], three[2], three[1]}));
  EXPECT_EQ(morvel::withUserCodesSwapped(three, 3), three);
  EXPECT_EQ(morvel::userCodesJumpRow(0), 68);
  EXPECT_EQ(morvel::userCodesJumpRow(3), 69);
}

// ---------------------------------------------------------------------------
// The store

class UserCodeStore : public ::testing::Test {
 protected:
  void writeThree() {
    morvel::writeUserCode(store, 1, {"Citat", "<BLOCKQUOTE>", "</BLOCKQUOTE>"});
    morvel::writeUserCode(store, 2, {"Blød bindestreg", "&shy;", ""});
    morvel::writeUserCode(store, 3, {"Lille", "<SMALL>", "</SMALL>"});
  }
  std::string value(int n, char part) {
    return store.ReadString(morvel::settings::kKoder, morvel::settings::userCode(n, part), "-");
  }

  QTemporaryDir dir;
  morvel::RegIniFile store{dir.filePath(QStringLiteral("Morvel.ini")).toStdString()};
};

TEST_F(UserCodeStore, TheListEndsAtTheFirstCodeWithoutADescription) {
  writeThree();
  morvel::writeUserCode(store, 5, {"Væk", "<X>", ""});
  EXPECT_EQ(morvel::readUserCodes(store).size(), 3u);
  EXPECT_EQ(morvel::readUserCodes(store)[1], (UserCode{"Blød bindestreg", "&shy;", ""}));
  EXPECT_EQ(morvel::firstFreeUserCode(store), 4);
  store.WriteString("KODER", "kode2A", "");
  EXPECT_EQ(morvel::firstFreeUserCode(store), 2);
}

TEST_F(UserCodeStore, DeletingCodeTwoOfThreeMovesTheThirdUp) {
  writeThree();
  morvel::deleteUserCode(store, 2);
  EXPECT_EQ(value(1, 'a'), "Citat");
  EXPECT_EQ(value(2, 'a'), "Lille");
  EXPECT_EQ(value(2, 'b'), "<SMALL>");
  EXPECT_EQ(value(2, 'c'), "</SMALL>");
  for (const char part : {'a', 'b', 'c'}) EXPECT_FALSE(store.ValueExists("Koder", "Kode3" + std::string(1, part)));
  // Deleting the last and a number that is not there.
  morvel::deleteUserCode(store, 2);
  morvel::deleteUserCode(store, 7);
  EXPECT_EQ(morvel::readUserCodes(store), (std::vector<UserCode>{{"Citat", "<BLOCKQUOTE>", "</BLOCKQUOTE>"}}));
}

TEST_F(UserCodeStore, SwappingChangesTwoNeighboursOnly) {
  writeThree();
  morvel::swapUserCodes(store, 2);
  const std::vector<UserCode> codes = morvel::readUserCodes(store);
  ASSERT_EQ(codes.size(), 3u);
  EXPECT_EQ(codes[0].description, "Citat");
  EXPECT_EQ(codes[1].description, "Lille");
  EXPECT_EQ(codes[2].description, "Blød bindestreg");
  morvel::swapUserCodes(store, 3);  // no fourth to change with
  EXPECT_EQ(morvel::readUserCodes(store), codes);
}

// ---------------------------------------------------------------------------
// The box beside the main window

class CodeBox : public dialog_test::DialogRun {
 protected:
  TKodeboks& box() {
    if (!k().command(QStringLiteral("codeBox"))->isChecked()) k().command(QStringLiteral("codeBox"))->trigger();
    return k().elementDialogs().codeBox();
  }
  void insert(int row, int column) {
    box().selectCell(row, column);
    box().cmdOK->click();
  }
  void writeCodes(std::initializer_list<UserCode> codes) {
    int n = 1;
    for (const UserCode& code : codes) morvel::writeUserCode(run.store(), n++, code);
  }
  // Fills the user code window and presses its OK.
  void fillNextCode(const QString& description, const QString& start, const QString& end) {
    confirmNextForm([=](QDialog& form) {
      dialog_test::setField(form, "txt1", description);
      dialog_test::setField(form, "txt2", start);
      dialog_test::setField(form, "txt3", end);
    });
  }
  QAction* command(const char* name) { return k().command(QString::fromLatin1(name)); }
};

TEST_F(CodeBox, ADescriptionWrapsTheSelectionAndACodeCellReplacesIt) {
  setPage("en |valgt| tekst");
  insert(46, 0);
  EXPECT_EQ(page(), "en <TABLE>valgt</TABLE> tekst");
  EXPECT_EQ(e().SelTextBytes(), "valgt");
  insert(57, 1);
  EXPECT_EQ(page(), "en <TABLE>&aelig;</TABLE> tekst");
  // An empty cell and a heading leave the page and its selection alone.
  setPage("en |valgt| tekst");
  insert(56, 2);
  insert(52, 1);
  EXPECT_EQ(page(), "en valgt tekst");
  EXPECT_EQ(e().SelTextBytes(), "valgt");
  // Enter in the grid inserts too.
  box().selectCell(10, 0);
  QTest::keyClick(box().StringGrid1, Qt::Key_Return);
  EXPECT_EQ(page(), "en <B>valgt</B> tekst");
  EXPECT_TRUE(box().isVisible());
}

TEST_F(CodeBox, TheToggleShowsTheBoxAndClosingReleasesIt) {
  QAction* toggle = command("codeBox");
  QAction* button = command("codeBoxButton");
  EXPECT_TRUE(toggle->isEnabled());
  button->trigger();
  TKodeboks& shown = k().elementDialogs().codeBox();
  EXPECT_TRUE(shown.isVisible());
  EXPECT_TRUE(toggle->isChecked());
  EXPECT_TRUE(button->isChecked());
  EXPECT_EQ(shown.windowTitle(), "HTML-kodeboks");
  EXPECT_TRUE(shown.windowFlags() & Qt::WindowStaysOnTopHint);
  toggle->trigger();
  EXPECT_FALSE(shown.isVisible());
  EXPECT_FALSE(button->isChecked());

  // Closed from the box itself: with its button, and by a double-click,
  // which inserts first.
  toggle->trigger();
  shown.cmdLuk->click();
  EXPECT_FALSE(shown.isVisible());
  EXPECT_FALSE(toggle->isChecked());
  EXPECT_FALSE(button->isChecked());
  setPage("|");
  toggle->trigger();
  // The box is made once and keeps its place in the grid.
  EXPECT_EQ(&k().elementDialogs().codeBox(), &shown);
  shown.selectCell(13, 0);
  emit shown.StringGrid1->cellDoubleClicked(shown.StringGrid1->currentRow(), 0);
  EXPECT_EQ(page(), "<I></I>");
  EXPECT_FALSE(shown.isVisible());
  EXPECT_FALSE(toggle->isChecked());
  toggle->trigger();
  EXPECT_EQ(shown.Row(), 13);
}

TEST_F(CodeBox, TheJumpsAndTheButtonsOfUserRows) {
  TKodeboks& b = box();
  b.cmdBrugerkoder->click();
  EXPECT_EQ(b.Row(), 68);
  EXPECT_FALSE(b.cmdRediger->isEnabled());
  EXPECT_FALSE(b.cmdSlet->isEnabled());
  EXPECT_TRUE(b.cmdTilfoej->isEnabled());
  b.cmdSpecialtegn->click();
  EXPECT_EQ(b.Row(), 53);
  EXPECT_EQ(b.Col(), 1);

  writeCodes({{"A", "<a>", ""}, {"B", "<b>", ""}});
  run.restart();
  TKodeboks& again = box();
  EXPECT_EQ(again.RowCount(), 71);
  EXPECT_EQ(again.rowCells(70), (UserCode{"B", "<b>", ""}));
  again.cmdBrugerkoder->click();
  EXPECT_EQ(again.Row(), 69);
  EXPECT_TRUE(again.cmdRediger->isEnabled());
  EXPECT_TRUE(again.cmdSlet->isEnabled());
  // The first user code cannot go above the heading, the last not further down.
  EXPECT_FALSE(again.cmdOp->isEnabled());
  EXPECT_TRUE(again.cmdNed->isEnabled());
  again.selectCell(70, 0);
  EXPECT_TRUE(again.cmdOp->isEnabled());
  EXPECT_FALSE(again.cmdNed->isEnabled());
  again.selectCell(40, 0);
  EXPECT_FALSE(again.cmdOp->isEnabled());
  EXPECT_FALSE(again.cmdRediger->isEnabled());
}

TEST_F(CodeBox, AnAddedCodeIsKeptAndInsertedWithControlOne) {
  TKodeboks& b = box();
  // A code needs a description, or it would end the list in the store.
  responder.answer([](platform::Request& r) {
    EXPECT_EQ(r.caption, "Tilføj HTML-kode");
    dialog_test::setField(*r.form, "txt2", QStringLiteral("<SMALL>"));
    r.form->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    EXPECT_NE(r.form->result(), QDialog::Accepted);
    r.form->findChild<QPushButton*>(QStringLiteral("cmdAnnuller"))->click();
    return r.form->result();
  });
  responder.answer(IDOK);
  b.cmdTilfoej->click();
  EXPECT_EQ(responder.seen()[1].text, "Du skal angive en beskrivelse af koden.");
  EXPECT_EQ(b.RowCount(), 69);
  EXPECT_FALSE(run.store().ValueExists("Koder", "Kode1a"));

  fillNextCode(QStringLiteral("Lille skrift"), QStringLiteral("<SMALL>"), QStringLiteral("</SMALL>"));
  b.cmdTilfoej->click();
  EXPECT_EQ(b.RowCount(), 70);
  EXPECT_EQ(b.rowCells(69), (UserCode{"Lille skrift", "<SMALL>", "</SMALL>"}));
  // The user codes are in view, as far as the grid can scroll.
  const QRect newRow = b.StringGrid1->visualItemRect(b.StringGrid1->item(69 - 1, 0));
  EXPECT_TRUE(b.StringGrid1->viewport()->rect().contains(newRow)) << b.TopRow();
  EXPECT_LE(b.TopRow(), 68);
  // On disk at once, without the main window closing.
  morvel::RegIniFile disk(run.storeFile().toStdString());
  EXPECT_EQ(morvel::readUserCodes(disk), (std::vector<UserCode>{{"Lille skrift", "<SMALL>", "</SMALL>"}}));

  b.cmdLuk->click();
  setPage("et |ord| her");
  k().show();
  k().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&k()));
  QWidget* keys = e().focusProxy() ? e().focusProxy() : &e();
  QTest::keyClick(keys, Qt::Key_1, Qt::ControlModifier);
  EXPECT_EQ(page(), "et <SMALL>ord</SMALL> her");
  EXPECT_EQ(command("mnuB1")->text(), "Lille skrift");
}

TEST_F(CodeBox, EditingAUserCodeChangesItsRowAndItsNumber) {
  writeCodes({{"A", "<a>", "</a>"}, {"B", "<b>", "</b>"}});
  TKodeboks& b = box();
  b.selectCell(70, 1);
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Rediger HTML-kode");
    EXPECT_EQ(dialog_test::field(form, "txt1"), "B");
    EXPECT_EQ(dialog_test::field(form, "txt3"), "</b>");
    dialog_test::setField(form, "txt1", QStringLiteral("Bø"));
    dialog_test::setField(form, "txt2", QStringLiteral("<BIG>"));
  });
  b.cmdRediger->click();
  EXPECT_EQ(b.rowCells(70), (UserCode{"Bø", "<BIG>", "</b>"}));
  EXPECT_EQ(morvel::readUserCodes(run.store())[1], (UserCode{"Bø", "<BIG>", "</b>"}));
  EXPECT_EQ(morvel::readUserCodes(run.store())[0].description, "A");
  // A cancelled window changes nothing.
  cancelNextForm([](QDialog& form) { dialog_test::setField(form, "txt1", QStringLiteral("Væk")); });
  b.cmdRediger->click();
  EXPECT_EQ(b.rowCells(70).description, "Bø");
}

TEST_F(CodeBox, DeletingUserCodeTwoOfThreeRenumbersStoreGridAndMenu) {
  writeCodes({{"A", "<a>", ""}, {"B", "<b>", ""}, {"C", "<c>", ""}});
  TKodeboks& b = box();
  b.selectCell(70, 0);
  responder.answer(IDNO);
  b.cmdSlet->click();
  EXPECT_EQ(responder.last().text, "Ønsker du at slette B?");
  EXPECT_EQ(responder.last().caption, "Slet brugerkode");
  EXPECT_EQ(responder.last().flags, static_cast<UINT>(MB_YESNO | MB_ICONWARNING));
  EXPECT_EQ(b.RowCount(), 72);

  responder.answer(IDYES);
  b.cmdSlet->click();
  EXPECT_EQ(b.RowCount(), 71);
  EXPECT_EQ(b.rowCells(69).description, "A");
  EXPECT_EQ(b.rowCells(70).description, "C");
  EXPECT_EQ(morvel::readUserCodes(run.store()), (std::vector<UserCode>{{"A", "<a>", ""}, {"C", "<c>", ""}}));
  EXPECT_FALSE(run.store().ValueExists("Koder", "Kode3a"));
  EXPECT_EQ(command("mnuB2")->text(), "C");
  EXPECT_FALSE(command("mnuB3")->isVisible());
}

TEST_F(CodeBox, MovingAUserCodeSwapsItInStoreAndGridAndKeepsItSelected) {
  writeCodes({{"A", "<a>", ""}, {"B", "<b>", ""}, {"C", "<c>", ""}});
  TKodeboks& b = box();
  b.selectCell(71, 2);
  b.cmdOp->click();
  EXPECT_EQ(b.Row(), 70);
  EXPECT_EQ(b.Col(), 2);
  EXPECT_EQ(b.rowCells(70).description, "C");
  b.cmdOp->click();
  EXPECT_EQ(b.Row(), 69);
  EXPECT_FALSE(b.cmdOp->isEnabled());
  b.cmdOp->click();  // nowhere to go
  EXPECT_EQ(b.Row(), 69);
  b.cmdNed->click();
  std::vector<std::string> order;
  for (const UserCode& c : morvel::readUserCodes(run.store())) order.push_back(c.description);
  EXPECT_EQ(order, (std::vector<std::string>{"A", "C", "B"}));
  EXPECT_EQ(b.rowCells(69).description, "A");
  EXPECT_EQ(b.rowCells(70).description, "C");
  EXPECT_EQ(command("mnuB2")->text(), "C");
}

TEST_F(CodeBox, TheHelpLineFollowsTheMouse) {
  TKodeboks& b = box();
  b.resize(700, 500);
  QWidget* grid = b.StringGrid1->viewport();
  const auto moveTo = [&](int column) {
    const int x = b.StringGrid1->columnViewportPosition(column) + 5;
    QMouseEvent move(QEvent::MouseMove, QPointF(x, 5), grid->mapToGlobal(QPointF(x, 5)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(grid, &move);
    return b.lblHjaelp->text();
  };
  EXPECT_TRUE(moveTo(0).startsWith("Dobbeltklik her for at indsætte start- og slutkode"));
  EXPECT_EQ(moveTo(1), "Dobbeltklik her for at indsætte startkoden og lukke HTML-kodeboksen.");
  EXPECT_EQ(moveTo(2), "Dobbeltklik her for at indsætte slutkoden og lukke HTML-kodeboksen.");
  QEvent enter(QEvent::Enter);
  QCoreApplication::sendEvent(b.cmdSlet, &enter);
  EXPECT_EQ(b.lblHjaelp->text(), "Klik her for at slette den markerede kode. Kun brugerkoder kan slettes.");
  QCoreApplication::sendEvent(b.cmdNed, &enter);
  EXPECT_TRUE(b.lblHjaelp->text().endsWith("får genvejstasterne Ctrl+1 til Ctrl+9."));
}

}  // namespace
