// Shared state of the stand-in: the window and class tables and the pieces
// that several parts of it reach (surfaces for painting, scroll state).
// Not installed; only the platform's own sources include it.
#pragma once

#include "ascii.h"
#include "host.h"
#include "win32.h"

#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform::detail {

class HostWidget;

struct WindowClass {
  std::string name;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int extraBytes = 0;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  HICON icon = nullptr;
};

struct ScrollState {
  int min = 0;
  int max = 100;
  UINT page = 0;
  int pos = 0;
  int trackPos = 0;
};

// Case-insensitive ordering for class and property names, as Windows does.
struct NoCaseLess {
  bool operator()(const std::string& a, const std::string& b) const { return ascii::lessIgnoringCase(a, b); }
};

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> cls;
  WNDPROC proc = nullptr;
  WindowHandler handler;  // a procedure supplied by Qt code instead of proc
  HWND parent = nullptr;
  std::vector<HWND> children;
  DWORD style = 0;
  DWORD exStyle = 0;
  LONG_PTR id = 0;
  LONG_PTR userData = 0;
  HINSTANCE instance = nullptr;
  HMENU menu = nullptr;
  std::vector<unsigned char> extra;
  std::string text;
  std::map<std::string, HANDLE, NoCaseLess> props;
  ScrollState scroll[2];

  // The widget that shows the window: our own HostWidget, or a widget that
  // Qt code owns (attachWindow). Message windows have none.
  QPointer<QWidget> widget;
  bool ownsWidget = false;
  HostWidget* host = nullptr;  // set when widget is our HostWidget

  // Geometry of a window without a widget (message windows).
  RECT bounds{0, 0, 0, 0};
  SIZE lastClientSize{-1, -1};

  // Painting
  QImage surface;  // backing store of the client area
  QRegion updateRegion;
  bool eraseBackground = false;
  bool created = false;  // WM_CREATE succeeded; WM_SIZE may follow
  bool destroying = false;
};

Window* find(HWND hwnd);
LRESULT deliver(Window& w, UINT msg, WPARAM wParam, LPARAM lParam);

// Client-area geometry and painting support
RECT clientRect(const Window& w);
QPoint clientOrigin(const Window& w);  // client (0,0) in widget coordinates
void syncClientSize(Window& w);        // sends WM_SIZE when the client size changed
QImage& surfaceOf(Window& w);          // sized to the client area
void paintPending(Window& w);          // sends WM_PAINT when something is invalid

// Input state
void noteModifiers(Qt::KeyboardModifiers modifiers);
void setKeyStateBit(int vk, bool down);
void focusChangedTo(HWND hwnd);  // Qt moved the focus to (or away from) a host
HWND focusWindow();
HWND captureWindow();

// Timers and the queue
void killTimersOf(HWND hwnd);
void dropMessagesOf(HWND hwnd);

// Carets
void caretWindowDestroyed(HWND hwnd);
void drawCaret(HWND hwnd, class QPainter& painter);

// Scroll bars
void layoutScrollBars(Window& w);

// Cursors
Qt::CursorShape cursorShape(HCURSOR cursor);

// GDI: device contexts over a window's surface
bool deviceInUse(const QPaintDevice* device);  // a painter is active on it
HDC createWindowDC(Window& w, const QRegion* clip);
void releaseWindowDC(HDC hdc);
QColor toQColor(COLORREF color);
COLORREF fromQColor(const QColor& color);

// Menus
class QMenu* buildQMenu(HMENU menu, HWND owner, QWidget* parent);

// Text for a caller's buffer of `capacity` bytes, the way the Win32 text
// getters give it: as much as fits before a terminating zero. Returns the
// bytes copied; 0 without a buffer or room.
inline size_t copyToBuffer(std::string_view text, char* buffer, int64_t capacity) {
  if (!buffer || capacity <= 0) return 0;
  const size_t n = std::min(text.size(), static_cast<size_t>(capacity - 1));
  std::memcpy(buffer, text.data(), n);
  buffer[n] = 0;
  return n;
}

}  // namespace platform::detail
