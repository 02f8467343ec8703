// TTivra's properties: their defaults, the messages they send, what they
// keep while the window does not exist and what a new window is told.
#include "tivra_recorder.h"

#include "component/tivra_groups.h"

#include <gtest/gtest.h>

#include <QMenu>

using app_test::RecordingTivra;
using app_test::Sent;

namespace {

std::string menuText(HMENU menu, int position) {
  char buffer[64] = "";
  GetMenuString(menu, static_cast<UINT>(position), buffer, sizeof buffer, MF_BYPOSITION);
  return buffer;
}

HMENU contextMenu(const TTivra& t) { return reinterpret_cast<HMENU>(SendMessage(t.Handle(), EM_GETHANDLE, 2, 0)); }

TEST(TivraProperties, Defaults) {
  TTivra t;
  EXPECT_FALSE(t.HandleAllocated());
  EXPECT_EQ(t.size(), QSize(185, 89));
  EXPECT_EQ(t.Version(), 209);
  EXPECT_FALSE(t.AutoIndent());
  EXPECT_FALSE(t.CurrentWordAsText());
  EXPECT_TRUE(t.DefaultSelection());
  EXPECT_FALSE(t.MultiLineItems());
  EXPECT_FALSE(t.MultiLineStrings());
  EXPECT_FALSE(t.SingleLineStrings());
  EXPECT_FALSE(t.StartInComments());
  EXPECT_FALSE(t.MacStyleSave());
  EXPECT_FALSE(t.UnixStyleSave());
  EXPECT_FALSE(t.NoPrintDialog());
  EXPECT_FALSE(t.NoPrintProgress());
  EXPECT_TRUE(t.WrapKeys());
  EXPECT_EQ(t.BackColorSelected(), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(t.ForeColorSelected(), GetSysColor(COLOR_HIGHLIGHTTEXT));
  EXPECT_EQ(t.FontColor(), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(t.Color(), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(t.BookmarksMax(), 1);
  EXPECT_EQ(t.BorderStyle(), TBorderStyle::bsSingle);
  EXPECT_TRUE(t.CanChangeFile());
  EXPECT_TRUE(t.CanChangeFont());
  EXPECT_FALSE(t.HasFile());
  EXPECT_EQ(t.CaretWidth(), 0);
  EXPECT_EQ(t.DefaultExt(), "TXT");
  EXPECT_EQ(t.ExtraHorzSpacing(), TTivraSpaceStyle::slNone);
  EXPECT_EQ(t.ExtraVertSpacing(), TTivraSpaceStyle::slNone);
  EXPECT_EQ(t.GroupNumber(), 0);
  EXPECT_EQ(t.HasMenu(), TTivraPopupStyle::psDelphi);
  EXPECT_FALSE(t.Highlight());
  EXPECT_EQ(t.InitializeType(), TTivraInitStyle::isCustom);
  EXPECT_TRUE(t.InsertMode());
  EXPECT_EQ(t.PaintMode(), TTivraPaintStyle::dsNone);
  EXPECT_FALSE(t.ReadOnly());
  EXPECT_EQ(t.ScrollBars(), TTivraScrollStyle::lsNone);
  EXPECT_EQ(t.TabStopSize(), 1);
  EXPECT_EQ(t.UndoDepth(), -1);
  EXPECT_TRUE(t.WantReturns());
  EXPECT_FALSE(t.WantTabs());
  EXPECT_FALSE(t.WordWrap());
  EXPECT_TRUE(t.WordWrapAuto());
  EXPECT_EQ(t.WordWrapWidth(), 0);
  EXPECT_TRUE(t.TabStop());
  EXPECT_EQ(t.ModifiedBit(), 0);
}

TEST(TivraProperties, TheWindowIsMadeFromTheStyleProperties) {
  TTivra plain;
  plain.HandleNeeded();
  ASSERT_TRUE(plain.HandleAllocated());
  const DWORD plainStyle = static_cast<DWORD>(GetWindowLong(plain.Handle(), GWL_STYLE));
  EXPECT_EQ(plainStyle & 0xFFFF, TS_FONTCOMMAND | TS_NEWOPEN);
  EXPECT_TRUE(plainStyle & WS_CHILD);
  EXPECT_TRUE(plainStyle & WS_TABSTOP);
  EXPECT_FALSE(plainStyle & (WS_HSCROLL | WS_VSCROLL | WS_BORDER));
  EXPECT_EQ(static_cast<DWORD>(GetWindowLong(plain.Handle(), GWL_EXSTYLE)), WS_EX_CLIENTEDGE);
  EXPECT_EQ(GetParent(plain.Handle()), plain.NotifyHandle());

  TTivra t;
  t.setHasFile(true);
  t.setCanChangeFile(false);
  t.setCanChangeFont(false);
  t.setHighlight(true);
  t.setPaintMode(TTivraPaintStyle::dsWindowDC);
  t.setReadOnly(true);
  t.setExtraHorzSpacing(TTivraSpaceStyle::slLarge);
  t.setExtraVertSpacing(TTivraSpaceStyle::slSmall);
  t.setScrollBars(TTivraScrollStyle::lsVertical);
  t.setCtl3D(false);
  t.setTabStop(false);
  t.HandleNeeded();
  const DWORD style = static_cast<DWORD>(GetWindowLong(t.Handle(), GWL_STYLE));
  EXPECT_EQ(style & 0xFFFF, TS_FILECOMMANDS | TS_COLOURING | TS_PAINTNOTIFY | TS_READONLY | 0x3000 | 0x4000);
  EXPECT_EQ(style & (WS_HSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP), WS_VSCROLL | WS_BORDER);
  EXPECT_EQ(GetWindowLong(t.Handle(), GWL_EXSTYLE), 0);
  // Later changes of the border and the tab stop reach the window too.
  t.setCtl3D(true);
  t.setTabStop(true);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLong(t.Handle(), GWL_EXSTYLE)), WS_EX_CLIENTEDGE);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLong(t.Handle(), GWL_STYLE)) & (WS_BORDER | WS_TABSTOP), WS_TABSTOP);
}

