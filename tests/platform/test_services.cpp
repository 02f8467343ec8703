// GDI, menus, clipboard, memory, the interaction seam and Windows-1252.
#include "cp1252.h"
#include "interaction.h"
#include "qtext.h"
#include "scripted_responder.h"
#include "win32.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include <cstring>

#include <unistd.h>

namespace {

using testing_support::ScriptedResponder;

// ---------------------------------------------------------------------------
// GDI

struct MemoryCanvas {
  MemoryCanvas(int w, int h) {
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateCompatibleBitmap(dc, w, h);
    old = SelectObject(dc, bitmap);
    RECT r{0, 0, w, h};
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(dc, &r, white);
    DeleteObject(white);
  }
  ~MemoryCanvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
};

HFONT courier(int points) {
  LOGFONT lf{};
  lf.lfHeight = -MulDiv(points, 96, 72);
  lf.lfWeight = FW_NORMAL;
  lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  std::strcpy(lf.lfFaceName, "Courier New");
  return CreateFontIndirect(&lf);
}

TEST(Gdi, RedTextOnAMemoryBitmapIsRedWhereTheTextIs) {
  MemoryCanvas canvas(200, 40);
  HFONT font = courier(14);
  HGDIOBJ oldFont = SelectObject(canvas.dc, font);
  SetTextColor(canvas.dc, RGB(255, 0, 0));
  SetBkColor(canvas.dc, RGB(0, 0, 255));
  SetBkMode(canvas.dc, OPAQUE);
  EXPECT_TRUE(TextOut(canvas.dc, 10, 5, "MMMM", 4));
  SIZE extent;
  GetTextExtentPoint32(canvas.dc, "MMMM", 4, &extent);
  int red = 0, blue = 0, other = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 200; ++x) {
      COLORREF c = GetPixel(canvas.dc, x, y);
      const bool inside = x >= 10 && x < 10 + extent.cx && y >= 5 && y < 5 + extent.cy;
      if (!inside) {
        EXPECT_EQ(c, RGB(255, 255, 255)) << "outside the text at " << x << "," << y;
        continue;
      }
      if (c == RGB(255, 0, 0))
        ++red;
      else if (c == RGB(0, 0, 255))
        ++blue;
      else
        ++other;
    }
  }
  EXPECT_GT(red, 40) << "the glyphs are drawn in the text colour";
  EXPECT_GT(blue, red) << "the opaque background fills the rest of the cell";
  // Transparent mode leaves the background alone.
  SetBkMode(canvas.dc, TRANSPARENT);
  RECT r{0, 0, 200, 40};
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  FillRect(canvas.dc, &r, white);
  DeleteObject(white);
  TextOut(canvas.dc, 10, 5, "MMMM", 4);
  int blueNow = 0;
  for (int y = 5; y < 5 + extent.cy; ++y)
    for (int x = 10; x < 10 + extent.cx; ++x) blueNow += GetPixel(canvas.dc, x, y) == RGB(0, 0, 255);
  EXPECT_EQ(blueNow, 0);
  SelectObject(canvas.dc, oldFont);
  DeleteObject(font);
}

TEST(Gdi, CourierNewTenPointHasPlausibleMetricsAndAllWidths) {
  MemoryCanvas canvas(10, 10);
  HFONT font = courier(10);
  SelectObject(canvas.dc, font);
  TEXTMETRIC tm;
  ASSERT_TRUE(GetTextMetrics(canvas.dc, &tm));
  EXPECT_GE(tm.tmHeight, 12);
  EXPECT_LE(tm.tmHeight, 20);
  EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
  EXPECT_GE(tm.tmAveCharWidth, 6);
  EXPECT_LE(tm.tmAveCharWidth, 10);
  EXPECT_FALSE(tm.tmPitchAndFamily & TMPF_FIXED_PITCH) << "clear means fixed pitch";
  int widths[256];
  ASSERT_TRUE(GetCharWidth32(canvas.dc, 0, 255, widths));
  for (int c = 'A'; c <= 'z'; ++c) EXPECT_EQ(widths[c], tm.tmAveCharWidth) << c;
  EXPECT_EQ(widths[0xE6], tm.tmAveCharWidth);  // æ
  LOGFONT back{};
  EXPECT_EQ(GetObject(font, sizeof back, &back), static_cast<int>(sizeof back));
  EXPECT_STREQ(back.lfFaceName, "Courier New");
  EXPECT_EQ(back.lfHeight, -13);
  SelectObject(canvas.dc, GetStockObject(SYSTEM_FONT));
  DeleteObject(font);
}

