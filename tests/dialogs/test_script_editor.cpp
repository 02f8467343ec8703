// The script editor: its tree of JavaScript names, the colours of a script,
// the <SCRIPT> element it writes and reads back, script files, and the
// open-window dialog; driven beside a real main window.
#include "dialog_run.h"

#include "commands/code_insertion.h"
#include "common_dialogs.h"
#include "controls/status_bar.h"
#include "dialogs/browser_window_dialog.h"
#include "dialogs/script_codes.h"
#include "dialogs/script_editor.h"
#include "registry.h"
#include "settings/settings_store.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QSplitter>
#include <QTest>
#include <QTreeWidget>

#include <functional>

namespace {

using dialog_test::control;
using dialog_test::field;
using dialog_test::setField;
using morvel::ScriptNode;
using morvel::ScriptNodeKind;

const ScriptNode* child(const std::vector<ScriptNode>& nodes, std::string_view text) {
  for (const ScriptNode& n : nodes)
    if (n.text == text) return &n;
  return nullptr;
}

int countNodes(const std::vector<ScriptNode>& nodes) {
  int count = 0;
  for (const ScriptNode& n : nodes) count += 1 + countNodes(n.children);
  return count;
}

// ---------------------------------------------------------------------------
// The tree and the codes

TEST(ScriptTree, TheObjectsAndTheirMembersAsUsersOfTheTreeKnowThem) {
  const std::vector<ScriptNode>& tree = morvel::scriptObjectTree();
  std::vector<std::string> top;
  for (const ScriptNode& n : tree) top.push_back(n.text);
  EXPECT_EQ(top, (std::vector<std::string>{"window", "navigator", "Date", "Math", "Tekststreng", "Reserverede ord"}));
  // 25 objects with 279 members between them.
  EXPECT_EQ(countNodes(tree), 304);

  const ScriptNode* form = child(child(child(tree, "window")->children, "document")->children, "form");
  ASSERT_NE(form, nullptr);
  const ScriptNode* select = child(form->children, "select");
  ASSERT_NE(select, nullptr);
  EXPECT_EQ(select->children.size(), 9u);
  EXPECT_EQ(child(select->children, "focus()")->kind, ScriptNodeKind::Method);
  EXPECT_EQ(child(select->children, "selectedIndex")->kind, ScriptNodeKind::Property);
  EXPECT_NE(child(child(tree, "window")->children, "prompt(\"\", \"\")"), nullptr);
  EXPECT_NE(child(child(tree, "navigator")->children, "plugin"), nullptr);
  // The odd spellings stay.
  EXPECT_NE(child(child(tree, "navigator")->children, "appname"), nullptr);
  EXPECT_NE(child(child(tree, "Date")->children, "setdate()"), nullptr);
  EXPECT_NE(child(child(tree, "Math")->children, "SGRT2"), nullptr);
  EXPECT_NE(child(child(tree, "Math")->children, "sgrt()"), nullptr);
  EXPECT_EQ(child(child(tree, "Tekststreng")->children, "small")->kind, ScriptNodeKind::Property);
  const ScriptNode* reserved = child(tree, "Reserverede ord");
  EXPECT_EQ(reserved->children.size(), 53u);
  EXPECT_EQ(reserved->children.back().kind, ScriptNodeKind::ReservedWord);
}

TEST(ScriptTree, ANameGoesInWithItsObjectExceptAReservedWord) {
  EXPECT_EQ(morvel::scriptInsertionText("document", "write()"), "document.write()");
  EXPECT_EQ(morvel::scriptInsertionText("Math", "PI"), "Math.PI");
  EXPECT_EQ(morvel::scriptInsertionText("Reserverede ord", "while"), "while");
}

TEST(ScriptCodes, ReservedWordsAreRedInJavaScriptAndAllIsBlackInOtherLanguages) {
  EXPECT_EQ(morvel::reservedScriptWords().size(), 53u);
  EXPECT_TRUE(morvel::isReservedScriptWord("While"));
  EXPECT_FALSE(morvel::isReservedScriptWord("whilst"));
  EXPECT_TRUE(morvel::isJavaScript("javascript"));
  EXPECT_FALSE(morvel::isJavaScript("JavaScript1.2"));
  const auto colour = [](bool js, unsigned type, long value, std::string_view word) {
    return morvel::scriptTokenColours(js, type, value, word).text;
  };
  const morvel::ColorValue red = morvel::colorFromRgb(255, 0, 0);
  const morvel::ColorValue grey = morvel::colorFromRgb(128, 128, 128);
  EXPECT_EQ(colour(true, 0x0001, 0, "FUNCTION"), red);
  EXPECT_EQ(colour(true, 0x0001, 0, "alert"), grey);
  EXPECT_EQ(colour(true, 0x8000, MAKELONG(3, 9), "("), grey);
  EXPECT_NE(colour(true, 0x0007, 12, "12"), grey);
  const morvel::ColorValue string = colour(true, 0x2001, MAKELONG(0, 0), "\"tekst\"");
  const morvel::ColorValue comment = colour(true, 0x2001, MAKELONG(0, 1), "// note");
  EXPECT_NE(string, grey);
  EXPECT_NE(comment, grey);
  EXPECT_NE(string, comment);
  for (const unsigned type : {0x0001u, 0x2001u, 0x8000u}) EXPECT_EQ(colour(false, type, 0, "while"), 0u);
  EXPECT_EQ(morvel::scriptTokenColours(true, 1, 0, "x").background, morvel::colorFromRgb(255, 255, 255));
}

TEST(ScriptCodes, AScriptReadFromItsElementIsWrittenBackAsItStood) {
  for (const std::string content :
       {"\r\nalert(\"hej\");\r\n", "\r\nvar a;\r\n\r\nvar b;\r\n\r\n", "\r\n\r\nx\r\n", "\r\n\r\n\r\n"}) {
    EXPECT_EQ(morvel::scriptElement("JavaScript", "", morvel::scriptOfContent(content)),
              "<SCRIPT LANGUAGE=\"JavaScript\">" + content + "</SCRIPT>");
  }
  EXPECT_EQ(morvel::scriptOfContent("\r\nalert(\"hej\");\r\n"), "alert(\"hej\");");
  EXPECT_EQ(morvel::scriptOfContent("\nf();\n"), "f();");
  EXPECT_EQ(morvel::scriptOfContent("f();"), "f();");
  // Attributes the page kept follow the language; without a language there
  // is no empty LANGUAGE attribute.
  EXPECT_EQ(morvel::scriptElement("VBScript", " SRC=\"a.vbs\"", "x"),
            "<SCRIPT LANGUAGE=\"VBScript\" SRC=\"a.vbs\">\r\nx\r\n</SCRIPT>");
  EXPECT_EQ(morvel::scriptElement("", " TYPE=\"text/javascript\"", "x"),
            "<SCRIPT TYPE=\"text/javascript\">\r\nx\r\n</SCRIPT>");
}

TEST(ScriptCodes, TheWindowOpenCallListsTheChosenFeaturesThenHeightAndWidth) {
  morvel::WindowOpenFields f;
  f.address = "http://www.eksempel.dk/";
  EXPECT_EQ(morvel::windowOpenCode(f), "window.open(\"http://www.eksempel.dk/\", \"\", \"\");");
  f.name = "nyt";
  f.features[0] = true;
  f.features[3] = true;
  f.features[7] = true;
  f.width = "300";
  f.height = "200";
  EXPECT_EQ(morvel::windowOpenCode(f),
            "window.open(\"http://www.eksempel.dk/\", \"nyt\", \"location,menubar,toolbar,height=200,width=300\");");
  EXPECT_TRUE(morvel::isFullAddress("HTTP://x"));
  EXPECT_TRUE(morvel::isFullAddress("https://x"));
  EXPECT_FALSE(morvel::isFullAddress("www.x.dk"));
  EXPECT_FALSE(morvel::isFullAddress("http:/x"));
}

// ---------------------------------------------------------------------------
// The window

class ScriptEditor : public dialog_test::DialogRun {
 protected:
  TfrmSkript& s() { return k().elementDialogs().scriptEditor(); }
  TfrmSkript& openNew() {
    k().command(QStringLiteral("scriptEditor"))->trigger();
    return s();
  }
  QAction* command(const char* name) { return s().command(QString::fromLatin1(name)); }
  std::string script() { return s().edSkript->TextBytes(); }
  void type(const std::string& text) { s().edSkript->InsertBytes(text); }
  QTreeWidgetItem* treeItem(const QStringList& path) {
    QTreeWidgetItem* item = nullptr;
    for (const QString& text : path) {
      QTreeWidgetItem* found = nullptr;
      const int count = item ? item->childCount() : s().trwHieraki->topLevelItemCount();
      for (int i = 0; i < count && !found; ++i) {
        QTreeWidgetItem* c = item ? item->child(i) : s().trwHieraki->topLevelItem(i);
        if (c->text(0) == text) found = c;
      }
      EXPECT_NE(found, nullptr) << text.toStdString();
      if (!found) return nullptr;
      item = found;
    }
    return item;
  }
  void pressF4() {
    k().show();
    QWidget* keys = e().focusProxy() ? e().focusProxy() : &e();
    keys->setFocus();
    QTest::keyClick(keys, Qt::Key_F4);
  }
  // The next modal run of the script editor: `look` sees it, then its
  // "&Opdater og luk" runs.
  void updateNextRun(std::function<void(TfrmSkript&)> look = {}) {
    responder.answer([look](platform::Request& r) {
      auto* editor = dynamic_cast<TfrmSkript*>(r.form);
      EXPECT_NE(editor, nullptr);
      if (!editor) return 0;
      if (look) look(*editor);
      editor->command(QStringLiteral("mnuOpdater"))->trigger();
      return editor->result();
    });
  }
  QString userFolder() { return run.dir.filePath(QStringLiteral("Skript")); }
  static QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  static void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
};

TEST_F(ScriptEditor, MadeAtStartAndKeptWithItsTextAndPlace) {
  TfrmSkript* made = k().findChild<TfrmSkript*>();
  ASSERT_NE(made, nullptr);
  EXPECT_FALSE(made->isVisible());
  EXPECT_FALSE(k().command(QStringLiteral("scriptEditor"))->shortcut().isEmpty());
  TfrmSkript& editor = openNew();
  EXPECT_EQ(&editor, made);
  EXPECT_TRUE(editor.isVisible());
  EXPECT_FALSE(editor.isModal());
  EXPECT_EQ(editor.windowTitle(), "Skripteditor - Nyt skript");
  EXPECT_EQ(editor.cmbSkript->currentText(), "JavaScript");
  EXPECT_EQ(editor.geometry().size(), QSize(600, 450));
  type("var a = 1;");
  editor.move(40, 60);
  editor.resize(640, 480);
  editor.Splitter1->setSizes({150, 490});
  command("mnuLuk")->trigger();
  EXPECT_FALSE(editor.isVisible());
  EXPECT_EQ(run.store().ReadInteger("Skript", "Bredde", 0), 640);
  EXPECT_EQ(run.store().ReadInteger("Skript", "Højde", 0), 480);
  EXPECT_EQ(run.store().ReadInteger("Skript", "Venstre", 0), editor.x());
  EXPECT_EQ(run.store().ReadInteger("Skript", "HWidth", 0), 150);
  // The text is still there for the next use.
  openNew();
  EXPECT_EQ(script(), "var a = 1;");
  EXPECT_TRUE(s().edSkript->Modified());

  run.restart();
  openNew();
  EXPECT_EQ(s().size(), QSize(640, 480));
  EXPECT_EQ(s().Splitter1->sizes().first(), 150);
}

TEST_F(ScriptEditor, AScriptWrittenHereGoesIntoThePageAndF4BringsItBack) {
  setPage("<BODY>\r\n|\r\n</BODY>");
  openNew();
  type("if (confirm(\"Videre?\"))\r\n\tdocument.write(\"Ja\");");
  EXPECT_TRUE(command("mnuGem")->isEnabled());
  command("mnuOpdater")->trigger();
  const std::string element =
      "<SCRIPT LANGUAGE=\"JavaScript\">\r\nif (confirm(\"Videre?\"))\r\n\tdocument.write(\"Ja\");\r\n</SCRIPT>";
  EXPECT_EQ(page(), "<BODY>\r\n" + element + "\r\n</BODY>");
  EXPECT_FALSE(s().isVisible());
  EXPECT_FALSE(s().edSkript->Modified());

  // F4 inside the start tag: the script alone, unchanged and without undo.
  setPage(
      "<BODY>\r\n<SCRIPT LANG|UAGE=\"JavaScript\">\r\nif (confirm(\"Videre?\"))\r\n\tdocument.write(\"Ja\");\r\n"
      "</SCRIPT>\r\n</BODY>");
  const std::string before = page();
  updateNextRun([](TfrmSkript& editor) {
    EXPECT_EQ(editor.windowTitle(), "Skripteditor - rediger skript");
    EXPECT_EQ(editor.cmbSkript->currentText(), "JavaScript");
    EXPECT_EQ(editor.edSkript->TextBytes(), "if (confirm(\"Videre?\"))\r\n\tdocument.write(\"Ja\");");
    EXPECT_FALSE(editor.edSkript->Modified());
    EXPECT_FALSE(editor.edSkript->CanUndo());
    EXPECT_TRUE(editor.fileName().isEmpty());
  });
  pressF4();
  EXPECT_EQ(page(), before);

  // Changed, it is written back with its language; the next new script
  // starts with the new caption again.
  setPage("<script language=|\"VBScript\">\r\nMsgBox \"x\"\r\n</script>");
  updateNextRun([](TfrmSkript& editor) {
    EXPECT_FALSE(editor.trwHieraki->isVisible());
    editor.edSkript->SelectAll();
    editor.edSkript->InsertBytes("MsgBox \"y\"");
  });
  pressF4();
  EXPECT_EQ(page(), "<SCRIPT LANGUAGE=\"VBScript\">\r\nMsgBox \"y\"\r\n</SCRIPT>");
  openNew();
  EXPECT_EQ(s().windowTitle(), "Skripteditor - Nyt skript");
}

TEST_F(ScriptEditor, EditingAnElementAsksBeforeDroppingAnUnsavedScript) {
  openNew();
  type("vigtigt();");
  s().hide();
  setPage("<SCRIPT LANGUAGE=\"JavaScript\"|>\r\nf();\r\n</SCRIPT>");
  responder.answer(IDNO);
  pressF4();
  EXPECT_EQ(responder.last().caption, "Skripteditor - rediger skript");
  EXPECT_EQ(responder.last().text, "Ønsker du at åbne et nyt skript uden at gemme eller opdatere det eksisterende?");
  EXPECT_EQ(script(), "vigtigt();");
  EXPECT_EQ(page(), "<SCRIPT LANGUAGE=\"JavaScript\">\r\nf();\r\n</SCRIPT>");

  responder.answer(IDYES);
  updateNextRun([](TfrmSkript& editor) { EXPECT_EQ(editor.edSkript->TextBytes(), "f();"); });
  pressF4();
}

TEST_F(ScriptEditor, UnknownAttributesOfAnEditedScriptAreKeptWhenTheSettingSaysSo) {
  run.changeSettings([](morvel::Settings& settings) { settings.keepUnknownAttributes = true; });
  setPage("<SCRIPT| LANGUAGE=\"JavaScript\" SRC=\"f\xE6lles.js\">\r\n</SCRIPT>");
  updateNextRun();
  pressF4();
  EXPECT_EQ(page(), "<SCRIPT LANGUAGE=\"JavaScript\" SRC=\"f\xE6lles.js\">\r\n\r\n</SCRIPT>");
}

TEST_F(ScriptEditor, TheTreeInsertsNamesAtTheScriptsCaret) {
  openNew();
  s().edSkript->ClearAll();
  s().insertFromTree(treeItem({"window", "document", "write()"}));
  type(";\r\n");
  s().insertFromTree(treeItem({"Reserverede ord", "while"}));
  s().insertFromTree(treeItem({"Math"}));  // an object inserts nothing
  EXPECT_EQ(script(), "document.write();\r\nwhile");
  // Enter on an item does the same as a double-click.
  QTreeWidgetItem* pi = treeItem({"Math", "PI"});
  s().trwHieraki->setCurrentItem(pi);
  emit s().trwHieraki->itemActivated(pi, 0);
  EXPECT_EQ(script(), "document.write();\r\nwhileMath.PI");
}

TEST_F(ScriptEditor, OtherLanguagesHaveNoTreeNorInsertionCommands) {
  openNew();
  EXPECT_TRUE(s().trwHieraki->isVisible());
  command("mnuJavaobjekttrae")->trigger();
  EXPECT_FALSE(s().trwHieraki->isVisible());
  command("mnuJavaobjekttrae")->trigger();
  EXPECT_TRUE(s().trwHieraki->isVisible());

  s().cmbSkript->setCurrentText(QStringLiteral("VBScript"));
  EXPECT_FALSE(s().trwHieraki->isVisible());
  for (const char* name : {"mnuJavaobjekttrae", "mnuSpoergeboks", "mnuAdvarselsboks", "mnuSkriv", "mnuBrowservindue"})
    EXPECT_FALSE(command(name)->isEnabled()) << name;
  EXPECT_FALSE(s().findChild<QMenu*>(QStringLiteral("mnuIndsaet"))->isEnabled());
  // The colours follow the language the editor asks with.
  COLORREF fore = 1;
  COLORREF back = 1;
  s().edSkript->OnControlHighlight(*s().edSkript, 1, 0, QStringLiteral("while"), fore, back);
  EXPECT_EQ(fore, RGB(0, 0, 0));
  s().cmbSkript->setCurrentText(QStringLiteral("JavaScript"));
  s().edSkript->OnControlHighlight(*s().edSkript, 1, 0, QStringLiteral("while"), fore, back);
  EXPECT_EQ(fore, RGB(255, 0, 0));
  EXPECT_TRUE(s().trwHieraki->isVisible());
  EXPECT_TRUE(command("mnuSkriv")->isEnabled());
}

TEST_F(ScriptEditor, TheInsertionCommandsLeaveTheCaretBetweenTheQuotes) {
  openNew();
  s().edSkript->ClearAll();
  const auto toTheEnd = [this] {
    const int last = s().edSkript->LineCount();
    const morvel::TextPosition end{last, s().edSkript->LineLength(last)};
    morvel::select(*s().edSkript, end, end);
  };
  command("mnuSpoergeboks")->trigger();
  type("Sikker?");
  toTheEnd();
  type("\r\n");
  command("mnuAdvarselsboks")->trigger();
  type("Pas p\xE5");
  toTheEnd();
  type("\r\n");
  command("mnuSkriv")->trigger();
  type("<B>");
  EXPECT_EQ(script(), "confirm(\"Sikker?\");\r\nalert(\"Pas p\xE5\");\r\ndocument.write(\"<B>\");");
  EXPECT_EQ(s().StatusBar1->PanelText(0), QString::number(script().size()) + " tegn");
  EXPECT_EQ(s().StatusBar1->PanelText(1), "3 : 20");
}

TEST_F(ScriptEditor, AScriptFileComesBackByteForByte) {
  openNew();
  s().edSkript->ClearAll();
  s().edSkript->SetModified(false);
  // A script from elsewhere, with the line ends and letters it was written with.
  const QString outside = run.dir.filePath(QStringLiteral("ude/gammel.js"));
  const QByteArray bytes("// Dato\nvar d = new Date();\n\tdocument.write(\"I dag: \" + d + \" \xE6\xF8\xE5\");\n");
  writeFile(outside, bytes);
  responder.answer([&](platform::Request& r) {
    EXPECT_EQ(r.kind, platform::RequestKind::OpenFile);
    EXPECT_EQ(r.caption, "Åbn skript");
    auto* choice = static_cast<platform::FileDialogRequest*>(r.data);
    EXPECT_EQ(choice->filters.size(), 2);
    EXPECT_EQ(choice->filters[0].second, (QStringList{"*.js", "*.java", "*.cgi", "*.pl"}));
    EXPECT_EQ(choice->filters[1].first, "Alle filer ");
    EXPECT_TRUE(choice->places.contains(userFolder()));
    choice->chosen = {outside};
    return 1;
  });
  command("mnuAabn")->trigger();
  EXPECT_EQ(s().windowTitle(), "Skripteditor - gammel.js");
  EXPECT_FALSE(command("mnuGem")->isEnabled());
  // Saved under another name among the user's scripts: the same bytes.
  responder.answer([&](platform::Request& r) {
    EXPECT_EQ(r.kind, platform::RequestKind::SaveFile);
    auto* choice = static_cast<platform::FileDialogRequest*>(r.data);
    EXPECT_EQ(choice->folder, userFolder());
    EXPECT_EQ(choice->defaultExtension, "js");
    choice->chosen = {userFolder() + QStringLiteral("/kopi")};
    return 1;
  });
  command("mnuGemSom")->trigger();
  EXPECT_EQ(s().fileName(), userFolder() + QStringLiteral("/kopi.js"));
  EXPECT_EQ(s().windowTitle(), "Skripteditor - kopi.js");
  EXPECT_EQ(readFile(s().fileName()), bytes);

  // A change enables "&Gem", which writes the same file again.
  type("x");
  EXPECT_TRUE(command("mnuGem")->isEnabled());
  command("mnuGem")->trigger();
  EXPECT_FALSE(command("mnuGem")->isEnabled());
  EXPECT_EQ(readFile(s().fileName()), "x" + bytes);
}

TEST_F(ScriptEditor, TheProgramsOwnScriptsAreOfferedAndSavedAmongTheUsers) {
  openNew();
  s().edSkript->ClearAll();
  s().edSkript->SetModified(false);
  QString shipped;
  responder.answer([&](platform::Request& r) {
    auto* choice = static_cast<platform::FileDialogRequest*>(r.data);
    // Without scripts of their own the user starts among the program's.
    EXPECT_EQ(choice->places.size(), 2);
    EXPECT_EQ(choice->folder, choice->places.value(1));
    shipped = choice->folder;
    choice->chosen = {QDir(choice->folder).filePath(QStringLiteral("dato.js"))};
    return 1;
  });
  command("mnuAabn")->trigger();
  ASSERT_FALSE(shipped.isEmpty());
  EXPECT_NE(script().find("getDay()"), std::string::npos);
  const QByteArray original = readFile(QDir(shipped).filePath(QStringLiteral("dato.js")));
  // "&Gem" never writes over what the program ships: it asks for a name
  // among the user's own scripts.
  type("// min\r\n");
  responder.answer([&](platform::Request& r) {
    auto* choice = static_cast<platform::FileDialogRequest*>(r.data);
    EXPECT_EQ(choice->suggestedName, "dato.js");
    EXPECT_EQ(choice->folder, userFolder());
    choice->chosen = {userFolder() + QStringLiteral("/dato.js")};
    return 1;
  });
  command("mnuGem")->trigger();
  EXPECT_EQ(readFile(QDir(shipped).filePath(QStringLiteral("dato.js"))), original);
  EXPECT_EQ(readFile(userFolder() + QStringLiteral("/dato.js")), "// min\r\n" + original);
  // Now the user has scripts, the dialog starts among them.
  responder.answer([&](platform::Request& r) {
    EXPECT_EQ(static_cast<platform::FileDialogRequest*>(r.data)->folder, userFolder());
    return 0;
  });
  command("mnuAabn")->trigger();
}

TEST_F(ScriptEditor, NewAndOpenAskBeforeDroppingChanges) {
  openNew();
  s().edSkript->ClearAll();
  type("a();");
  responder.answer(IDNO);
  command("mnuNy")->trigger();
  EXPECT_EQ(responder.last().caption, "Nyt skript");
  EXPECT_EQ(responder.last().text,
            "Ønsker du at starte på et nyt skript uden at gemme eller opdatere det eksisterende?");
  EXPECT_EQ(responder.last().flags, static_cast<UINT>(MB_YESNO | MB_ICONWARNING));
  EXPECT_EQ(script(), "a();");
  responder.answer(IDNO);
  command("mnuAabn")->trigger();
  EXPECT_EQ(responder.last().caption, "Åbn skript");
  EXPECT_EQ(script(), "a();");
  responder.answer(IDYES);
  command("mnuNy")->trigger();
  EXPECT_EQ(script(), "");
  EXPECT_EQ(s().windowTitle(), "Skripteditor - Nyt skript");
  // Nothing changed: no question.
  command("mnuNy")->trigger();
}

TEST_F(ScriptEditor, TheOpenWindowDialogBuildsItsCallAndAsksAboutAnIncompleteAddress) {
  openNew();
  s().edSkript->ClearAll();
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Åben browservindue");
    EXPECT_EQ(field(form, "txtAdresse"), "http://");
    setField(form, "txtAdresse", QStringLiteral("www.eksempel.dk"));
  });
  responder.answer(IDNO);
  command("mnuBrowservindue")->trigger();
  EXPECT_EQ(responder.last().caption, "Ufuldstændig URL");
  EXPECT_EQ(responder.last().text,
            "Du skal angive den fulde adresse startende med \"http://\". Ønsker du at fortsætte?");
  EXPECT_EQ(script(), "");

  confirmNextForm([](QDialog& form) {
    // The dialog is kept: the address typed last is still there.
    EXPECT_EQ(field(form, "txtAdresse"), "www.eksempel.dk");
    setField(form, "txtAdresse", QStringLiteral("http://www.eksempel.dk/"));
    setField(form, "txtNavn", QStringLiteral("nyt"));
    setField(form, "txtBredde", QStringLiteral("300"));
    auto* features = control<QListWidget>(form, "cklIndstillinger");
    EXPECT_EQ(features->count(), 8);
    EXPECT_EQ(features->item(4)->text(), "Regulérbar størrelse");
    features->item(4)->setCheckState(Qt::Checked);
    features->item(5)->setCheckState(Qt::Checked);
  });
  command("mnuBrowservindue")->trigger();
  EXPECT_EQ(script(), "window.open(\"http://www.eksempel.dk/\", \"nyt\", \"resizable,scrollbars,width=300\");");
}

}  // namespace
