// Windows as objects in one process-wide handle table: classes, creation
// and destruction, window data, the default procedure, geometry, showing,
// focus and capture.
#include "host_widget.h"
#include "internal.h"
#include "qtext.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace platform::detail {

namespace {

struct Tables {
  std::map<std::string, std::shared_ptr<WindowClass>, NoCaseLess> classes;
  std::unordered_map<uintptr_t, std::unique_ptr<Window>> windows;
  // Handles are never reused, so a stale handle stays invalid. They fit in
  // 32 bits, as handles stored in 32-bit fields must.
  uintptr_t nextHandle = 0x10010;
  HWND focus = nullptr;
  HWND capture = nullptr;
};

Tables& tables() {
  static Tables& t = *new Tables;  // process-wide, never torn down
  return t;
}

HWND newHandle() {
  Tables& t = tables();
  HWND h = reinterpret_cast<HWND>(t.nextHandle);
  t.nextHandle += 4;
  return h;
}

std::string cpString(LPCSTR s) { return s ? std::string(s) : std::string(); }

bool isIntAtom(LPCSTR name) { return IS_INTRESOURCE(name); }

std::string propKey(LPCSTR name) {
  if (isIntAtom(name)) return std::string(1, '#').append(std::to_string(reinterpret_cast<uintptr_t>(name)));
  return cpString(name);
}

}  // namespace

Window* find(HWND hwnd) {
  if (!hwnd) return nullptr;
  auto& windows = tables().windows;
  auto it = windows.find(reinterpret_cast<uintptr_t>(hwnd));
  return it == windows.end() ? nullptr : it->second.get();
}

LRESULT deliver(Window& w, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (w.handler) return w.handler(w.handle, msg, wParam, lParam);
  if (w.proc) return w.proc(w.handle, msg, wParam, lParam);
  return DefWindowProc(w.handle, msg, wParam, lParam);
}

HWND focusWindow() { return tables().focus; }
HWND captureWindow() { return tables().capture; }

QPoint clientOrigin(const Window& w) {
  if (w.host) return w.host->clientOrigin();
  return QPoint(0, 0);
}

RECT clientRect(const Window& w) {
  if (w.host) {
    QSize s = w.host->clientSize();
    return RECT{0, 0, s.width(), s.height()};
  }
  if (w.widget) return RECT{0, 0, w.widget->width(), w.widget->height()};
  return RECT{0, 0, w.bounds.right - w.bounds.left, w.bounds.bottom - w.bounds.top};
}

void syncClientSize(Window& w) {
  if (!w.created || w.destroying) return;
  RECT r = clientRect(w);
  SIZE now{r.right, r.bottom};
  if (now.cx == w.lastClientSize.cx && now.cy == w.lastClientSize.cy) return;
  w.lastClientSize = now;
  if (w.host) InvalidateRect(w.handle, nullptr, TRUE);
  WPARAM kind = SIZE_RESTORED;
  if (w.widget && w.widget->isWindow()) {
    if (w.widget->isMinimized())
      kind = SIZE_MINIMIZED;
    else if (w.widget->isMaximized())
      kind = SIZE_MAXIMIZED;
  }
  HWND h = w.handle;
  SendMessage(h, WM_SIZE, kind, MAKELPARAM(now.cx, now.cy));
}

QImage& surfaceOf(Window& w) {
  RECT r = clientRect(w);
  QSize size(std::max<LONG>(r.right, 1), std::max<LONG>(r.bottom, 1));
  if (w.surface.size() != size && !deviceInUse(&w.surface)) {
    QImage fresh(size, QImage::Format_RGB32);
    fresh.fill(Qt::white);
    w.surface = fresh;
  }
  return w.surface;
}

void paintPending(Window& w) {
  if (w.updateRegion.isEmpty() || w.destroying) return;
  HWND h = w.handle;
  SendMessage(h, WM_PAINT, 0, 0);
  // A procedure that ignored WM_PAINT must not make us ask forever.
  if (Window* again = find(h)) again->updateRegion = QRegion();
}