// Properties set before the window exists are kept and sent to it when it
// is created, in this order.
TEST(TivraProperties, KeptBeforeCreationAndSentInOrder) {
  RecordingTivra t;
  t.setText(QStringLiteral("Blåbær"));
  t.setSelText(QStringLiteral("x"));
  t.setDefaultExt(QStringLiteral("htm"));
  t.setFileMask(QStringLiteral("Sider|*.htm"));
  t.setTabStopSize(4);
  t.setAutoIndent(true);
  t.setUndoDepth(2000);
  t.setSyntax(QStringLiteral("1>1<"));
  t.setItem2AsComment(true);
  t.setExtraComments(true);
  t.setBookmarksMax(5);
  t.setCaretWidth(2);
  t.setStartLine(1);
  t.setStartPos(1);
  t.setEndLine(1);
  t.setEndPos(3);
  t.setInsertMode(false);
  t.setMultiLineItems(true);
  t.setMacStyleSave(true);
  t.setReadOnly(true);
  t.setSingleLineStrings(true);
  t.setWordWrap(true);
  t.setWordWrapWidth(300);
  t.setWrapKeys(false);
  t.setPaintMode(TTivraPaintStyle::dsUseMemoryDC);
  t.setStartInComments(true);
  t.setNoPrintDialog(true);
  t.setWordWrapRMargin(3);
  EXPECT_EQ(t.Text(), "Blåbær");
  EXPECT_EQ(t.UndoDepth(), 2000);

  t.HandleNeeded();
  ASSERT_TRUE(t.HandleAllocated());
  std::vector<Sent> sent = t.takeCommands();
  // The font goes first, then the notify window.
  ASSERT_GE(sent.size(), 2u);
  EXPECT_EQ(sent[0].msg, WM_SETFONT);
  sent.erase(sent.begin());
  using O = WORD;
  const std::vector<UINT> expected = {
      EM_SETHANDLE,   TM_SETTEXT,         EM_REPLACESEL,    TM_SETFILTER,   EM_SETTABSTOPS,      TM_SETOPTIONS,
      TM_SETOPTIONS,  TM_GETMAXUNDODEPTH, TM_SETUNDODEPTH,  TM_SETSYNTAX,   TM_SETBOOKMARKCOUNT, TM_SETCARETWIDTH,
      TM_SETOPTIONS,  TM_SETSEL,          TM_SETINSERTMODE, TM_SETOPTIONS,  TM_SETOPTIONS,       TM_SETOPTIONS,
      EM_SETREADONLY, TM_SETOPTIONS,      TM_SETOPTIONS,    TM_SETWORDWRAP, TM_SETOPTIONS,       TM_SETPAINTNOTIFY,
      TM_SETOPTIONS,  TM_SETOPTIONS,      TM_SETOPTIONS,    TM_SETLAYOUT,   EM_GETHANDLE};
  ASSERT_EQ(RecordingTivra::ids(sent), expected);
  EXPECT_EQ(sent[0].wParam, 1000u);
  EXPECT_EQ(sent[0].lParam, reinterpret_cast<LPARAM>(t.NotifyHandle()));
  EXPECT_EQ(sent[1].wParam, 1u);
  EXPECT_EQ(sent[1].text,
            "Bl\xE5"
            "b\xE6r");
  EXPECT_EQ(sent[2].text, "x");
  EXPECT_EQ(sent[3].text, "HTM/Sider/*.htm/");
  EXPECT_EQ(sent[4].wParam, 4u);
  EXPECT_EQ(sent[5].wParam, O{TivraOption::DefaultSelection});
  EXPECT_EQ(sent[6].wParam, O{TivraOption::AutoIndent});
  EXPECT_EQ(sent[8].wParam, 909u);
  EXPECT_EQ(sent[9].wParam, 2u | 0x300u);  // two items, both flags
  EXPECT_EQ(sent[9].items, (std::vector<WORD>{'>', '<'}));
  EXPECT_EQ(sent[10].wParam, 5u);
  EXPECT_EQ(sent[11].wParam, 2u);
  EXPECT_EQ(sent[12].wParam, 0u);
  EXPECT_EQ(sent[12].lParam, O{TivraOption::CurrentWordAsText});  // cleared
  EXPECT_EQ(sent[13].range, (TivraRange{1, 3, 1, 1}));
  EXPECT_EQ(sent[14].wParam, 0u);  // overwrite
  EXPECT_EQ(sent[15].wParam, O{TivraOption::MultiLineItems});
  EXPECT_EQ(sent[16].lParam, O{TivraOption::MultiLineStrings});
  EXPECT_EQ(sent[17].wParam, O{TivraOption::MacStyleSave});
  EXPECT_EQ(sent[18].wParam, 1u);
  EXPECT_EQ(sent[19].wParam, O{TivraOption::SingleLineStrings});
  EXPECT_EQ(sent[20].lParam, O{TivraOption::UnixStyleSave});
  EXPECT_EQ(sent[21].wParam, TIVRA_WRAP_ON | TIVRA_WRAP_FIXEDWIDTH | TIVRA_WRAP_AUTOBREAK);
  EXPECT_EQ(sent[21].lParam, 300);
  EXPECT_EQ(sent[22].lParam, O{TivraOption::WrapKeys});
  EXPECT_EQ(sent[23].wParam, 1u);
  EXPECT_EQ(sent[24].wParam, O{TivraOption::StartInComments});
  EXPECT_EQ(sent[25].wParam, O{TivraOption::NoPrintDialog});
  EXPECT_EQ(sent[26].lParam, O{TivraOption::NoPrintProgress});
  EXPECT_EQ(sent[27].lParam, 3 << 8);
  EXPECT_EQ(sent[28].wParam, 2u);

  EXPECT_EQ(t.UndoDepth(), 909);
  EXPECT_EQ(t.Text().size(), 7);  // the stored text and the selection text
  EXPECT_FALSE(t.InsertMode());
}

