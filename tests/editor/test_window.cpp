// Creation, notifications, settings, menus and command states of a Tivra32
// window, and the group window TivraGroup32.
#include "cp1252.h"
#include "editor_harness.h"
#include "scripted_responder.h"

#include <string>
#include <vector>

using editor_test::Editor;
using editor_test::NotifyWindow;
using Codes = std::vector<WORD>;

namespace {

std::string menuText(HMENU menu, int position) {
  char buffer[64] = {};
  GetMenuString(menu, static_cast<UINT>(position), buffer, sizeof buffer, MF_BYPOSITION);
  return platform::utf8FromCp1252(buffer);
}

std::vector<std::string> menuTexts(HMENU menu) {
  std::vector<std::string> out;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) out.push_back(GetMenuItemID(menu, i) == 0 ? "-" : menuText(menu, i));
  return out;
}

bool grey(HMENU menu, UINT id) { return GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED; }

TEST(EditorWindow, CreationTakesTheTextAndTellsTheParent) {
  NotifyWindow parent;
  Editor e(parent, 0, "first\r\nsecond", 42);
  ASSERT_TRUE(e.hwnd());
  EXPECT_TRUE(editor_test::sameText(e.text(), "first\r\nsecond"));
  EXPECT_EQ(parent.codes(), (Codes{TN_CREATED, TN_NEWTEXT}));
  EXPECT_EQ(parent.seen[0].id, 42);
  EXPECT_EQ(parent.seen[0].editor, e.hwnd());
  EXPECT_EQ(e.send(TM_GETHANDLE, TIVRA_HANDLE_NOTIFY), reinterpret_cast<LRESULT>(parent.hwnd()));
  EXPECT_EQ(e.send(EM_GETHANDLE, TIVRA_HANDLE_CONTROLID), 42);
  EXPECT_EQ(e.send(EM_GETMODIFY, 0), 0) << "the initial text is not a change";
  EXPECT_EQ(e.send(EM_CANUNDO, 0), 0);
  EXPECT_EQ(e.selection().EndLine, 1);

  std::string fromParam = "from the parameter";
  Editor p(parent, TS_TEXTFROMPARAM, "window text", 43, fromParam.data());
  EXPECT_TRUE(editor_test::sameText(p.text(), "from the parameter"));

  Editor top(0, "top-level");
  EXPECT_TRUE(editor_test::sameText(top.text(), "top-level"));
  EXPECT_EQ(top.send(EM_GETHANDLE, TIVRA_HANDLE_CONTROLID), 1000);
  EXPECT_EQ(top.send(EM_GETHANDLE, TIVRA_HANDLE_NOTIFY), 0);
}

TEST(EditorWindow, NotificationsForChangesFocusModesAndDestruction) {
  NotifyWindow parent;
  auto e = std::make_unique<Editor>(parent);
  parent.seen.clear();
  e->setText("x");
  e->select(1, 0, 1, 1);
  e->replace("y");
  EXPECT_EQ(parent.codes(), (Codes{TN_CHANGE, TN_CHANGE}));

  parent.seen.clear();
  e->send(TM_SETINSERTMODE, 0);
  e->send(TM_SETINSERTMODE, 0);
  e->send(TM_SETINSERTMODE, 5);
  e->send(TM_SETINSERTMODE, 1);
  EXPECT_EQ(parent.codes(), (Codes{TN_OVERWRITEMODE, TN_INSERTMODE})) << "only real switches are told";

  parent.seen.clear();
  SetFocus(e->hwnd());
  SetFocus(nullptr);
  EXPECT_EQ(parent.codes(), (Codes{TN_SETFOCUS, TN_KILLFOCUS}));

  // A new notify window and control id.
  NotifyWindow other;
  e->send(EM_SETHANDLE, 77, reinterpret_cast<LPARAM>(other.hwnd()));
  e->setText("z");
  ASSERT_EQ(other.seen.size(), 1u);
  EXPECT_EQ(other.seen[0].id, 77);
  e->send(TM_SETNOTIFY, 0, reinterpret_cast<LPARAM>(parent.hwnd()));
  EXPECT_EQ(e->send(EM_GETHANDLE, TIVRA_HANDLE_CONTROLID), 77) << "wParam 0 keeps the id";

  parent.seen.clear();
  e.reset();
  EXPECT_EQ(parent.codes(), (Codes{TN_DESTROYING}));
}

