// TTivra's events: raised by the editor's notifications and questions, with
// the answers the editor relies on; keys, the mouse and the popup menus.
#include "tivra_recorder.h"

#include "host.h"
#include "scripted_responder.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <fstream>

using app_test::RecordingTivra;

namespace {

LRESULT notify(TTivra& t, WORD code, HWND from = nullptr) {
  return SendMessage(t.NotifyHandle(), WM_COMMAND, MAKEWPARAM(1000, code),
                     reinterpret_cast<LPARAM>(from ? from : t.Handle()));
}

TivraToken token(WORD type, LONG value, const char* word) {
  TivraToken t{};
  t.WordType = type;
  t.WordValue = value;
  std::strncpy(t.WordStr, word, TIVRA_MAX_TOKEN - 1);
  return t;
}

// A memory DC for the colour questions.
struct MemoryDC {
  MemoryDC() : dc(CreateCompatibleDC(nullptr)) {}
  ~MemoryDC() { DeleteDC(dc); }
  HDC dc;
};

TEST(TivraEvents, EachNotificationRaisesItsEventAndIsAnswered0) {
  TTivra t;
  t.HandleNeeded();
  std::vector<std::string> raised;
  auto record = [&raised](const char* name) { return [&raised, name](TTivra&) { raised.push_back(name); }; };
  t.OnGotFocus = record("GotFocus");
  t.OnLostFocus = record("LostFocus");
  t.OnChange = record("Change");
  t.OnNewFile = record("NewFile");
  t.OnNewFont = record("NewFont");
  t.OnSpaceError = record("SpaceError");
  t.OnMaxLine = record("MaxLine");
  t.OnFileError = record("FileError");
  t.OnClipboardError = record("ClipboardError");
  t.OnGoingToClose = record("GoingToClose");
  t.OnAskIfStoreFile = record("AskIfStoreFile");
  const std::vector<std::pair<WORD, std::string>> cases = {
      {TN_SETFOCUS, "GotFocus"},         {TN_KILLFOCUS, "LostFocus"},   {TN_CHANGE, "Change"},
      {TN_NEWTEXT, "NewFile"},           {TN_FONTCHANGED, "NewFont"},   {TN_ERRSPACE, "SpaceError"},
      {TN_MAXTEXT, "MaxLine"},           {TN_FILEERROR, "FileError"},   {TN_CLIPBOARDERROR, "ClipboardError"},
      {TN_GOINGTOCLOSE, "GoingToClose"}, {TN_ASKSAVE, "AskIfStoreFile"}};
  for (const auto& [code, name] : cases) {
    raised.clear();
    EXPECT_EQ(notify(t, code), 0) << name;
    EXPECT_EQ(raised, std::vector<std::string>{name});
  }
  // Dispatched also without a handler: the editor shows its own messages.
  t.OnSpaceError = nullptr;
  EXPECT_EQ(notify(t, TN_ERRSPACE), 0);
}

TEST(TivraEvents, ScrollAndUnknownNotificationsAreAnswered2) {
  TTivra t;
  t.HandleNeeded();
  int horizontal = 0, vertical = 0;
  t.OnHorzScroll = [&](TTivra&) { ++horizontal; };
  t.OnVertScroll = [&](TTivra&) { ++vertical; };
  EXPECT_EQ(notify(t, TN_HSCROLL), 2);
  EXPECT_EQ(notify(t, TN_VSCROLL), 2);
  EXPECT_EQ(horizontal, 1);
  EXPECT_EQ(vertical, 1);
  EXPECT_EQ(notify(t, TN_CREATED), 2);
  EXPECT_EQ(notify(t, 0x0777), 2);
  // Not from our editor.
  int changes = 0;
  t.OnChange = [&](TTivra&) { ++changes; };
  EXPECT_EQ(notify(t, TN_CHANGE, t.NotifyHandle()), 2);
  EXPECT_EQ(changes, 0);
}

TEST(TivraEvents, RealNotificationsOfTheEditorAndTheInsertMode) {
  TTivra t;
  t.HandleNeeded();
  int changes = 0, modes = 0;
  t.OnChange = [&](TTivra&) { ++changes; };
  t.OnChangeMode = [&](TTivra& sender) {
    ++modes;
    EXPECT_EQ(&sender, &t);
  };
  t.setText(QStringLiteral("hej"));
  EXPECT_GE(changes, 1);
  // The editor toggles its mode: the property follows before the event.
  bool insertSeen = true;
  t.OnChangeMode = [&](TTivra& sender) {
    ++modes;
    insertSeen = sender.InsertMode();
  };
  SendMessage(t.Handle(), TM_SETINSERTMODE, 2, 0);
  EXPECT_EQ(modes, 1);
  EXPECT_FALSE(insertSeen);
  EXPECT_FALSE(t.InsertMode());
  SendMessage(t.Handle(), TM_SETINSERTMODE, 2, 0);
  EXPECT_TRUE(t.InsertMode());
}

TEST(TivraEvents, NoEventsWhileTheWindowIsCreatedOrDestroyed) {
  auto t = std::make_unique<TTivra>();
  int events = 0;
  t->OnChange = t->OnNewFile = t->OnChangeMode = t->OnNewFont = t->OnLostFocus = [&](TTivra&) { ++events; };
  t->setText(QStringLiteral("tekst"));
  t->setInsertMode(false);
  t->HandleNeeded();
  EXPECT_EQ(events, 0);
  EXPECT_EQ(t->Text(), "tekst");
  SetFocus(t->Handle());
  ASSERT_EQ(GetFocus(), t->Handle());
  t.reset();  // the editor loses the focus as it goes
  EXPECT_EQ(events, 0);
}

TEST(TivraEvents, ColourQuestionsAreAnsweredInTheDC) {
  TTivra t;
  t.HandleNeeded();
  t.setFontColor(RGB(1, 2, 3));
  t.setColor(RGB(4, 5, 6));
  t.setForeColorSelected(RGB(255, 255, 255));
  t.setBackColorSelected(RGB(255, 0, 0));
  MemoryDC m;
  SendMessage(t.NotifyHandle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(m.dc), reinterpret_cast<LPARAM>(t.Handle()));
  EXPECT_EQ(GetTextColor(m.dc), RGB(1, 2, 3));
  EXPECT_EQ(GetBkColor(m.dc), RGB(4, 5, 6));
  SendMessage(t.NotifyHandle(), TM_COLOURSELECTION, reinterpret_cast<WPARAM>(m.dc), 0);
  EXPECT_EQ(GetTextColor(m.dc), RGB(255, 255, 255));
  EXPECT_EQ(GetBkColor(m.dc), RGB(255, 0, 0));

  // Without a handler a word has the text colours.
  TivraToken word = token(TIVRA_TOKEN_WORD, 3, "B\xE6r");
  SendMessage(t.NotifyHandle(), TM_COLOURWORD, reinterpret_cast<WPARAM>(m.dc), reinterpret_cast<LPARAM>(&word));
  EXPECT_EQ(GetTextColor(m.dc), RGB(1, 2, 3));
  EXPECT_EQ(GetBkColor(m.dc), RGB(4, 5, 6));

  // The handler starts from them and its results are used.
  t.OnControlHighlight = [](TTivra&, WORD type, LONG value, const QString& str, COLORREF& fore, COLORREF& back) {
    EXPECT_EQ(type, TIVRA_TOKEN_WORD);
    EXPECT_EQ(value, 3);
    EXPECT_EQ(str, QStringLiteral("Bær"));
    EXPECT_EQ(fore, RGB(1, 2, 3));
    EXPECT_EQ(back, RGB(4, 5, 6));
    fore = RGB(9, 9, 9);
    back = RGB(0, 0, 128);
  };
  SendMessage(t.NotifyHandle(), TM_COLOURWORD, reinterpret_cast<WPARAM>(m.dc), reinterpret_cast<LPARAM>(&word));
  EXPECT_EQ(GetTextColor(m.dc), RGB(9, 9, 9));
  EXPECT_EQ(GetBkColor(m.dc), RGB(0, 0, 128));
}

TEST(TivraEvents, BracesWordsAndBreaks) {
  TTivra t;
  t.HandleNeeded();
  TivraToken brace = token(TIVRA_TOKEN_DELIMITER, MAKELONG(4, 9), "(");
  auto askBrace = [&] {
    return SendMessage(t.NotifyHandle(), TM_CLASSIFYBRACKET, 0, reinterpret_cast<LPARAM>(&brace));
  };
  EXPECT_EQ(askBrace(), 0);
  int kind = 0;
  t.OnFindBrace = [&kind](TTivra&, WORD, LONG value, const QString& str, int& braceType) {
    EXPECT_EQ(HIWORD(value), 9);
    EXPECT_EQ(str, "(");
    braceType = kind;
  };
  const std::vector<std::pair<int, LRESULT>> answers = {{0, 0}, {1, 2}, {2, 1}, {3, 6}, {4, 5}, {5, 0}, {-1, 0}};
  for (const auto& [given, answered] : answers) {
    kind = given;
    EXPECT_EQ(askBrace(), answered) << given;
  }

  TivraToken word = token(TIVRA_TOKEN_WORD, 0, "TABLE");
  QString clicked = QStringLiteral("unset");
  t.OnWordClick = [&clicked](TTivra&, WORD, LONG, const QString& str, bool& handled) {
    clicked = str;
    handled = str == "TABLE";
  };
  EXPECT_EQ(SendMessage(t.NotifyHandle(), TM_WORDCLICKED, reinterpret_cast<WPARAM>(t.Handle()),
                        reinterpret_cast<LPARAM>(&word)),
            1);
  EXPECT_EQ(SendMessage(t.NotifyHandle(), TM_WORDCLICKED, reinterpret_cast<WPARAM>(t.Handle()), 0), 0);
  EXPECT_EQ(clicked, "");

  const char line[] = "ord ord ord";
  EXPECT_EQ(SendMessage(t.NotifyHandle(), TM_WORDBREAK, 6, reinterpret_cast<LPARAM>(line)), 6);
  int chosen = 0;
  t.OnWordBreak = [&chosen](TTivra&, const QString& text, int& position) {
    EXPECT_EQ(text, "ord ord ord");
    EXPECT_EQ(position, 6);
    position = chosen;
  };
  chosen = 4;
  EXPECT_EQ(SendMessage(t.NotifyHandle(), TM_WORDBREAK, 6, reinterpret_cast<LPARAM>(line)), 4);
  chosen = 0;
  EXPECT_EQ(SendMessage(t.NotifyHandle(), TM_WORDBREAK, 6, reinterpret_cast<LPARAM>(line)), 1);
  chosen = 500;
  EXPECT_EQ(SendMessage(t.NotifyHandle(), TM_WORDBREAK, 6, reinterpret_cast<LPARAM>(line)), 11);
}

TEST(TivraEvents, FoundNotificationsPagesAndReadPreview) {
  TTivra t;
  t.HandleNeeded();
  EXPECT_EQ(SendMessage(t.NotifyHandle(), TM_FINDNOTIFY, reinterpret_cast<WPARAM>(t.Handle()), 0), 0);
  int code = 99;
  t.OnNotifyFound = [&code](TTivra&, int c, int& response) {
    code = c;
    response = 1;
  };
  EXPECT_EQ(SendMessage(t.NotifyHandle(), TM_FINDNOTIFY, reinterpret_cast<WPARAM>(t.Handle()), 7), 1);
  EXPECT_EQ(code, 7);
  EXPECT_EQ(SendMessage(t.NotifyHandle(), TM_FINDNOTIFY, reinterpret_cast<WPARAM>(t.Handle()), -1), 1);
  EXPECT_EQ(code, -1);

  // Header and footer fit the page.
  int header = 0, footer = 0;
  t.OnPrintPage = [&](TTivra&, HDC, int vertical, int horizontal, int& h, int& f) {
    EXPECT_EQ(vertical, 1000);
    EXPECT_EQ(horizontal, 700);
    h = header;
    f = footer;
  };
  auto page = [&] { return SendMessage(t.NotifyHandle(), TM_PRINTPAGE, 0, MAKELONG(1000, 700)); };
  header = 50;
  footer = 60;
  EXPECT_EQ(page(), MAKELONG(50, 60));
  header = 900;
  footer = 300;
  EXPECT_EQ(page(), MAKELONG(900, 100));
  header = -5;
  footer = 2000;
  EXPECT_EQ(page(), MAKELONG(0, 1000));

  char original[] = "original";
  char replacement[] = "erstattet";
  char* block = original;
  t.OnReadPreview = [&](TTivra&, int length, char*& buffer) {
    EXPECT_EQ(length, 8);
    EXPECT_EQ(buffer, original);
    buffer = replacement;
  };
  SendMessage(t.NotifyHandle(), TM_READPREVIEW, 8, reinterpret_cast<LPARAM>(&block));
  EXPECT_EQ(block, replacement);
}

TEST(TivraEvents, ReadPreviewSeesTheBlocksOfALoadedFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("side.htm"));
  std::ofstream(path.toStdString()) << "<P>abc</P>";
  TTivra t;
  t.HandleNeeded();
  std::string seen;
  t.OnReadPreview = [&seen](TTivra&, int length, char*& buffer) {
    seen.assign(buffer, static_cast<size_t>(length));
    std::memcpy(buffer, "<p>", 3);
  };
  ASSERT_TRUE(t.LoadFile(path));
  EXPECT_EQ(seen, "<P>abc</P>");
  EXPECT_EQ(t.Text(), "<p>abc</P>");
}