TEST(TivraProperties, ANewWindowWithAnEmptyTextIsNotModified) {
  TTivra t;
  t.HandleNeeded();
  EXPECT_FALSE(t.Modified());
  EXPECT_EQ(t.Text(), "");
}

TEST(TivraProperties, UndoDepthBecomesTheWindowsLargestWhenOutOfRange) {
  RecordingTivra t;
  t.HandleNeeded();
  t.take();
  t.setUndoDepth(2000);
  EXPECT_EQ(RecordingTivra::ids(t.takeCommands()), (std::vector<UINT>{TM_GETMAXUNDODEPTH, TM_SETUNDODEPTH}));
  EXPECT_EQ(t.UndoDepth(), 909);
  t.setUndoDepth(-5);
  EXPECT_EQ(t.UndoDepth(), 909);
  t.setUndoDepth(100);
  EXPECT_EQ(t.UndoDepth(), 100);
  t.setUndoDepth(0);  // the window's smallest
  EXPECT_EQ(t.UndoDepth(), 1);
}

TEST(TivraProperties, OneOfSingleAndMultiLineStrings) {
  RecordingTivra t;
  t.HandleNeeded();
  t.setMultiLineStrings(true);
  t.take();
  t.setSingleLineStrings(true);
  std::vector<Sent> sent = t.takeCommands();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].wParam, 0u);  // MultiLineStrings cleared first
  EXPECT_EQ(sent[0].lParam, TivraOption::MultiLineStrings);
  EXPECT_EQ(sent[1].wParam, TivraOption::SingleLineStrings);
  EXPECT_FALSE(t.MultiLineStrings());
  EXPECT_TRUE(t.SingleLineStrings());
  t.setMultiLineStrings(true);
  EXPECT_FALSE(t.SingleLineStrings());
  EXPECT_TRUE(t.MultiLineStrings());
}