TEST(EditorWindow, SmallSettingsReadBackAsSet) {
  NotifyWindow parent;
  Editor e(parent);
  EXPECT_EQ(TivraVer(), 209);
  EXPECT_EQ(e.send(TM_IDENTIFY, 0, 5), 6);

  // File-dialog filter: the extension (at most 3 characters), then parts.
  std::vector<char> buffer(256, 0);
  auto filter = [&] {
    e.send(TM_GETFILTER, 0, reinterpret_cast<LPARAM>(buffer.data()));
    return std::string(buffer.data());
  };
  EXPECT_EQ(filter(), "/All files/*.*/");
  e.send(TM_SETFILTER, 0, reinterpret_cast<LPARAM>("html/HTML//XML/*.htm/Alle/*.*/"));
  EXPECT_EQ(filter(), "htm/HTML//XML/*.htm/Alle/*.*/");

  // Find and replace texts: at most 127 characters.
  const std::string longText(200, 'f');
  EXPECT_EQ(e.send(TM_HASFINDTEXT), 0);
  EXPECT_EQ(e.send(TM_SETFINDTEXT, 0, reinterpret_cast<LPARAM>(longText.c_str())), 0);
  EXPECT_EQ(e.send(TM_SETFINDTEXT, 1, reinterpret_cast<LPARAM>("erstat")), 0);
  EXPECT_EQ(e.send(TM_SETFINDTEXT, 0, 0), -1);
  EXPECT_EQ(e.send(TM_HASFINDTEXT), 1);
  e.send(TM_GETFINDTEXT, 0, reinterpret_cast<LPARAM>(buffer.data()));
  EXPECT_EQ(std::string(buffer.data()), std::string(127, 'f'));
  e.send(TM_GETFINDTEXT, 1, reinterpret_cast<LPARAM>(buffer.data()));
  EXPECT_STREQ(buffer.data(), "erstat");
  EXPECT_EQ(e.send(TM_SETFINDOPTIONS, 0, TIVRA_FIND_WRAP | TIVRA_FIND_MATCHCASE | 0x30), 0);
  EXPECT_EQ(e.send(TM_GETFINDOPTIONS), TIVRA_FIND_WRAP | TIVRA_FIND_MATCHCASE);

  // Layout: spacing, margin and scroll bars.
  e.send(TM_SETLAYOUT, 0, 0x4 | (0x6 << 4) | (0x3 << 8) | TIVRA_LAYOUT_VSCROLL);
  EXPECT_EQ(e.send(TM_GETLAYOUT), MAKELONG(0x364, 2));

  // The file name: empty without file commands.
  e.send(TM_GETFILENAME, 0, reinterpret_cast<LPARAM>(buffer.data()));
  EXPECT_STREQ(buffer.data(), "");
  e.send(TM_SETFILECOMMANDS, 1);
  e.send(TM_GETFILENAME, 0, reinterpret_cast<LPARAM>(buffer.data()));
  EXPECT_STREQ(buffer.data(), "<<Ikke navngivet>>");

  DWORD centre = 0;
  EXPECT_EQ(e.send(TM_SCREENCENTRE, 0, reinterpret_cast<LPARAM>(&centre)), 1);
  EXPECT_EQ(LOWORD(centre), GetSystemMetrics(SM_CXSCREEN) / 2);
  EXPECT_EQ(HIWORD(centre), GetSystemMetrics(SM_CYSCREEN) / 2);
}

TEST(EditorWindow, DialogCodeWantsTabOnlyWithoutTabStop) {
  NotifyWindow parent;
  Editor plain(parent);
  Editor stop(parent, WS_TABSTOP);
  EXPECT_EQ(plain.send(WM_GETDLGCODE, VK_TAB), 0x87);
  EXPECT_EQ(stop.send(WM_GETDLGCODE, VK_TAB), 0x81);
  EXPECT_EQ(stop.send(WM_GETDLGCODE, VK_RETURN), 0x87);
}

TEST(EditorWindow, CloseAsksFirstAndCanBeVetoed) {
  NotifyWindow parent;
  Editor e(parent);
  parent.answers[TN_GOINGTOCLOSE] = 1;
  EXPECT_EQ(e.send(TM_QUERYCLOSE), 0);
  e.send(WM_CLOSE);
  EXPECT_TRUE(IsWindow(e.hwnd()));
  parent.answers[TN_GOINGTOCLOSE] = 0;
  EXPECT_NE(e.send(WM_QUERYENDSESSION), 0);
  e.send(WM_CLOSE);
  EXPECT_FALSE(IsWindow(e.hwnd()));
}