TEST(TivraEvents, PaintGoesIntoTheWindowDCOrABitmap) {
  TTivra t;
  t.setPaintMode(TTivraPaintStyle::dsWindowDC);
  t.HandleNeeded();
  MemoryDC m;
  RECT client{0, 0, 40, 30};
  EXPECT_EQ(SendMessage(t.NotifyHandle(), TM_PAINTNOTIFICATION, reinterpret_cast<WPARAM>(m.dc),
                        reinterpret_cast<LPARAM>(&client)),
            0);
  HDC painted = nullptr;
  t.OnPaint = [&painted](TTivra&, HDC canvas, const RECT& r) {
    painted = canvas;
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(canvas, &r, red);
    DeleteObject(red);
  };
  EXPECT_EQ(SendMessage(t.NotifyHandle(), TM_PAINTNOTIFICATION, reinterpret_cast<WPARAM>(m.dc),
                        reinterpret_cast<LPARAM>(&client)),
            0);
  EXPECT_EQ(painted, m.dc);

  t.setPaintMode(TTivraPaintStyle::dsUseMemoryDC);
  const LRESULT bitmap = SendMessage(t.NotifyHandle(), TM_PAINTNOTIFICATION, reinterpret_cast<WPARAM>(m.dc),
                                     reinterpret_cast<LPARAM>(&client));
  ASSERT_NE(bitmap, 0);
  EXPECT_NE(painted, m.dc);
  // The bitmap holds what the handler drew, and is free to be selected.
  HGDIOBJ previous = SelectObject(m.dc, reinterpret_cast<HGDIOBJ>(bitmap));
  EXPECT_EQ(GetPixel(m.dc, 20, 15), RGB(255, 0, 0));
  SelectObject(m.dc, previous);
}