void focusChangedTo(HWND hwnd) {
  Tables& t = tables();
  HWND old = t.focus;
  if (old == hwnd) return;
  t.focus = hwnd;
  if (find(old)) SendMessage(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (hwnd && find(hwnd) && t.focus == hwnd) SendMessage(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
}

namespace {

void unlinkFromParent(Window& w) {
  if (Window* p = find(w.parent)) {
    auto& c = p->children;
    c.erase(std::remove(c.begin(), c.end(), w.handle), c.end());
  }
}

// Sends WM_DESTROY to the window and then, depth first, to its children;
// WM_NCDESTROY follows in reverse. The table entries go last.
void destroyTree(HWND hwnd, std::vector<HWND>& order) {
  Window* w = find(hwnd);
  if (!w) return;
  w->destroying = true;
  SendMessage(hwnd, WM_DESTROY, 0, 0);
  order.push_back(hwnd);
  w = find(hwnd);
  if (!w) return;
  std::vector<HWND> kids = w->children;
  for (HWND child : kids) {
    Window* c = find(child);
    if (c && !c->destroying) destroyTree(child, order);
  }
}

QWidget* parentWidgetFor(HWND parent) {
  Window* p = find(parent);
  return p ? p->widget.data() : nullptr;
}

// A LONG or LONG_PTR in the window's extra bytes at `index` (0 or more):
// read, and replaced by *value when one is given. 0 when the bytes do not
// reach that far.
template <typename T>
T exchangeExtra(Window& w, int index, const T* value = nullptr) {
  if (static_cast<size_t>(index) + sizeof(T) > w.extra.size()) return 0;
  T old;
  std::memcpy(&old, w.extra.data() + index, sizeof old);
  if (value) std::memcpy(w.extra.data() + index, value, sizeof *value);
  return old;
}

}  // namespace

}  // namespace platform::detail

using namespace platform::detail;

// ---------------------------------------------------------------------------
// Classes

ATOM RegisterClass(const WNDCLASS* wc) {
  if (!wc || !wc->lpszClassName || !wc->lpfnWndProc) return 0;
  auto& classes = tables().classes;
  if (classes.count(wc->lpszClassName)) return 0;
  auto cls = std::make_shared<WindowClass>();
  cls->name = wc->lpszClassName;
  cls->style = wc->style;
  cls->proc = wc->lpfnWndProc;
  cls->extraBytes = std::max(0, wc->cbWndExtra);
  cls->cursor = wc->hCursor;
  cls->background = wc->hbrBackground;
  cls->icon = wc->hIcon;
  classes[cls->name] = cls;
  static ATOM next = 0xC000;
  return next++;
}

BOOL UnregisterClass(LPCSTR className, HINSTANCE) {
  if (!className) return FALSE;
  auto& t = tables();
  auto it = t.classes.find(className);
  if (it == t.classes.end()) return FALSE;
  for (auto& [h, w] : t.windows) {
    if (w->cls == it->second) return FALSE;  // windows of the class still exist
  }
  t.classes.erase(it);
  return TRUE;
}

BOOL GetClassInfo(HINSTANCE, LPCSTR className, WNDCLASS* wc) {
  if (!className || !wc) return FALSE;
  auto& classes = tables().classes;
  auto it = classes.find(className);
  if (it == classes.end()) return FALSE;
  const WindowClass& c = *it->second;
  *wc = WNDCLASS{};
  wc->style = c.style;
  wc->lpfnWndProc = c.proc;
  wc->cbWndExtra = c.extraBytes;
  wc->hCursor = c.cursor;
  wc->hbrBackground = c.background;
  wc->hIcon = c.icon;
  wc->lpszClassName = it->first.c_str();
  return TRUE;
}

int GetClassName(HWND hwnd, LPSTR buffer, int maxCount) {
  Window* w = find(hwnd);
  if (!w) return 0;
  return static_cast<int>(copyToBuffer(w->cls ? w->cls->name : std::string("#32770"), buffer, maxCount));
}

// ---------------------------------------------------------------------------
// Creation and destruction

HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param) {
  if (!className) return nullptr;
  auto& t = tables();
  auto it = t.classes.find(className);
  if (it == t.classes.end()) return nullptr;
  const bool messageOnly = parent == HWND_MESSAGE;
  if (messageOnly) parent = nullptr;
  if ((style & WS_CHILD) && !find(parent)) return nullptr;
  if (parent && !find(parent)) return nullptr;

  auto owned = std::make_unique<Window>();
  Window& w = *owned;
  w.handle = newHandle();
  w.cls = it->second;
  w.proc = w.cls->proc;
  w.parent = parent;
  w.style = style;
  w.exStyle = exStyle;
  w.instance = instance;
  if (style & WS_CHILD)
    w.id = reinterpret_cast<LONG_PTR>(menuOrId);
  else
    w.menu = menuOrId;
  w.extra.assign(static_cast<size_t>(w.cls->extraBytes), 0);
  w.text = cpString(windowName);
  if (x == CW_USEDEFAULT) x = y = 40;
  if (width == CW_USEDEFAULT) {
    width = 640;
    height = 480;
  }
  width = std::max(width, 0);
  height = std::max(height, 0);

  if (!messageOnly) {
    QWidget* parentWidget = parentWidgetFor(parent);
    auto* host = new HostWidget(w.handle, (style & WS_CHILD) ? parentWidget : nullptr);
    if (!(style & WS_CHILD) && parentWidget) {
      // An owned top-level window stays above its owner.
      host->setParent(parentWidget->window(), Qt::Window);
    }
    w.widget = host;
    w.host = host;
    w.ownsWidget = true;
    QPoint offset = (style & WS_CHILD) && find(parent) ? clientOrigin(*find(parent)) : QPoint();
    host->setGeometry(x + offset.x(), y + offset.y(), width, height);
    if (!w.text.empty() && !(style & WS_CHILD)) host->setWindowTitle(platform::fromCp1252(w.text));
  } else {
    w.bounds = RECT{x, y, x + width, y + height};
  }

  HWND h = w.handle;
  t.windows.emplace(reinterpret_cast<uintptr_t>(h), std::move(owned));
  if (Window* p = find(parent)) p->children.push_back(h);
  if (Window* self = find(h); self && self->host) self->host->applyStyle();

  CREATESTRUCT cs{};
  cs.lpCreateParams = param;
  cs.hInstance = instance;
  cs.hMenu = menuOrId;
  cs.hwndParent = parent;
  cs.cx = width;
  cs.cy = height;
  cs.x = x;
  cs.y = y;
  cs.style = static_cast<LONG>(style);
  cs.lpszName = windowName;
  cs.lpszClass = className;
  cs.dwExStyle = exStyle;

  if (!SendMessage(h, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    DestroyWindow(h);
    return nullptr;
  }
  if (!find(h)) return nullptr;
  if (SendMessage(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(h);
    return nullptr;
  }
  Window* created = find(h);
  if (!created) return nullptr;
  created->created = true;
  syncClientSize(*created);
  if (find(h)) InvalidateRect(h, nullptr, TRUE);
  if (find(h) && (style & WS_VISIBLE)) ShowWindow(h, SW_SHOW);
  return find(h) ? h : nullptr;
}

BOOL DestroyWindow(HWND hwnd) {
  Window* w = find(hwnd);
  if (!w) return FALSE;
  if (w->destroying) return TRUE;
  auto& t = tables();

  // The focus or capture inside the tree leaves it first.
  for (HWND f = t.focus; f; f = GetParent(f)) {
    if (f == hwnd) {
      HWND focused = t.focus;
      t.focus = nullptr;
      SendMessage(focused, WM_KILLFOCUS, 0, 0);
      break;
    }
    if (!(GetWindowLong(f, GWL_STYLE) & WS_CHILD)) break;
  }
  if (t.capture && (t.capture == hwnd || IsChild(hwnd, t.capture))) ReleaseCapture();

  std::vector<HWND> order;
  destroyTree(hwnd, order);
  for (auto rit = order.rbegin(); rit != order.rend(); ++rit) {
    HWND h = *rit;
    if (!find(h)) continue;
    SendMessage(h, WM_NCDESTROY, 0, 0);
    killTimersOf(h);
    dropMessagesOf(h);
    caretWindowDestroyed(h);
    Window* gone = find(h);
    if (!gone) continue;
    unlinkFromParent(*gone);
    if (t.focus == h) t.focus = nullptr;
    if (t.capture == h) t.capture = nullptr;
    // Take the entry out of the table before touching the widget, so that
    // the widget's destruction does not try to destroy the window again.
    std::unique_ptr<Window> entry = std::move(t.windows[reinterpret_cast<uintptr_t>(h)]);
    t.windows.erase(reinterpret_cast<uintptr_t>(h));
    if (entry->host) entry->host->detach();
    if (entry->ownsWidget && entry->widget) {
      QWidget* widget = entry->widget;
      widget->hide();
      if (entry->host && entry->host->inEvent())
        widget->deleteLater();
      else
        delete widget;
    }
  }
  return TRUE;
}

BOOL IsWindow(HWND hwnd) { return find(hwnd) != nullptr; }

HWND GetParent(HWND hwnd) {
  Window* w = find(hwnd);
  return w ? w->parent : nullptr;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
  Window* w = find(hwnd);
  if (!w) return nullptr;
  if (flags == GA_PARENT) return (w->style & WS_CHILD) ? w->parent : nullptr;
  while ((w->style & WS_CHILD) && find(w->parent)) w = find(w->parent);
  return w->handle;
}

HWND GetWindow(HWND hwnd, UINT cmd) {
  Window* w = find(hwnd);
  if (!w) return nullptr;
  if (cmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
  if (cmd == GW_OWNER) return (w->style & WS_CHILD) ? nullptr : w->parent;
  Window* p = find(w->parent);
  if (!p) return nullptr;
  auto& sib = p->children;
  auto pos = std::find(sib.begin(), sib.end(), hwnd);
  if (cmd == GW_HWNDFIRST) return sib.front();
  if (cmd == GW_HWNDNEXT) return (pos + 1 < sib.end()) ? *(pos + 1) : nullptr;
  if (cmd == GW_HWNDPREV) return pos > sib.begin() ? *(pos - 1) : nullptr;
  return nullptr;
}

BOOL IsChild(HWND parent, HWND hwnd) {
  for (Window* w = find(hwnd); w && (w->style & WS_CHILD); w = find(w->parent)) {
    if (w->parent == parent) return TRUE;
  }
  return FALSE;
}

HWND FindWindow(LPCSTR className, LPCSTR windowName) {
  for (auto& [key, w] : tables().windows) {
    if (w->style & WS_CHILD) continue;
    if (className && !(w->cls && ascii::equalIgnoringCase(w->cls->name, className))) continue;
    if (windowName && w->text != windowName) continue;
    return w->handle;
  }
  return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
  Window* w = find(hwnd);
  return w ? static_cast<int>(w->id) : 0;
}

HWND GetDlgItem(HWND parent, int id) {
  Window* p = find(parent);
  if (!p) return nullptr;
  for (HWND c : p->children) {
    if (find(c) && find(c)->id == id) return c;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// Window data

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
  Window* w = find(hwnd);
  if (!w) return 0;
  if (index >= 0) return exchangeExtra<LONG_PTR>(*w, index);
  switch (index) {
    case GWLP_WNDPROC:
      return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE:
      return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT:
      return reinterpret_cast<LONG_PTR>(w->parent);
    case GWLP_ID:
      return w->id;
    case GWL_STYLE:
      return static_cast<LONG_PTR>(w->style);
    case GWL_EXSTYLE:
      return static_cast<LONG_PTR>(w->exStyle);
    case GWLP_USERDATA:
      return w->userData;
    default:
      return 0;
  }
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
  Window* w = find(hwnd);
  if (!w) return 0;
  if (index >= 0) return exchangeExtra(*w, index, &value);
  const LONG_PTR old = GetWindowLongPtr(hwnd, index);
  switch (index) {
    case GWLP_WNDPROC:
      w->proc = reinterpret_cast<WNDPROC>(value);
      break;
    case GWLP_HINSTANCE:
      w->instance = reinterpret_cast<HINSTANCE>(value);
      break;
    case GWLP_ID:
      w->id = value;
      break;
    case GWL_STYLE:
      w->style = static_cast<DWORD>(value);
      if (w->host) w->host->applyStyle();
      break;
    case GWL_EXSTYLE:
      w->exStyle = static_cast<DWORD>(value);
      if (w->host) w->host->applyStyle();
      break;
    case GWLP_USERDATA:
      w->userData = value;
      break;
    default:
      return 0;
  }
  return old;
}

LONG GetWindowLong(HWND hwnd, int index) {
  Window* w = find(hwnd);
  if (!w) return 0;
  if (index >= 0) return exchangeExtra<LONG>(*w, index);
  return static_cast<LONG>(GetWindowLongPtr(hwnd, index));
}

LONG SetWindowLong(HWND hwnd, int index, LONG value) {
  Window* w = find(hwnd);
  if (!w) return 0;
  if (index >= 0) return exchangeExtra(*w, index, &value);
  LONG_PTR v = (index == GWL_STYLE || index == GWL_EXSTYLE) ? static_cast<LONG_PTR>(static_cast<DWORD>(value)) : value;
  return static_cast<LONG>(SetWindowLongPtr(hwnd, index, v));
}

BOOL SetProp(HWND hwnd, LPCSTR name, HANDLE data) {
  Window* w = find(hwnd);
  if (!w || !name) return FALSE;
  w->props[propKey(name)] = data;
  return TRUE;
}

HANDLE GetProp(HWND hwnd, LPCSTR name) {
  Window* w = find(hwnd);
  if (!w || !name) return nullptr;
  auto it = w->props.find(propKey(name));
  return it == w->props.end() ? nullptr : it->second;
}

HANDLE RemoveProp(HWND hwnd, LPCSTR name) {
  Window* w = find(hwnd);
  if (!w || !name) return nullptr;
  auto it = w->props.find(propKey(name));
  if (it == w->props.end()) return nullptr;
  HANDLE v = it->second;
  w->props.erase(it);
  return v;
}

// ---------------------------------------------------------------------------
// Messages

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = find(hwnd);
  if (!w) return 0;
  return deliver(*w, msg, wParam, lParam);
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!proc) return 0;
  return proc(hwnd, msg, wParam, lParam);
}

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = find(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE:
      return TRUE;
    case WM_SETTEXT: {
      w->text = cpString(reinterpret_cast<LPCSTR>(lParam));
      if (w->widget && w->widget->isWindow() && w->ownsWidget) w->widget->setWindowTitle(platform::fromCp1252(w->text));
      return TRUE;
    }
    case WM_GETTEXT:
      return static_cast<LRESULT>(copyToBuffer(w->text, reinterpret_cast<char*>(lParam), static_cast<int64_t>(wParam)));
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND: {
      if (!w->cls || !w->cls->background) return 0;
      RECT r;
      GetClientRect(hwnd, &r);
      FillRect(reinterpret_cast<HDC>(wParam), &r, w->cls->background);
      return 1;
    }
    case WM_SETCURSOR:
      if (w->cls && w->cls->cursor && w->widget) w->widget->setCursor(cursorShape(w->cls->cursor));
      return TRUE;
    case WM_RBUTTONUP: {
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(hwnd, &p);
      SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(p.x, p.y));
      return 0;
    }
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
      if ((w->style & WS_CHILD) && find(w->parent)) return SendMessage(w->parent, msg, wParam, lParam);
      return 0;
    case WM_SYSKEYDOWN:
      if (wParam == VK_F4 && (GetKeyState(VK_MENU) & 0x8000) && !(w->style & WS_CHILD))
        PostMessage(hwnd, WM_CLOSE, 0, 0);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_APPS || (wParam == VK_F10 && (GetKeyState(VK_SHIFT) & 0x8000)))
        SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), -1);
      return 0;
    default:
      return 0;
  }
}