TEST(EditorWindow, ChangedFileTextAsksWhetherToSave) {
  NotifyWindow parent;
  Editor e(parent, TS_FILECOMMANDS);
  EXPECT_NE(e.send(TM_QUERYCLOSE), 0) << "an unchanged text closes without a question";
  e.setText("changed");
  parent.answers[TN_ASKSAVE] = 3;
  EXPECT_EQ(e.send(TM_QUERYCLOSE), 0) << "3: cancel";
  parent.answers[TN_ASKSAVE] = 2;
  EXPECT_NE(e.send(TM_QUERYCLOSE), 0) << "2: do not save";

  parent.answers[TN_ASKSAVE] = 0;
  testing_support::ScriptedResponder responder;
  responder.answer(IDCANCEL);
  responder.answer(IDNO);
  EXPECT_EQ(e.send(TM_QUERYCLOSE), 0);
  EXPECT_NE(e.send(TM_QUERYCLOSE), 0);
  ASSERT_EQ(responder.seen().size(), 2u);
  EXPECT_EQ(responder.last().caption, "Tivra V2.09 (32-bit)");
  EXPECT_EQ(responder.last().text, QString::fromUtf8("Filen <<Ikke navngivet>> er ændret.\nØnsker du at gemme filen?"));
  EXPECT_EQ(responder.last().flags & MB_TYPEMASK, MB_YESNOCANCEL);
  EXPECT_EQ(responder.last().flags & MB_ICONMASK, MB_ICONQUESTION);
}

TEST(EditorMenus, ContextMenuHoldsThePopupsTheStyleAsksFor) {
  NotifyWindow parent;
  Editor full(parent, TS_FILECOMMANDS | TS_NEWOPEN | TS_FONTCOMMAND);
  auto menu = reinterpret_cast<HMENU>(full.send(EM_GETHANDLE, TIVRA_HANDLE_CONTEXTMENU));
  ASSERT_TRUE(IsMenu(menu));
  EXPECT_EQ(menuTexts(menu), (std::vector<std::string>{"&Filer", "&Rediger", "&Søg", "F&unktioner"}));
  EXPECT_EQ(menuTexts(GetSubMenu(menu, 0)),
            (std::vector<std::string>{"&Ny", "&Åben ...", "Nul&stil", "-", "&Gem", "Ge&m som ...", "-", "&Udskriv ...",
                                      "Indstil printer ..."}));
  EXPECT_EQ(menuTexts(GetSubMenu(menu, 1)),
            (std::vector<std::string>{"&Fortryd", "&Annuller fortryd", "-", "&Klip", "K&opier", "Sæt &ind", "Slet",
                                      "&Duplikér", "-", "&Marker alt"}));
  EXPECT_EQ(menuTexts(GetSubMenu(menu, 2)),
            (std::vector<std::string>{"&Find ...", "Find &næste", "&Erstat...", "Find &klammer", "-",
                                      "&Gå til linie ...", "Gå til &bogmærke", "&Sæt bogmærke"}));
  EXPECT_EQ(menuTexts(GetSubMenu(menu, 3)),
            (std::vector<std::string>{"&Skrifttyper...", "-", "Slet &fortrydbuffer", "Slet &alt (uden fortryd)"}));
  EXPECT_EQ(GetMenuItemID(GetSubMenu(menu, 3), 3), TCMD_CLEARALL);

  Editor lean(parent, 0);
  menu = reinterpret_cast<HMENU>(lean.send(EM_GETHANDLE, TIVRA_HANDLE_CONTEXTMENU));
  EXPECT_EQ(menuTexts(menu), (std::vector<std::string>{"&Rediger", "&Søg", "F&unktioner"}));
  EXPECT_EQ(menuTexts(GetSubMenu(menu, 2)),
            (std::vector<std::string>{"Slet &fortrydbuffer", "Slet &alt (uden fortryd)"}));

  Editor noNewOpen(parent, TS_FILECOMMANDS);
  menu = reinterpret_cast<HMENU>(noNewOpen.send(EM_GETHANDLE, TIVRA_HANDLE_CONTEXTMENU));
  EXPECT_EQ(menuTexts(GetSubMenu(menu, 0)).front(), "Nul&stil");

  Editor none(parent, TS_NOCONTEXTMENU | TS_MENUBAR);
  EXPECT_EQ(none.send(EM_GETHANDLE, TIVRA_HANDLE_CONTEXTMENU), 0);
  EXPECT_EQ(none.send(EM_GETHANDLE, TIVRA_HANDLE_MENUBAR), 0) << "a child window has no menu bar";
}