TEST(Gdi, BlitClipAndSavedStates) {
  MemoryCanvas source(20, 20);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT all{0, 0, 20, 20};
  FillRect(source.dc, &all, red);
  MemoryCanvas dest(40, 40);
  int saved = SaveDC(dest.dc);
  EXPECT_EQ(IntersectClipRect(dest.dc, 0, 0, 10, 40), SIMPLEREGION);
  EXPECT_TRUE(BitBlt(dest.dc, 5, 5, 20, 20, source.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(GetPixel(dest.dc, 6, 6), RGB(255, 0, 0));
  RECT box;
  GetClipBox(dest.dc, &box);
  EXPECT_EQ(box.right, 10);
  EXPECT_TRUE(RestoreDC(dest.dc, saved));
  EXPECT_EQ(GetPixel(dest.dc, 15, 15), RGB(255, 255, 255)) << "clipped away";
  BitBlt(dest.dc, 5, 5, 20, 20, source.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(GetPixel(dest.dc, 15, 15), RGB(255, 0, 0));
  // A bitmap selected into a DC cannot be deleted.
  EXPECT_FALSE(DeleteObject(source.bitmap));
  DeleteObject(red);
}

// ---------------------------------------------------------------------------
// Menus

TEST(Menus, StatesReadBackAsSet) {
  HMENU bar = CreateMenu();
  HMENU edit = CreatePopupMenu();
  AppendMenu(edit, MF_STRING, 1011, "&Fortryd");
  AppendMenu(edit, MF_SEPARATOR, 0, nullptr);
  AppendMenu(edit, MF_STRING, 1013, "&Klip");
  AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Rediger");
  EXPECT_EQ(GetMenuItemCount(edit), 3);
  EXPECT_EQ(GetMenuItemID(edit, 2), 1013u);
  EXPECT_EQ(GetMenuItemID(edit, 1), 0u);
  EXPECT_EQ(GetMenuItemID(bar, 0), static_cast<UINT>(-1));
  EXPECT_EQ(GetSubMenu(bar, 0), edit);
  EnableMenuItem(bar, 1013, MF_BYCOMMAND | MF_GRAYED);  // found inside the popup
  CheckMenuItem(edit, 1011, MF_CHECKED);
  EXPECT_EQ(GetMenuState(edit, 1013, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
  EXPECT_EQ(GetMenuState(edit, 1011, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
  EXPECT_EQ(GetMenuState(edit, 1011, MF_BYCOMMAND) & MF_GRAYED, 0u);
  EXPECT_EQ(GetMenuState(bar, 0, MF_BYPOSITION) >> 8, 3u) << "a popup reports its item count";
  EXPECT_EQ(GetMenuState(edit, 4711, MF_BYCOMMAND), static_cast<UINT>(-1));
  char text[32];
  EXPECT_EQ(GetMenuString(bar, 0, text, sizeof text, MF_BYPOSITION), 8);
  EXPECT_STREQ(text, "&Rediger");
  EXPECT_EQ(GetMenuString(bar, 0, text, 3, MF_BYPOSITION), 2) << "cut to the buffer, with its zero";
  EXPECT_STREQ(text, "&R");
  InsertMenu(edit, 0, MF_BYPOSITION | MF_STRING, 1001, "&Ny");
  EXPECT_EQ(GetMenuItemID(edit, 0), 1001u);
  EXPECT_TRUE(DeleteMenu(edit, 1001, MF_BYCOMMAND));
  EXPECT_EQ(GetMenuItemCount(edit), 3);
  EXPECT_TRUE(DestroyMenu(bar));
  EXPECT_FALSE(IsMenu(edit)) << "destroying a menu destroys its popups";
}

LRESULT CALLBACK menuOwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITMENUPOPUP) EnableMenuItem(reinterpret_cast<HMENU>(wParam), 2, MF_GRAYED);
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

TEST(Menus, TrackedPopupAsksTheSeamAfterTheOwnerSetsStates) {
  WNDCLASS wc{};
  wc.lpfnWndProc = menuOwnerProc;
  wc.lpszClassName = "MenuOwner";
  RegisterClass(&wc);
  HWND owner =
      CreateWindowEx(0, "MenuOwner", "", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  HMENU popup = CreatePopupMenu();
  AppendMenu(popup, MF_STRING, 1, "Et");
  AppendMenu(popup, MF_STRING, 2, "To");
  ScriptedResponder seam;
  seam.answer([&](platform::Request& r) {
    EXPECT_EQ(r.kind, platform::RequestKind::PopupMenu);
    EXPECT_EQ(r.menu, popup);
    EXPECT_EQ(GetMenuState(popup, 2, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
    return 1;
  });
  seam.answer(2);  // greyed: choosing it gives nothing
  EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, 0, 0, 0, owner, nullptr), 1);
  EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, 0, 0, 0, owner, nullptr), 0);
  DestroyMenu(popup);
  DestroyWindow(owner);
}

// ---------------------------------------------------------------------------
// Clipboard and global memory

TEST(Clipboard, TextGoesThroughTheRealClipboardByteForByte) {
  const std::string text = "Bl\xe5\x62\xe6r\r\nline \x80\x9f";
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  ASSERT_NE(h, nullptr);
  std::memcpy(GlobalLock(h), text.c_str(), text.size() + 1);
  GlobalUnlock(h);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_FALSE(OpenClipboard(nullptr)) << "only one opener at a time";
  EXPECT_TRUE(EmptyClipboard());
  EXPECT_EQ(SetClipboardData(CF_TEXT, h), h);
  EXPECT_TRUE(CloseClipboard());
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("Blåbær\nline €Ÿ"));

  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE got = GetClipboardData(CF_TEXT);
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(std::string(static_cast<const char*>(GlobalLock(got))), text);
  GlobalUnlock(got);
  CloseClipboard();

  // Text another program put there arrives with CR LF and in the code page.
  QGuiApplication::clipboard()->setText(QString::fromUtf8("æ\nø"));
  ASSERT_TRUE(OpenClipboard(nullptr));
  got = GetClipboardData(CF_TEXT);
  EXPECT_EQ(std::string(static_cast<const char*>(GlobalLock(got))), "\xe6\r\n\xf8");
  GlobalUnlock(got);
  CloseClipboard();
}

TEST(GlobalMemory, MovableBlocksLockAndFree) {
  HGLOBAL h = GlobalAlloc(GHND, 100);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GlobalSize(h), 100u);
  auto* p = static_cast<unsigned char*>(GlobalLock(h));
  EXPECT_EQ(p[99], 0) << "zero-initialised";
  EXPECT_FALSE(GlobalUnlock(h));
  EXPECT_EQ(GlobalFree(h), nullptr);
  EXPECT_EQ(GlobalSize(h), 0u);
  EXPECT_EQ(GlobalLock(h), nullptr);
}

// ---------------------------------------------------------------------------
// Virtual memory

TEST(VirtualMemory, ReserveCommitDecommitRecommitReadsZero) {
  const SIZE_T total = 64u << 20;
  const SIZE_T piece = 64u << 10;
  auto* base = static_cast<unsigned char*>(VirtualAlloc(nullptr, total, MEM_RESERVE, PAGE_NOACCESS));
  ASSERT_NE(base, nullptr);
  for (SIZE_T off = 0; off < total; off += piece * 16) {
    ASSERT_EQ(VirtualAlloc(base + off, piece, MEM_COMMIT, PAGE_READWRITE), base + off);
    std::memset(base + off, 0xAB, piece);
  }
  EXPECT_EQ(base[piece * 16 + 17], 0xAB);
  for (SIZE_T off = 0; off < total; off += piece * 16) EXPECT_TRUE(VirtualFree(base + off, piece, MEM_DECOMMIT));
  for (SIZE_T off = 0; off < total; off += piece * 16) {
    ASSERT_NE(VirtualAlloc(base + off, piece, MEM_COMMIT, PAGE_READWRITE), nullptr);
    for (SIZE_T i = 0; i < piece; i += 4096) ASSERT_EQ(base[off + i], 0);
    EXPECT_EQ(base[off + piece - 1], 0);
  }
  EXPECT_EQ(VirtualAlloc(base + total, piece, MEM_COMMIT, PAGE_READWRITE), nullptr) << "outside the reservation";
  EXPECT_FALSE(VirtualFree(base + piece, 0, MEM_RELEASE)) << "release needs the base";
  EXPECT_TRUE(VirtualFree(base, 0, MEM_RELEASE));
}

// A library releases its reservation from its unload handler, which runs
// after the program's static objects are destroyed: the stand-in must still
// know the reservation then.
LPVOID g_reservedUntilUnload = nullptr;

__attribute__((destructor)) void releaseAtUnload() {
  if (g_reservedUntilUnload && !VirtualFree(g_reservedUntilUnload, 0, MEM_RELEASE)) _exit(3);
}

TEST(VirtualMemory, AReservationCanBeReleasedWhenTheProgramUnloads) {
  g_reservedUntilUnload = VirtualAlloc(nullptr, 1u << 20, MEM_RESERVE, PAGE_NOACCESS);
  ASSERT_NE(g_reservedUntilUnload, nullptr);
}

// ---------------------------------------------------------------------------
// The interaction seam

TEST(Seam, ScriptedMessageBoxAnswerArrivesWithItsTextRecorded) {
  ScriptedResponder seam;
  seam.answer(IDNO);
  int answer = MessageBox(nullptr, "Filen A.HTM er \xe6ndret.\r\n\xd8nsker du at gemme filen?", "Tivra V2.09 (32-bit)",
                          MB_YESNOCANCEL | MB_ICONQUESTION);
  EXPECT_EQ(answer, IDNO);
  ASSERT_EQ(seam.seen().size(), 1u);
  EXPECT_EQ(seam.last().kind, platform::RequestKind::MessageBox);
  EXPECT_EQ(seam.last().caption, QString::fromUtf8("Tivra V2.09 (32-bit)"));
  EXPECT_EQ(seam.last().text, QString::fromUtf8("Filen A.HTM er ændret.\r\nØnsker du at gemme filen?"));
  EXPECT_EQ(seam.last().flags & MB_ICONMASK, MB_ICONQUESTION);
  EXPECT_EQ(seam.last().flags & MB_TYPEMASK, MB_YESNOCANCEL);
}

TEST(Seam, AnUnscriptedRequestFailsTheTestInsteadOfBlocking) {
  int answer = 0;
  EXPECT_NONFATAL_FAILURE(
      {
        ScriptedResponder seam;
        answer = MessageBox(nullptr, "Hvad nu?", "Morvel", MB_YESNOCANCEL);
      },
      "unexpected request");
  EXPECT_EQ(answer, IDCANCEL);
}

// ---------------------------------------------------------------------------
// Windows-1252

TEST(Cp1252, EveryByteSurvivesUnicodeAndBack) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(platform::toCp1252(platform::fromCp1252(all)), all);
  EXPECT_EQ(platform::cp1252FromUtf8(platform::utf8FromCp1252(all)), all);
  EXPECT_EQ(platform::fromCp1252("\x80\x8a\x9f"), QString::fromUtf8("€ŠŸ"));
  EXPECT_EQ(platform::utf8FromCp1252("Bl\xe5\x62\xe6r"), "Blåbær");
}

TEST(Cp1252, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(platform::toCp1252(QString::fromUtf8("a→b😀c")), "a?b?c");
  EXPECT_EQ(platform::cp1252FromUtf8("x\xff\xfey"), "x??y") << "malformed UTF-8";
  EXPECT_EQ(platform::cp1252FromUtf8("ÆØÅ"), "\xc6\xd8\xc5");
}

}  // namespace