TEST(TivraProperties, PrintJobNameIsAnsweredAndLongNamesKeep79) {
  TTivra t;
  EXPECT_EQ(SendMessage(t.NotifyHandle(), TM_PRINTJOBNAME, 0, 0), 0);
  t.setPrintJobName(QString(100, QLatin1Char('a')));
  EXPECT_EQ(t.PrintJobName().size(), 79);
  t.setPrintJobName(QString(80, QLatin1Char('b')));
  EXPECT_EQ(t.PrintJobName().size(), 80);
  t.setPrintJobName(QStringLiteral("Søren"));
  const auto* answer = reinterpret_cast<const char*>(SendMessage(t.NotifyHandle(), TM_PRINTJOBNAME, 0, 0));
  ASSERT_NE(answer, nullptr);
  EXPECT_STREQ(answer, "S\xF8ren");
}

TEST(TivraProperties, SettingsThatTravelTogetherInOneMessage) {
  RecordingTivra t;
  t.HandleNeeded();
  t.take();
  t.setExtraHorzSpacing(TTivraSpaceStyle::slLarge);
  t.setExtraVertSpacing(TTivraSpaceStyle::slSmall);
  t.setScrollBars(TTivraScrollStyle::lsBoth);
  t.setWordWrapRMargin(20);  // at most 15
  std::vector<Sent> sent = t.takeCommands();
  ASSERT_EQ(sent.size(), 4u);
  EXPECT_EQ(sent.back().msg, TM_SETLAYOUT);
  EXPECT_EQ(sent.back().lParam, 6 | 2 << 4 | 15 << 8 | TIVRA_LAYOUT_HSCROLL | TIVRA_LAYOUT_VSCROLL);

  t.setWordWrap(true);
  t.setWordWrapWidth(250);
  t.setWordWrapAuto(false);
  sent = t.takeCommands();
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0].wParam, TIVRA_WRAP_ON | TIVRA_WRAP_AUTOBREAK);
  EXPECT_EQ(sent[1].wParam, TIVRA_WRAP_ON | TIVRA_WRAP_AUTOBREAK | TIVRA_WRAP_FIXEDWIDTH);
  EXPECT_EQ(sent[2].wParam, TIVRA_WRAP_ON | TIVRA_WRAP_FIXEDWIDTH);
  EXPECT_EQ(sent[2].lParam, 250);

  t.setSyntax(QStringLiteral("2\"\"001>1<001/"));
  t.setItem2AsComment(true);
  t.setSyntax(QString());
  sent = t.takeCommands();
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0].wParam, 8u);
  EXPECT_EQ(sent[0].items.size(), 8u);
  EXPECT_EQ(sent[1].wParam, 8u | 0x100u);
  // No description: the window's built-in table.
  EXPECT_EQ(sent[2].wParam, 0x100u);
  EXPECT_EQ(sent[2].lParam, 0);
}