TEST(EditorMenus, TopLevelWindowGetsTheMenusOnItsMenuBar) {
  Editor top(WS_OVERLAPPEDWINDOW | TS_MENUBAR | TS_FILECOMMANDS);
  HMENU bar = GetMenu(top.hwnd());
  ASSERT_TRUE(IsMenu(bar));
  EXPECT_EQ(top.send(EM_GETHANDLE, TIVRA_HANDLE_MENUBAR), reinterpret_cast<LRESULT>(bar));
  EXPECT_EQ(menuTexts(bar), (std::vector<std::string>{"&Filer", "&Rediger", "&Søg", "F&unktioner"}));
  auto context = reinterpret_cast<HMENU>(top.send(EM_GETHANDLE, TIVRA_HANDLE_CONTEXTMENU));
  EXPECT_NE(GetSubMenu(bar, 1), GetSubMenu(context, 1)) << "each menu has popups of its own";
}

TEST(EditorMenus, CommandStatesFollowSelectionReadOnlyUndoAndOptions) {
  NotifyWindow parent;
  Editor e(parent, TS_FILECOMMANDS);
  auto state = [&](UINT id) { return e.send(TM_COMMANDSTATE, id); };
  e.setText("some text");
  for (UINT id : {TCMD_PRINT, TCMD_SELECTALL, TCMD_FIND, TCMD_GOTOLINE, TCMD_GOTOBOOKMARK, TCMD_SETBOOKMARK, TCMD_FONT,
                  TCMD_NEW, TCMD_OPEN, TCMD_SAVEAS, TCMD_PRINTSETUP, TCMD_REPLACE, TCMD_EMPTYUNDO, TCMD_CLEARALL})
    EXPECT_EQ(state(id), 1) << id;
  for (UINT id : {TCMD_REVERT, TCMD_SAVE, TCMD_CUT, TCMD_COPY, TCMD_DELETE, TCMD_DUPLICATE, TCMD_UNDO, TCMD_REDO,
                  TCMD_FINDNEXT, 999u, 1041u})
    EXPECT_EQ(state(id), 0) << id;

  e.select(1, 0, 1, 4);
  EXPECT_EQ(state(TCMD_CUT), 1);
  EXPECT_EQ(state(TCMD_COPY), 1);
  e.replace("other");
  EXPECT_EQ(state(TCMD_UNDO), 1);
  e.send(TM_SETFINDTEXT, 0, reinterpret_cast<LPARAM>("text"));
  EXPECT_EQ(state(TCMD_FINDNEXT), 1);
  e.setOptions(TivraOption::NoPrintDialog, true);
  EXPECT_EQ(state(TCMD_PRINTSETUP), 0);

  e.send(EM_SETREADONLY, 1);
  EXPECT_EQ(state(TCMD_CUT), 0);
  EXPECT_EQ(state(TCMD_COPY), 1);
  EXPECT_EQ(state(TCMD_REPLACE), 0);
  EXPECT_EQ(state(TCMD_CLEARALL), 0);
  e.send(EM_SETREADONLY, 0);
  EXPECT_EQ(state(TCMD_CUT), 1);
}

TEST(EditorMenus, MenuStatesGreyAndEnableItemsOfAGivenMenu) {
  NotifyWindow parent;
  Editor e(parent, TS_FILECOMMANDS | TS_NEWOPEN);
  HMENU menu = CreatePopupMenu();
  for (UINT id : {TCMD_NEW, TCMD_SAVE, TCMD_COPY, TCMD_SELECTALL, 1041u, 1050u, 1060u})
    AppendMenu(menu, MF_STRING | MF_GRAYED, id, "item");
  e.send(TM_SETMENUSTATES, reinterpret_cast<WPARAM>(menu));
  EXPECT_FALSE(grey(menu, TCMD_NEW));
  EXPECT_TRUE(grey(menu, TCMD_SAVE)) << "no file name yet";
  EXPECT_TRUE(grey(menu, TCMD_COPY)) << "no selection";
  EXPECT_FALSE(grey(menu, TCMD_SELECTALL));
  EXPECT_FALSE(grey(menu, 1041));
  EXPECT_FALSE(grey(menu, 1050));
  EXPECT_TRUE(grey(menu, 1060)) << "not the editor's";

  // A popup that opens gets the same rules.
  e.setText("abc");
  e.select(1, 0, 1, 2);
  e.send(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu));
  EXPECT_FALSE(grey(menu, TCMD_COPY));

  DisableMenu(menu);
  EXPECT_FALSE(grey(menu, TCMD_NEW)) << "New and Open are left alone";
  for (UINT id : {TCMD_SAVE, TCMD_COPY, TCMD_SELECTALL, 1041u, 1050u}) EXPECT_TRUE(grey(menu, id)) << id;
  DestroyMenu(menu);
}