TEST(TivraEvents, FileNameLoadsOrAsksTheProgram) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("a.htm"));
  std::ofstream(path.toStdString()) << "fra fil";
  TTivra t;
  t.HandleNeeded();
  int asked = 0;
  t.OnTimeToLoadText = [&asked](TTivra&) { ++asked; };
  t.setFileName(path);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(t.Text(), "");
  // Switching to isFile loads the stored name.
  t.setInitializeType(TTivraInitStyle::isFile);
  EXPECT_EQ(t.Text(), "fra fil");
  EXPECT_EQ(asked, 1);
  // An empty name without file commands clears the text.
  t.setFileName(QString());
  EXPECT_EQ(t.Text(), "");

  // Set before the window exists: loaded when it is created.
  TTivra later;
  later.setInitializeType(TTivraInitStyle::isFile);
  later.setFileName(path);
  later.HandleNeeded();
  EXPECT_EQ(later.Text(), "fra fil");
}

TEST(TivraEvents, DialogCodes) {
  TTivra t;
  t.HandleNeeded();
  EXPECT_EQ(SendMessage(t.Handle(), WM_GETDLGCODE, VK_TAB, 0), DLGC_WANTARROWS | DLGC_WANTCHARS);
  t.setWantTabs(true);
  EXPECT_EQ(SendMessage(t.Handle(), WM_GETDLGCODE, VK_TAB, 0), DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB);
  t.setWantReturns(false);
  EXPECT_EQ(SendMessage(t.Handle(), WM_GETDLGCODE, VK_RETURN, 0), DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB);
}

