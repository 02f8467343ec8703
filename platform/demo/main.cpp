// A small program on the Windows stand-in alone: a top-level window whose
// procedure paints text in two colours, counts keys and ticks a timer.
// Run it with ./morvel run before the editor exists, or build/platform/win32demo.
#include "win32.h"

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int g_ticks = 0;
std::string g_typed;

LRESULT CALLBACK demoProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      SetTimer(hwnd, 1, 500, nullptr);
      return 0;
    case WM_TIMER:
      ++g_ticks;
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_CHAR:
      if (wParam == 8 && !g_typed.empty())
        g_typed.pop_back();
      else if (wParam >= 32)
        g_typed += static_cast<char>(wParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) PostMessage(hwnd, WM_CLOSE, 0, 0);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT r;
      GetClientRect(hwnd, &r);
      FillRect(dc, &r, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1)));
      LOGFONT lf{};
      lf.lfHeight = -16;
      lf.lfWeight = FW_NORMAL;
      std::strcpy(lf.lfFaceName, "Courier New");
      HFONT font = CreateFontIndirect(&lf);
      HGDIOBJ old = SelectObject(dc, font);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(0, 0, 160));
      const char* title = "Morvel stand-in: skriv noget, Esc lukker";
      TextOut(dc, 10, 10, title, static_cast<int>(std::strlen(title)));
      SetTextColor(dc, RGB(200, 0, 0));
      char line[64];
      std::snprintf(line, sizeof line, "Tik: %d", g_ticks);
      TextOut(dc, 10, 40, line, static_cast<int>(std::strlen(line)));
      SetTextColor(dc, RGB(0, 120, 0));
      TextOut(dc, 10, 70, g_typed.c_str(), static_cast<int>(g_typed.size()));
      SelectObject(dc, old);
      DeleteObject(font);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  WNDCLASS wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = demoProc;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = "MorvelDemo";
  RegisterClass(&wc);
  HWND hwnd = CreateWindowEx(0, "MorvelDemo", "Morvel demo", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 480,
                             160, nullptr, nullptr, nullptr, nullptr);
  ShowWindow(hwnd, SW_SHOW);
  SetFocus(hwnd);
  MSG msg;
  while (GetMessage(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  return static_cast<int>(msg.wParam);
}