TEST(EditorGroup, MembersJoinOnceAndTheGroupForwardsToTheCurrentOne) {
  NotifyWindow parent;
  HWND group = CreateWindowEx(0, "TivraGroup32", "", WS_CHILD, 0, 0, 0, 0, parent.hwnd(), nullptr, nullptr, nullptr);
  ASSERT_TRUE(group);
  Editor a(parent, 0, "", 1);
  Editor b(parent, 0, "", 2);

  // Without members the group keeps the insert mode and greys commands.
  SendMessage(group, TM_SETINSERTMODE, 0, 0);
  HMENU menu = CreatePopupMenu();
  AppendMenu(menu, MF_STRING, TCMD_COPY, "Copy");
  SendMessage(group, TM_SETMENUSTATES, reinterpret_cast<WPARAM>(menu), 0);
  EXPECT_TRUE(grey(menu, TCMD_COPY));
  DestroyMenu(menu);

  parent.seen.clear();
  EXPECT_EQ(a.send(TM_JOINGROUP, reinterpret_cast<WPARAM>(group)), 0);
  EXPECT_EQ(parent.count(TN_OVERWRITEMODE), 1) << "a member takes the group's insert mode";
  EXPECT_EQ(SendMessage(group, TM_JOINGROUP, reinterpret_cast<WPARAM>(b.hwnd()), 0), 0);
  EXPECT_EQ(SendMessage(group, TM_JOINGROUP, reinterpret_cast<WPARAM>(b.hwnd()), 0), -1) << "already a member";
  EXPECT_EQ(SendMessage(group, TM_JOINGROUP, reinterpret_cast<WPARAM>(parent.hwnd()), 0), -1) << "not an editor";
  EXPECT_EQ(a.send(EM_GETHANDLE, TIVRA_HANDLE_GROUP), reinterpret_cast<LRESULT>(group));

  // The first member is current; a member that gets the focus becomes it.
  SendMessage(group, WM_SETTEXT, 1, reinterpret_cast<LPARAM>("to a"));
  EXPECT_TRUE(editor_test::sameText(a.text(), "to a"));
  SetFocus(b.hwnd());
  SendMessage(group, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("to b"));
  EXPECT_TRUE(editor_test::sameText(b.text(), "to b"));
  EXPECT_EQ(SendMessage(group, EM_GETLINECOUNT, 0, 0), 1);
  SetFocus(nullptr);

  // Disabling one member disables the others.
  EnableWindow(a.hwnd(), FALSE);
  EXPECT_FALSE(IsWindowEnabled(b.hwnd()));
  EnableWindow(b.hwnd(), TRUE);
  EXPECT_TRUE(IsWindowEnabled(a.hwnd()));

  // Closing asks every member; destroying the group destroys them.
  parent.answers[TN_GOINGTOCLOSE] = 1;
  SendMessage(group, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(group));
  parent.answers[TN_GOINGTOCLOSE] = 0;
  SendMessage(group, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(group));
  EXPECT_FALSE(IsWindow(a.hwnd()));
  EXPECT_FALSE(IsWindow(b.hwnd()));
}

TEST(EditorGroup, ADestroyedMemberLeavesTheGroup) {
  NotifyWindow parent;
  HWND group = CreateWindowEx(0, "TivraGroup32", "", WS_CHILD, 0, 0, 0, 0, parent.hwnd(), nullptr, nullptr, nullptr);
  auto a = std::make_unique<Editor>(parent, 0, "", 1);
  Editor b(parent, 0, "", 2);
  a->send(TM_JOINGROUP, reinterpret_cast<WPARAM>(group));
  b.send(TM_JOINGROUP, reinterpret_cast<WPARAM>(group));
  a.reset();
  SendMessage(group, WM_SETTEXT, 1, reinterpret_cast<LPARAM>("now b"));
  EXPECT_TRUE(editor_test::sameText(b.text(), "now b"));
  DestroyWindow(group);
  EXPECT_FALSE(IsWindow(b.hwnd()));
}

}  // namespace