TEST(TivraProperties, RangesAreKeptInTheirLimits) {
  RecordingTivra t;
  t.HandleNeeded();
  t.take();
  t.setBookmarksMax(300);
  t.setTabStopSize(0);
  t.setTabStopSize(41);
  t.setDefaultExt(QStringLiteral("shtml"));
  t.setStartLine(-4);
  t.setEndLine(0);
  std::vector<Sent> sent = t.takeCommands();
  ASSERT_EQ(sent.size(), 4u);
  EXPECT_EQ(sent[0].wParam, 256u);
  EXPECT_EQ(sent[1].wParam, 1u);
  EXPECT_EQ(sent[2].wParam, 40u);
  EXPECT_EQ(sent[3].text, "SHT/");
  EXPECT_EQ(t.StartLine(), 1);
  EXPECT_EQ(t.EndLine(), 1);
}

TEST(TivraProperties, TextIsReadWithoutTheCopyWhenEmptyAndKeepsItsBytes) {
  RecordingTivra t;
  t.HandleNeeded();
  t.take();
  EXPECT_EQ(t.Text(), "");
  EXPECT_EQ(RecordingTivra::ids(t.takeCommands()), (std::vector<UINT>{TM_GETTEXTLENGTH}));

  // Every byte survives, also those Windows-1252 leaves unassigned.
  const std::string bytes = "a\x81\x8D\xE6\r\n\xFF\x80";
  t.setTextBytes(bytes);
  t.take();
  EXPECT_EQ(t.TextBytes(), bytes);
  EXPECT_EQ(RecordingTivra::ids(t.takeCommands()), (std::vector<UINT>{TM_GETTEXTLENGTH, TM_GETTEXT}));
  EXPECT_EQ(t.Text(), QStringLiteral("a\u0081\u008D\u00E6\r\n\u00FF\u20AC"));

  t.take();
  t.setText(QString());
  EXPECT_EQ(RecordingTivra::ids(t.takeCommands()), (std::vector<UINT>{WM_CLEAR}));
  EXPECT_EQ(t.TextBytes(), "");
}