// A form that sees the keys its children leave.
class Form : public QWidget {
 public:
  int returns = 0;

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (e->key() == Qt::Key_Return) ++returns;
  }
};

TEST(TivraEvents, WithoutWantReturnsReturnGoesToTheForm) {
  Form form;
  auto* t = new RecordingTivra(&form);
  form.show();
  t->HandleNeeded();
  QWidget* host = t->focusProxy();
  ASSERT_NE(host, nullptr);
  t->take();
  QTest::keyClick(host, Qt::Key_Return);
  bool editorGotReturn = false;
  for (const auto& s : t->take()) editorGotReturn |= s.msg == WM_KEYDOWN && s.wParam == VK_RETURN;
  EXPECT_TRUE(editorGotReturn);
  EXPECT_EQ(form.returns, 0);

  t->setWantReturns(false);
  QTest::keyClick(host, Qt::Key_Return);
  editorGotReturn = false;
  for (const auto& s : t->take()) editorGotReturn |= s.msg == WM_KEYDOWN && s.wParam == VK_RETURN;
  EXPECT_FALSE(editorGotReturn);
  EXPECT_EQ(form.returns, 1);
}

TEST(TivraEvents, KeyDownMayChangeOrKeepTheKey) {
  TTivra t;
  t.HandleNeeded();
  t.setText(QStringLiteral("abcdef"));
  t.SetSelection();  // (1, 0)
  Qt::KeyboardModifiers seen;
  t.OnKeyDown = [&seen](TTivra&, WORD& key, Qt::KeyboardModifiers shift) {
    seen = shift;
    if (key == VK_RIGHT) key = VK_END;
    if (key == VK_LEFT) key = 0;
  };
  SendMessage(t.Handle(), WM_KEYDOWN, VK_RIGHT, 0);
  t.GetSelection();
  EXPECT_EQ(t.EndPos(), 6);
  SendMessage(t.Handle(), WM_KEYDOWN, VK_LEFT, 0);
  t.GetSelection();
  EXPECT_EQ(t.EndPos(), 6);
  platform::setKeyDown(VK_CONTROL, true);
  SendMessage(t.Handle(), WM_KEYDOWN, VK_LEFT, 0);
  platform::setKeyDown(VK_CONTROL, false);
  EXPECT_EQ(seen, Qt::ControlModifier);
}