BOOL SetWindowText(HWND hwnd, LPCSTR text) {
  if (!find(hwnd)) return FALSE;
  return SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) ? TRUE : FALSE;
}

int GetWindowText(HWND hwnd, LPSTR buffer, int maxCount) {
  if (!find(hwnd) || !buffer || maxCount <= 0) return 0;
  buffer[0] = 0;
  return static_cast<int>(
      SendMessage(hwnd, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLength(HWND hwnd) { return static_cast<int>(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0)); }

// ---------------------------------------------------------------------------
// Showing, enabling and geometry

BOOL ShowWindow(HWND hwnd, int cmdShow) {
  Window* w = find(hwnd);
  if (!w) return FALSE;
  const bool wasVisible = (w->style & WS_VISIBLE) != 0;
  const bool show = cmdShow != SW_HIDE;
  if (show != wasVisible) SendMessage(hwnd, WM_SHOWWINDOW, show, 0);
  w = find(hwnd);
  if (!w) return FALSE;
  if (show)
    w->style |= WS_VISIBLE;
  else
    w->style &= ~WS_VISIBLE;
  if (QWidget* widget = w->widget) {
    switch (cmdShow) {
      case SW_HIDE:
        widget->hide();
        break;
      case SW_SHOWMINIMIZED:
      case SW_MINIMIZE:
      case SW_SHOWMINNOACTIVE:
        widget->showMinimized();
        break;
      case SW_SHOWMAXIMIZED:
        widget->showMaximized();
        break;
      case SW_RESTORE:
      case SW_SHOWNORMAL:
        if (widget->isWindow())
          widget->showNormal();
        else
          widget->show();
        break;
      default:
        widget->show();
        break;
    }
    if (show && w->widget) syncClientSize(*w);
  }
  return wasVisible ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  Window* w = find(hwnd);
  if (!w) return FALSE;
  const bool wasDisabled = (w->style & WS_DISABLED) != 0;
  if (enable)
    w->style &= ~WS_DISABLED;
  else
    w->style |= WS_DISABLED;
  if (w->widget && w->ownsWidget) w->widget->setEnabled(enable != FALSE);
  if (wasDisabled == (enable != FALSE)) SendMessage(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd) {
  Window* w = find(hwnd);
  return w && !(w->style & WS_DISABLED);
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL SetWindowPos(HWND hwnd, HWND, int x, int y, int cx, int cy, UINT flags) {
  Window* w = find(hwnd);
  if (!w) return FALSE;
  cx = std::max(cx, 0);
  cy = std::max(cy, 0);
  if (QWidget* widget = w->widget) {
    QPoint offset = (w->style & WS_CHILD) && find(w->parent) ? clientOrigin(*find(w->parent)) : QPoint();
    QRect g = widget->geometry();
    if (!(flags & SWP_NOMOVE)) g.moveTopLeft(QPoint(x, y) + offset);
    if (!(flags & SWP_NOSIZE)) g.setSize(QSize(cx, cy));
    if (widget->isWindow()) {
      if (!(flags & SWP_NOMOVE)) widget->move(g.topLeft());
      if (!(flags & SWP_NOSIZE)) widget->resize(g.size());
    } else {
      widget->setGeometry(g);
    }
  } else {
    if (!(flags & SWP_NOMOVE)) {
      LONG wdt = w->bounds.right - w->bounds.left, hgt = w->bounds.bottom - w->bounds.top;
      w->bounds = RECT{x, y, x + wdt, y + hgt};
    }
    if (!(flags & SWP_NOSIZE)) {
      w->bounds.right = w->bounds.left + cx;
      w->bounds.bottom = w->bounds.top + cy;
    }
  }
  if (flags & SWP_SHOWWINDOW) ShowWindow(hwnd, SW_SHOWNA);
  if (flags & SWP_HIDEWINDOW) ShowWindow(hwnd, SW_HIDE);
  if (Window* again = find(hwnd)) syncClientSize(*again);
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
  Window* w = find(hwnd);
  if (!w || !rect) return FALSE;
  *rect = clientRect(*w);
  return TRUE;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
  Window* w = find(hwnd);
  if (!w || !rect) return FALSE;
  if (QWidget* widget = w->widget) {
    QPoint tl = widget->mapToGlobal(QPoint(0, 0));
    *rect = RECT{tl.x(), tl.y(), tl.x() + widget->width(), tl.y() + widget->height()};
  } else {
    *rect = w->bounds;
  }
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
  Window* w = find(hwnd);
  if (!w || !point) return FALSE;
  if (QWidget* widget = w->widget) {
    QPoint g = widget->mapToGlobal(clientOrigin(*w) + QPoint(point->x, point->y));
    *point = POINT{g.x(), g.y()};
  }
  return TRUE;
}

// ---------------------------------------------------------------------------
// Invalidation and painting

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  Window* w = find(hwnd);
  if (!w) return FALSE;
  RECT client = clientRect(*w);
  QRect all(0, 0, client.right, client.bottom);
  QRect r = rect ? QRect(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1)) & all : all;
  if (!r.isEmpty()) w->updateRegion += r;
  if (erase) w->eraseBackground = true;
  if (w->host) w->host->scheduleRepaint();
  return TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
  Window* w = find(hwnd);
  if (!w) return FALSE;
  paintPending(*w);
  if (Window* again = find(hwnd); again && again->host) again->host->update();
  return TRUE;
}

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT ps) {
  Window* w = find(hwnd);
  if (!w || !ps) return nullptr;
  *ps = PAINTSTRUCT{};
  QRegion region = w->updateRegion;
  w->updateRegion = QRegion();
  QRect b = region.boundingRect();
  ps->rcPaint = b.isEmpty() ? RECT{0, 0, 0, 0} : RECT{b.left(), b.top(), b.right() + 1, b.bottom() + 1};
  HDC dc = createWindowDC(*w, &region);
  ps->hdc = dc;
  if (w->eraseBackground) {
    w->eraseBackground = false;
    ps->fErase = SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
  }
  return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
  if (!ps) return FALSE;
  releaseWindowDC(ps->hdc);
  if (Window* w = find(hwnd); w && w->host) w->host->surfaceChanged();
  return TRUE;
}

// ---------------------------------------------------------------------------
// Focus and capture

HWND SetFocus(HWND hwnd) {
  HWND old = tables().focus;
  if (hwnd && !find(hwnd)) return nullptr;
  if (hwnd && (GetWindowLong(hwnd, GWL_STYLE) & WS_DISABLED)) return nullptr;
  focusChangedTo(hwnd);
  if (Window* w = find(hwnd); w && w->widget && tables().focus == hwnd) w->widget->setFocus(Qt::OtherFocusReason);
  return old;
}

HWND GetFocus() { return tables().focus; }

HWND SetCapture(HWND hwnd) {
  HWND old = tables().capture;
  if (!find(hwnd)) return old;
  tables().capture = hwnd;
  if (old && old != hwnd) SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return old;
}

BOOL ReleaseCapture() {
  HWND old = tables().capture;
  tables().capture = nullptr;
  if (old) SendMessage(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() { return tables().capture; }

// ---------------------------------------------------------------------------
// System values

DWORD GetSysColor(int index) {
  QPalette pal = QGuiApplication::palette();
  QColor c;
  switch (index) {
    case COLOR_WINDOW:
      c = pal.color(QPalette::Active, QPalette::Base);
      break;
    case COLOR_WINDOWTEXT:
      c = pal.color(QPalette::Active, QPalette::Text);
      break;
    case COLOR_HIGHLIGHT:
      c = pal.color(QPalette::Active, QPalette::Highlight);
      break;
    case COLOR_HIGHLIGHTTEXT:
      c = pal.color(QPalette::Active, QPalette::HighlightedText);
      break;
    case COLOR_BTNFACE:
    case COLOR_MENU:
    case COLOR_SCROLLBAR:
      c = pal.color(QPalette::Active, QPalette::Button);
      break;
    case COLOR_BTNTEXT:
    case COLOR_MENUTEXT:
    case COLOR_CAPTIONTEXT:
      c = pal.color(QPalette::Active, QPalette::ButtonText);
      break;
    case COLOR_BTNSHADOW:
      c = pal.color(QPalette::Active, QPalette::Dark);
      break;
    case COLOR_BTNHIGHLIGHT:
    case COLOR_3DLIGHT:
      c = pal.color(QPalette::Active, QPalette::Light);
      break;
    case COLOR_3DDKSHADOW:
    case COLOR_WINDOWFRAME:
      c = pal.color(QPalette::Active, QPalette::Shadow);
      break;
    case COLOR_GRAYTEXT:
      c = pal.color(QPalette::Disabled, QPalette::Text);
      break;
    case COLOR_INFOTEXT:
      c = pal.color(QPalette::Active, QPalette::ToolTipText);
      break;
    case COLOR_INFOBK:
      c = pal.color(QPalette::Active, QPalette::ToolTipBase);
      break;
    case COLOR_ACTIVECAPTION:
      c = pal.color(QPalette::Active, QPalette::Highlight);
      break;
    case COLOR_INACTIVECAPTION:
      c = pal.color(QPalette::Inactive, QPalette::Highlight);
      break;
    case COLOR_BACKGROUND:
      c = pal.color(QPalette::Active, QPalette::Window);
      break;
    default:
      c = Qt::black;
      break;
  }
  return fromQColor(c);
}

int GetSystemMetrics(int index) {
  QScreen* screen = QGuiApplication::primaryScreen();
  QStyle* style = QApplication::style();
  const int scrollExtent = style ? style->pixelMetric(QStyle::PM_ScrollBarExtent) : 16;
  switch (index) {
    case SM_CXSCREEN:
      return screen ? screen->geometry().width() : 1024;
    case SM_CYSCREEN:
      return screen ? screen->geometry().height() : 768;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
      return scrollExtent;
    case SM_CYCAPTION:
      return 20;
    case SM_CYMENU:
      return 20;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return 1;
    case SM_CXEDGE:
    case SM_CYEDGE:
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
      return 2;
    case SM_CXICON:
    case SM_CYICON:
      return 32;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
      return 4;
    case SM_CXDRAG:
    case SM_CYDRAG:
      return QApplication::startDragDistance();
    default:
      return 0;
  }
}

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  long long product = static_cast<long long>(number) * numerator;
  long long divisor = denominator;
  if (divisor < 0) {
    product = -product;
    divisor = -divisor;
  }
  // rounds half away from zero
  long long result = (product >= 0 ? product + divisor / 2 : product - divisor / 2) / divisor;
  return static_cast<int>(result);
}

// ---------------------------------------------------------------------------
// Rectangles

BOOL SetRect(LPRECT r, int left, int top, int right, int bottom) {
  if (!r) return FALSE;
  *r = RECT{left, top, right, bottom};
  return TRUE;
}

BOOL IsRectEmpty(const RECT* r) { return !r || r->right <= r->left || r->bottom <= r->top; }

// ---------------------------------------------------------------------------
// The Qt side

namespace platform {

QWidget* hostWidget(HWND hwnd) {
  Window* w = find(hwnd);
  return w ? w->widget.data() : nullptr;
}

HWND windowOfWidget(const QWidget* widget) {
  if (!widget) return nullptr;
  for (auto& [key, w] : tables().windows) {
    if (w->widget == widget) return w->handle;
  }
  return nullptr;
}

namespace {

std::shared_ptr<WindowClass> qtOwnedClass() {
  static auto cls = [] {
    auto c = std::make_shared<WindowClass>();
    c->name = "QtWindow";
    return c;
  }();
  return cls;
}

HWND addQtWindow(QWidget* widget, WindowHandler handler) {
  auto owned = std::make_unique<Window>();
  owned->handle = newHandle();
  owned->cls = qtOwnedClass();
  owned->handler = std::move(handler);
  owned->widget = widget;
  owned->style = widget ? WS_VISIBLE : 0;
  HWND h = owned->handle;
  tables().windows.emplace(reinterpret_cast<uintptr_t>(h), std::move(owned));
  return h;
}

}  // namespace

HWND attachWindow(QWidget* widget, WindowHandler handler) {
  if (!widget) return nullptr;
  HWND h = addQtWindow(widget, std::move(handler));
  QObject::connect(widget, &QObject::destroyed, [h] {
    if (Window* w = find(h)) {
      w->widget = nullptr;
      DestroyWindow(h);
    }
  });
  return h;
}

HWND createMessageWindow(WindowHandler handler) { return addQtWindow(nullptr, std::move(handler)); }

}  // namespace platform