TEST(TivraProperties, ContextMenuFollowsCanChangeFileCanChangeFontAndHasFile) {
  auto owned = std::make_unique<TTivra>();
  TTivra& t = *owned;
  t.setHasFile(true);
  t.HandleNeeded();
  HMENU context = contextMenu(t);
  ASSERT_NE(context, nullptr);
  HMENU file = GetSubMenu(context, 0);
  HMENU functions = GetSubMenu(context, GetMenuItemCount(context) - 1);
  EXPECT_EQ(GetMenuItemID(file, 0), TCMD_NEW);

  t.setCanChangeFile(false);
  EXPECT_EQ(GetMenuState(file, TCMD_NEW, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_EQ(GetMenuState(file, TCMD_OPEN, MF_BYCOMMAND), static_cast<UINT>(-1));
  t.setCanChangeFile(true);
  EXPECT_EQ(GetMenuItemID(file, 0), TCMD_NEW);
  EXPECT_EQ(menuText(file, 0), "&New");
  EXPECT_EQ(GetMenuItemID(file, 1), TCMD_OPEN);

  t.setCanChangeFont(false);
  EXPECT_EQ(GetMenuState(functions, TCMD_FONT, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_NE(GetMenuItemID(functions, 0), 0u);  // its separator went too
  t.setCanChangeFont(true);
  EXPECT_EQ(menuText(functions, 0), "Change &Font ...");
  EXPECT_EQ(GetMenuItemID(functions, 1), 0u);

  const int popups = GetMenuItemCount(context);
  t.setHasFile(false);
  EXPECT_EQ(GetMenuItemCount(context), popups - 1);
  EXPECT_NE(GetSubMenu(context, 0), file);
  t.setHasFile(true);
  EXPECT_EQ(GetSubMenu(context, 0), file);
  EXPECT_EQ(menuText(context, 0), "&File");

  // A file popup out of the menu when the window goes is not left behind.
  t.setHasFile(false);
  owned.reset();
  EXPECT_FALSE(IsMenu(file));
}

TEST(TivraProperties, TheFontCommandFollowsCanChangeFontAlsoWithoutFileCommands) {
  TTivra t;
  t.HandleNeeded();
  HMENU context = contextMenu(t);
  HMENU functions = GetSubMenu(context, GetMenuItemCount(context) - 1);
  ASSERT_EQ(GetMenuItemID(functions, 0), TCMD_FONT);
  t.setCanChangeFont(false);
  EXPECT_EQ(GetMenuState(functions, TCMD_FONT, MF_BYCOMMAND), static_cast<UINT>(-1));
  // The other popups are untouched.
  EXPECT_EQ(GetMenuItemID(GetSubMenu(context, 0), 0), TCMD_UNDO);
}

TEST(TivraProperties, EditorsWithOneGroupNumberShareAGroupWindow) {
  auto a = std::make_unique<TTivra>();
  auto b = std::make_unique<TTivra>();
  TTivra alone;
  a->setGroupNumber(7);
  a->HandleNeeded();
  b->HandleNeeded();
  b->setGroupNumber(7);
  alone.HandleNeeded();
  HWND group = tivraGroupWindow(7);
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(SendMessage(a->Handle(), EM_GETHANDLE, TIVRA_HANDLE_GROUP, 0), reinterpret_cast<LRESULT>(group));
  EXPECT_EQ(SendMessage(b->Handle(), EM_GETHANDLE, TIVRA_HANDLE_GROUP, 0), reinterpret_cast<LRESULT>(group));
  EXPECT_EQ(SendMessage(alone.Handle(), EM_GETHANDLE, TIVRA_HANDLE_GROUP, 0), 0);

  // One member going leaves the group and the other editor alone.
  HWND bEditor = b->Handle();
  a.reset();
  EXPECT_TRUE(IsWindow(group));
  EXPECT_TRUE(IsWindow(bEditor));
  b.reset();
  EXPECT_FALSE(IsWindow(group));
  EXPECT_EQ(tivraGroupWindow(7), nullptr);
}

TEST(TivraProperties, FontEnabledStateAndSizeReachTheWindow) {
  RecordingTivra t;
  t.HandleNeeded();
  t.take();
  QFont font(QStringLiteral("DejaVu Sans Mono"));
  font.setPixelSize(17);
  font.setBold(true);
  t.setFont(font);
  std::vector<Sent> sent = t.takeCommands();
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent[0].msg, WM_SETFONT);
  LOGFONT lf{};
  ASSERT_GT(GetObject(reinterpret_cast<HGDIOBJ>(sent[0].wParam), sizeof lf, &lf), 0);
  EXPECT_STREQ(lf.lfFaceName, "DejaVu Sans Mono");
  EXPECT_EQ(lf.lfHeight, -17);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);

  t.setEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(t.Handle()));
  t.setEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(t.Handle()));

  t.show();
  t.resize(300, 200);
  RECT r{};
  GetWindowRect(t.Handle(), &r);
  EXPECT_EQ(r.right - r.left, 300);
  EXPECT_EQ(r.bottom - r.top, 200);
}

TEST(TivraProperties, TheComponentTakesItsWindowsWithIt) {
  auto t = std::make_unique<TTivra>();
  t->HandleNeeded();
  HWND editor = t->Handle();
  HWND self = t->NotifyHandle();
  t.reset();
  EXPECT_FALSE(IsWindow(editor));
  EXPECT_FALSE(IsWindow(self));
}

}  // namespace