TEST(TivraEvents, PopupMenuOfTheComponentOnRightClickAndTheMenuKey) {
  TTivra t;
  t.HandleNeeded();
  QMenu menu(QStringLiteral("Menu"));
  int chosen = 0;
  QObject::connect(menu.addAction(QStringLiteral("Et")), &QAction::triggered, [&chosen] { chosen = 1; });
  QObject::connect(menu.addAction(QStringLiteral("To")), &QAction::triggered, [&chosen] { chosen = 2; });
  t.setPopupMenu(&menu);
  std::vector<std::pair<Qt::MouseButton, int>> presses;
  t.OnMouseDown = [&presses](TTivra&, Qt::MouseButton button, Qt::KeyboardModifiers, int x, int) {
    presses.push_back({button, x});
  };
  {
    testing_support::ScriptedResponder responder;
    responder.answer([](platform::Request& r) {
      EXPECT_EQ(r.kind, platform::RequestKind::PopupMenu);
      EXPECT_EQ(r.menu, nullptr);  // not the editor's own menu
      return 2;
    });
    SendMessage(t.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(12, 5));
    SendMessage(t.Handle(), WM_RBUTTONUP, 0, MAKELPARAM(12, 5));
    EXPECT_EQ(responder.last().caption, "Menu");
  }
  EXPECT_EQ(chosen, 2);
  ASSERT_EQ(presses.size(), 1u);
  EXPECT_EQ(presses[0], std::make_pair(Qt::RightButton, 12));
  EXPECT_EQ(GetFocus(), t.Handle());

  chosen = 0;
  {
    testing_support::ScriptedResponder responder;
    responder.answer(1);
    SendMessage(t.Handle(), WM_KEYDOWN, VK_APPS, 0);
  }
  EXPECT_EQ(chosen, 1);
  // With a modifier the key is an ordinary key.
  {
    testing_support::ScriptedResponder responder;
    platform::setKeyDown(VK_SHIFT, true);
    SendMessage(t.Handle(), WM_KEYDOWN, VK_APPS, 0);
    platform::setKeyDown(VK_SHIFT, false);
  }
}

TEST(TivraEvents, NoPopupWithPsNoneAndTheEditorsOwnWithPsStandard) {
  TTivra t;
  t.HandleNeeded();
  QMenu menu;
  menu.addAction(QStringLiteral("Et"));
  t.setPopupMenu(&menu);
  t.setHasMenu(TTivraPopupStyle::psNone);
  {
    testing_support::ScriptedResponder responder;  // any request fails the test
    SendMessage(t.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(3, 3));
    SendMessage(t.Handle(), WM_RBUTTONUP, 0, MAKELPARAM(3, 3));
    SendMessage(t.Handle(), WM_KEYDOWN, VK_APPS, 0);
  }
  t.setHasMenu(TTivraPopupStyle::psStandard);
  HMENU own = reinterpret_cast<HMENU>(SendMessage(t.Handle(), EM_GETHANDLE, TIVRA_HANDLE_CONTEXTMENU, 0));
  testing_support::ScriptedResponder responder;
  auto expectOwnMenu = [own](platform::Request& r) {
    EXPECT_EQ(r.menu, own);
    return 0;
  };
  responder.answer(expectOwnMenu);
  responder.answer(expectOwnMenu);
  SendMessage(t.Handle(), WM_KEYDOWN, VK_APPS, 0);
  SendMessage(t.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(3, 3));
  SendMessage(t.Handle(), WM_RBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(responder.seen().size(), 2u);
}

}  // namespace
