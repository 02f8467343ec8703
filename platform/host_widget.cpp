#include "host_widget.h"

#include "cp1252.h"
#include "internal.h"

#include <QApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <array>

using namespace platform::detail;

// ---------------------------------------------------------------------------
// Key state and key codes

namespace {

std::array<SHORT, 256>& keyStates() {
  static std::array<SHORT, 256> states{};
  return states;
}

struct KeyMapping {
  int qt;
  int vk;
};

constexpr KeyMapping kKeys[] = {
    {Qt::Key_Backspace, VK_BACK},
    {Qt::Key_Tab, VK_TAB},
    {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},
    {Qt::Key_Alt, VK_MENU},
    {Qt::Key_AltGr, VK_MENU},
    {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_CapsLock, VK_CAPITAL},
    {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Print, VK_SNAPSHOT},
    {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_Help, VK_HELP},
    {Qt::Key_Menu, VK_APPS},
    {Qt::Key_Meta, VK_LWIN},
    {Qt::Key_NumLock, VK_NUMLOCK},
    {Qt::Key_ScrollLock, VK_SCROLL},
    {Qt::Key_Semicolon, VK_OEM_1},
    {Qt::Key_Plus, VK_OEM_PLUS},
    {Qt::Key_Comma, VK_OEM_COMMA},
    {Qt::Key_Minus, VK_OEM_MINUS},
    {Qt::Key_Period, VK_OEM_PERIOD},
    {Qt::Key_Slash, VK_OEM_2},
    // The Danish keyboard: Æ, Ø and Å sit where these codes are.
    {Qt::Key_AE, VK_OEM_3},
    {Qt::Key_Ooblique, VK_OEM_7},
    {Qt::Key_Aring, VK_OEM_6},
    {Qt::Key_Apostrophe, VK_OEM_7},
    {Qt::Key_BracketLeft, VK_OEM_4},
    {Qt::Key_Backslash, VK_OEM_5},
    {Qt::Key_BracketRight, VK_OEM_6},
    {Qt::Key_QuoteLeft, VK_OEM_3},
    {Qt::Key_Less, VK_OEM_102},
    {Qt::Key_Asterisk, VK_MULTIPLY},
};

void setBit(int vk, bool down) {
  if (vk <= 0 || vk > 255) return;
  SHORT& s = keyStates()[static_cast<size_t>(vk)];
  if (down) {
    if (!(s & static_cast<SHORT>(0x8000))) s = static_cast<SHORT>(s ^ 1);  // toggles on each press
    s = static_cast<SHORT>(s | static_cast<SHORT>(0x8000));
  } else {
    s = static_cast<SHORT>(s & 1);
  }
}

// The messages of a mouse button and its virtual key.
struct ButtonMessages {
  UINT down;
  UINT up;
  UINT doubleClick;
  int vk;
};

// Null for a button the windows are not told about.
const ButtonMessages* buttonMessages(Qt::MouseButton button) {
  static constexpr ButtonMessages kLeft{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, VK_LBUTTON};
  static constexpr ButtonMessages kRight{WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, VK_RBUTTON};
  static constexpr ButtonMessages kMiddle{WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK, VK_MBUTTON};
  switch (button) {
    case Qt::LeftButton:
      return &kLeft;
    case Qt::RightButton:
      return &kRight;
    case Qt::MiddleButton:
      return &kMiddle;
    default:
      return nullptr;
  }
}

}  // namespace

namespace platform {

int virtualKeyFromQt(int key) {
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return VK_F1 + (key - Qt::Key_F1);
  for (const KeyMapping& m : kKeys) {
    if (m.qt == key) return m.vk;
  }
  return 0;
}

void setKeyDown(int vk, bool down) { setBit(vk, down); }

}  // namespace platform

namespace platform::detail {

void setKeyStateBit(int vk, bool down) { setBit(vk, down); }

void noteModifiers(Qt::KeyboardModifiers mods) {
  auto sync = [](int vk, bool down) {
    bool isDown = keyStates()[static_cast<size_t>(vk)] & static_cast<SHORT>(0x8000);
    if (isDown != down) setBit(vk, down);
  };
  sync(VK_SHIFT, mods & Qt::ShiftModifier);
  sync(VK_CONTROL, mods & Qt::ControlModifier);
  sync(VK_MENU, mods & Qt::AltModifier);
}

}  // namespace platform::detail

SHORT GetKeyState(int vk) {
  if (vk <= 0 || vk > 255) return 0;
  if (vk == VK_LSHIFT || vk == VK_RSHIFT) vk = VK_SHIFT;
  if (vk == VK_LCONTROL || vk == VK_RCONTROL) vk = VK_CONTROL;
  if (vk == VK_LMENU || vk == VK_RMENU) vk = VK_MENU;
  return keyStates()[static_cast<size_t>(vk)];
}

// ---------------------------------------------------------------------------
// Cursors

namespace {

struct CursorState {
  HCURSOR current = nullptr;
  bool overriding = false;
  QPointer<QWidget> hover;
};

CursorState& cursorState() {
  static CursorState& s = *new CursorState;
  return s;
}

}  // namespace

namespace platform::detail {

Qt::CursorShape cursorShape(HCURSOR cursor) {
  switch (reinterpret_cast<uintptr_t>(cursor)) {
    case 32513:
      return Qt::IBeamCursor;
    case 32514:
      return Qt::WaitCursor;
    case 32515:
      return Qt::CrossCursor;
    case 32644:
      return Qt::SizeHorCursor;
    case 32645:
      return Qt::SizeVerCursor;
    case 32648:
      return Qt::ForbiddenCursor;
    case 32649:
      return Qt::PointingHandCursor;
    default:
      return Qt::ArrowCursor;
  }
}

}  // namespace platform::detail

HCURSOR LoadCursor(HINSTANCE, LPCSTR name) {
  if (!IS_INTRESOURCE(name)) return nullptr;
  return reinterpret_cast<HCURSOR>(const_cast<char*>(name));
}

HICON LoadIcon(HINSTANCE, LPCSTR name) {
  if (!IS_INTRESOURCE(name)) return nullptr;
  return reinterpret_cast<HICON>(const_cast<char*>(name));
}

HCURSOR SetCursor(HCURSOR cursor) {
  CursorState& s = cursorState();
  HCURSOR old = s.current;
  s.current = cursor;
  const bool wait = cursorShape(cursor) == Qt::WaitCursor;
  // The wait cursor covers the whole program while work runs; any other
  // cursor belongs to the window under the mouse.
  if (wait && !s.overriding) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    s.overriding = true;
  } else if (!wait && s.overriding) {
    QGuiApplication::restoreOverrideCursor();
    s.overriding = false;
  }
  if (!wait && cursor && s.hover) s.hover->setCursor(cursorShape(cursor));
  return old;
}

BOOL GetCursorPos(LPPOINT point) {
  if (!point) return FALSE;
  QPoint p = QCursor::pos();
  *point = POINT{p.x(), p.y()};
  return TRUE;
}

// ---------------------------------------------------------------------------
// The caret: one per thread, drawn over its window's surface.

namespace {

struct Caret {
  HWND owner = nullptr;
  int width = 1;
  int height = 1;
  POINT pos{0, 0};
  int hideCount = 1;
  bool blinkOn = true;
  QTimer* blink = nullptr;
};

Caret& caret() {
  static Caret& c = *new Caret;
  return c;
}

void updateCaretArea() {
  Caret& c = caret();
  Window* w = platform::detail::find(c.owner);
  if (!w || !w->host) return;
  QPoint o = clientOrigin(*w);
  w->host->update(QRect(o.x() + c.pos.x - 1, o.y() + c.pos.y - 1, c.width + 2, c.height + 2));
}

void startBlinking() {
  Caret& c = caret();
  if (!c.blink) {
    c.blink = new QTimer;  // lives for the process, like the caret
    QObject::connect(c.blink, &QTimer::timeout, [] {
      caret().blinkOn = !caret().blinkOn;
      updateCaretArea();
    });
  }
  c.blinkOn = true;
  c.blink->start(static_cast<int>(GetCaretBlinkTime()));
}

}  // namespace

namespace platform::detail {

void caretWindowDestroyed(HWND hwnd) {
  if (caret().owner == hwnd) DestroyCaret();
}

void drawCaret(HWND hwnd, QPainter& painter) {
  const Caret& c = caret();
  if (c.owner != hwnd || c.hideCount > 0 || !c.blinkOn) return;
  Window* w = platform::detail::find(hwnd);
  if (!w) return;
  QPoint o = clientOrigin(*w);
  painter.save();
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter.fillRect(QRect(o.x() + c.pos.x, o.y() + c.pos.y, c.width, c.height), Qt::white);
  painter.restore();
}

}  // namespace platform::detail

BOOL CreateCaret(HWND hwnd, HBITMAP, int width, int height) {
  if (!IsWindow(hwnd)) return FALSE;
  DestroyCaret();
  Caret& c = caret();
  c.owner = hwnd;
  c.width = width > 0 ? width : 1;
  c.height = height > 0 ? height : 1;
  c.hideCount = 1;
  return TRUE;
}

BOOL DestroyCaret() {
  Caret& c = caret();
  if (!c.owner) return FALSE;
  updateCaretArea();
  c.owner = nullptr;
  c.hideCount = 1;
  if (c.blink) c.blink->stop();
  return TRUE;
}

BOOL ShowCaret(HWND hwnd) {
  Caret& c = caret();
  if (!c.owner || (hwnd && hwnd != c.owner)) return FALSE;
  if (c.hideCount > 0 && --c.hideCount == 0) startBlinking();
  updateCaretArea();
  return TRUE;
}

BOOL SetCaretPos(int x, int y) {
  Caret& c = caret();
  if (!c.owner) return FALSE;
  updateCaretArea();
  c.pos = POINT{x, y};
  c.blinkOn = true;
  updateCaretArea();
  return TRUE;
}

BOOL GetCaretPos(LPPOINT point) {
  if (!point) return FALSE;
  *point = caret().pos;
  return TRUE;
}

UINT GetCaretBlinkTime() {
  int flash = QApplication::cursorFlashTime();
  return flash > 0 ? static_cast<UINT>(flash / 2) : 530;
}

// ---------------------------------------------------------------------------
// Scroll bars

namespace {

ScrollState* scrollStateOf(HWND hwnd, int bar) {
  Window* w = platform::detail::find(hwnd);
  if (!w || (bar != SB_HORZ && bar != SB_VERT)) return nullptr;
  return &w->scroll[bar];
}

int maxPosition(const ScrollState& s) {
  int page = static_cast<int>(s.page);
  return std::max(s.min, s.max - std::max(page - 1, 0));
}

void showScrollState(HWND hwnd, int bar) {
  Window* w = platform::detail::find(hwnd);
  if (!w || !w->host) return;
  QScrollBar* sb = w->host->scrollBar(bar);
  if (!sb) return;
  const ScrollState& s = w->scroll[bar];
  QSignalBlocker block(sb);
  sb->setRange(s.min, maxPosition(s));
  sb->setPageStep(std::max<int>(static_cast<int>(s.page), 1));
  sb->setSingleStep(1);
  sb->setValue(s.pos);
  sb->setEnabled(maxPosition(s) > s.min);
}

}  // namespace

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL) {
  ScrollState* s = scrollStateOf(hwnd, bar);
  if (!s || !info) return 0;
  if (info->fMask & SIF_RANGE) {
    s->min = info->nMin;
    s->max = std::max(info->nMin, info->nMax);
  }
  if (info->fMask & SIF_PAGE) s->page = std::min<UINT>(info->nPage, static_cast<UINT>(s->max - s->min + 1));
  if (info->fMask & SIF_POS) s->pos = info->nPos;
  s->pos = std::clamp(s->pos, s->min, maxPosition(*s));
  showScrollState(hwnd, bar);
  return s->pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
  ScrollState* s = scrollStateOf(hwnd, bar);
  if (!s || !info) return FALSE;
  if (info->fMask & SIF_RANGE) {
    info->nMin = s->min;
    info->nMax = s->max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = s->page;
  if (info->fMask & SIF_POS) info->nPos = s->pos;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = s->trackPos;
  return TRUE;
}

int GetScrollPos(HWND hwnd, int bar) {
  ScrollState* s = scrollStateOf(hwnd, bar);
  return s ? s->pos : 0;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
  Window* w = platform::detail::find(hwnd);
  if (!w) return FALSE;
  DWORD bits = bar == SB_VERT   ? WS_VSCROLL
               : bar == SB_HORZ ? WS_HSCROLL
               : bar == SB_BOTH ? (WS_VSCROLL | WS_HSCROLL)
                                : 0;
  DWORD style = show ? (w->style | bits) : (w->style & ~bits);
  if (style != w->style) SetWindowLong(hwnd, GWL_STYLE, static_cast<LONG>(style));
  return TRUE;
}

// ---------------------------------------------------------------------------
// The host widget

namespace {

// Counts the events a widget is handling, so that a window destroyed from
// inside one of them has its widget deleted later, not under Qt's feet.
class EventScope {
 public:
  explicit EventScope(int& depth) : depth_(depth) { ++depth_; }
  ~EventScope() { --depth_; }

 private:
  int& depth_;
};

}  // namespace

HostWidget::HostWidget(HWND hwnd, QWidget* parent) : QWidget(parent), hwnd_(hwnd) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
  if (parent) setAttribute(Qt::WA_DontShowOnScreen, false);
  hide();
}

HostWidget::~HostWidget() {
  if (Window* w = platform::detail::find(hwnd_)) {
    // Qt is deleting us (our parent widget went away): the window ends too.
    w->widget = nullptr;
    w->host = nullptr;
    w->ownsWidget = false;
    DestroyWindow(hwnd_);
  }
}

int HostWidget::borderWidth() const {
  // A top-level window's frame is the desktop's decoration; only child
  // windows draw a border of their own.
  Window* w = platform::detail::find(hwnd_);
  if (!w || !(w->style & WS_CHILD)) return 0;
  if (w->exStyle & WS_EX_CLIENTEDGE) return 2;
  if (w->style & WS_BORDER) return 1;
  return 0;
}

namespace {

int scrollBarExtent() { return GetSystemMetrics(SM_CXVSCROLL); }

}  // namespace

QPoint HostWidget::clientOrigin() const {
  int b = borderWidth();
  return QPoint(b, b);
}

QSize HostWidget::clientSize() const {
  int b = borderWidth();
  int w = width() - 2 * b - (vbar_ ? scrollBarExtent() : 0);
  int h = height() - 2 * b - (hbar_ ? scrollBarExtent() : 0);
  return QSize(std::max(w, 0), std::max(h, 0));
}

void HostWidget::applyStyle() {
  Window* w = platform::detail::find(hwnd_);
  if (!w) return;
  auto ensureBar = [this](QScrollBar*& bar, Qt::Orientation o, bool wanted, int which) {
    if (wanted && !bar) {
      bar = new QScrollBar(o, this);
      bar->setFocusPolicy(Qt::NoFocus);
      connect(bar, &QScrollBar::actionTriggered, this, [this, which](int action) { scrollAction(which, action); });
      connect(bar, &QScrollBar::sliderReleased, this, [this, which] { scrollReleased(which); });
      bar->show();
      showScrollState(hwnd_, which);
    } else if (!wanted && bar) {
      delete bar;
      bar = nullptr;
    }
  };
  ensureBar(vbar_, Qt::Vertical, w->style & WS_VSCROLL, SB_VERT);
  ensureBar(hbar_, Qt::Horizontal, w->style & WS_HSCROLL, SB_HORZ);
  setEnabled(!(w->style & WS_DISABLED));
  setFocusPolicy((w->style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
  layoutScrollBars();
  syncClientSize(*w);
  update();
}

void HostWidget::layoutScrollBars() {
  int b = borderWidth();
  int vw = vbar_ ? scrollBarExtent() : 0;
  int hh = hbar_ ? scrollBarExtent() : 0;
  if (vbar_) vbar_->setGeometry(width() - b - vw, b, vw, std::max(height() - 2 * b - hh, 0));
  if (hbar_) hbar_->setGeometry(b, height() - b - hh, std::max(width() - 2 * b - vw, 0), hh);
}

void HostWidget::scheduleRepaint() {
  if (!painting_) update();
}

void HostWidget::surfaceChanged() {
  if (!painting_) update();
}

bool HostWidget::event(QEvent* e) {
  EventScope scope(eventDepth_);
  if (e->type() == QEvent::KeyPress) {
    auto* ke = static_cast<QKeyEvent*>(e);
    if ((ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) && hwnd_) {
      LRESULT code = SendMessage(hwnd_, WM_GETDLGCODE, VK_TAB, 0);
      if (code & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) {
        keyPressEvent(ke);
        return true;
      }
    }
  }
  return QWidget::event(e);
}

void HostWidget::paintEvent(QPaintEvent*) {
  Window* w = platform::detail::find(hwnd_);
  if (!w) return;
  painting_ = true;
  paintPending(*w);
  painting_ = false;
  w = platform::detail::find(hwnd_);
  if (!w) return;
  QPainter p(this);
  int b = borderWidth();
  if (b > 0) {
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (b > 1) {
      p.setPen(palette().color(QPalette::Shadow));
      p.drawRect(rect().adjusted(1, 1, -2, -2));
    }
  }
  QImage& surface = surfaceOf(*w);
  QPoint o = clientOrigin();
  QSize cs = clientSize();
  p.drawImage(o, surface, QRect(QPoint(0, 0), cs));
  if (vbar_ && hbar_) {
    p.fillRect(QRect(width() - b - vbar_->width(), height() - b - hbar_->height(), vbar_->width(), hbar_->height()),
               palette().color(QPalette::Window));
  }
  p.setClipRect(QRect(o, cs));
  drawCaret(hwnd_, p);
}

void HostWidget::resizeEvent(QResizeEvent*) {
  layoutScrollBars();
  if (Window* w = platform::detail::find(hwnd_)) syncClientSize(*w);
}

LPARAM HostWidget::clientPoint(const QPointF& pos) const {
  QPoint p = pos.toPoint() - clientOrigin();
  return MAKELPARAM(p.x(), p.y());
}

WPARAM HostWidget::mouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) const {
  WPARAM k = 0;
  if (buttons & Qt::LeftButton) k |= MK_LBUTTON;
  if (buttons & Qt::RightButton) k |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) k |= MK_MBUTTON;
  if (mods & Qt::ShiftModifier) k |= MK_SHIFT;
  if (mods & Qt::ControlModifier) k |= MK_CONTROL;
  return k;
}

void HostWidget::sendMouse(UINT msg, QMouseEvent* e) {
  if (!hwnd_) return;
  noteModifiers(e->modifiers());
  cursorState().hover = this;
  HWND target = hwnd_;
  LPARAM point = clientPoint(e->position());
  // With the capture elsewhere, the capturing window gets the mouse.
  HWND cap = captureWindow();
  if (cap && cap != hwnd_ && platform::detail::find(cap)) {
    QWidget* cw = platform::hostWidget(cap);
    if (cw) {
      QPoint global = mapToGlobal(e->position().toPoint());
      QPoint local = cw->mapFromGlobal(global) - platform::detail::clientOrigin(*platform::detail::find(cap));
      point = MAKELPARAM(local.x(), local.y());
      target = cap;
    }
  }
  SendMessage(target, msg, mouseKeys(e->buttons(), e->modifiers()), point);
}

void HostWidget::mousePressEvent(QMouseEvent* e) {
  EventScope scope(eventDepth_);
  const ButtonMessages* button = buttonMessages(e->button());
  if (!button) return;
  setKeyStateBit(button->vk, true);
  sendMouse(button->down, e);
}

void HostWidget::mouseReleaseEvent(QMouseEvent* e) {
  EventScope scope(eventDepth_);
  const ButtonMessages* button = buttonMessages(e->button());
  if (!button) return;
  setKeyStateBit(button->vk, false);
  sendMouse(button->up, e);
}

void HostWidget::mouseDoubleClickEvent(QMouseEvent* e) {
  EventScope scope(eventDepth_);
  Window* w = platform::detail::find(hwnd_);
  if (!w) return;
  const ButtonMessages* button = buttonMessages(e->button());
  if (!button) return;
  // A class without CS_DBLCLKS sees a second press instead.
  const bool dblclks = w->cls && (w->cls->style & CS_DBLCLKS);
  sendMouse(dblclks ? button->doubleClick : button->down, e);
}

void HostWidget::mouseMoveEvent(QMouseEvent* e) {
  EventScope scope(eventDepth_);
  if (!hwnd_) return;
  if (!captureWindow()) SendMessage(hwnd_, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd_), MAKELPARAM(1, WM_MOUSEMOVE));
  if (hwnd_) sendMouse(WM_MOUSEMOVE, e);
}

void HostWidget::wheelEvent(QWheelEvent* e) {
  EventScope scope(eventDepth_);
  if (!hwnd_) return;
  noteModifiers(e->modifiers());
  int delta = e->angleDelta().y();
  if (delta == 0) return;
  QPoint g = e->globalPosition().toPoint();
  WPARAM keys = mouseKeys(e->buttons(), e->modifiers());
  SendMessage(hwnd_, WM_MOUSEWHEEL, MAKEWPARAM(keys, delta), MAKELPARAM(g.x(), g.y()));
  e->accept();
}

void HostWidget::keyPressEvent(QKeyEvent* e) {
  EventScope scope(eventDepth_);
  if (!hwnd_) return;
  noteModifiers(e->modifiers());
  const int vk = platform::virtualKeyFromQt(e->key());
  const bool ctrl = e->modifiers() & Qt::ControlModifier;
  const bool alt = e->modifiers() & Qt::AltModifier;
  const LPARAM repeat = 1 | (e->isAutoRepeat() ? (1LL << 30) : 0);
  if (vk) {
    setKeyStateBit(vk, true);
    SendMessage(hwnd_, alt && !ctrl ? WM_SYSKEYDOWN : WM_KEYDOWN, static_cast<WPARAM>(vk), repeat);
  }
  if (!hwnd_ || !platform::detail::find(hwnd_)) return;
  // The characters a key produces, as Windows delivers them: control codes
  // for Ctrl+letter, WM_SYSCHAR with Alt alone, text otherwise.
  if (ctrl && !alt) {
    if (vk >= 'A' && vk <= 'Z') SendMessage(hwnd_, WM_CHAR, static_cast<WPARAM>(vk - 'A' + 1), repeat);
    return;
  }
  if (vk == VK_BACK || vk == VK_RETURN || vk == VK_ESCAPE) {
    SendMessage(hwnd_, WM_CHAR, static_cast<WPARAM>(vk == VK_ESCAPE ? 27 : vk), repeat);
    return;
  }
  if (vk == VK_TAB) {
    if (!(e->modifiers() & Qt::ShiftModifier) || e->key() == Qt::Key_Tab) SendMessage(hwnd_, WM_CHAR, 9, repeat);
    return;
  }
  const QString text = e->text();
  for (qsizetype i = 0; i < text.size() && hwnd_ && platform::detail::find(hwnd_); ++i) {
    char16_t ch = text[i].unicode();
    if (ch < 32 || ch == 127) continue;
    int code = platform::unicodeToCp1252(ch);
    if (code < 0) continue;
    SendMessage(hwnd_, alt && !ctrl ? WM_SYSCHAR : WM_CHAR, static_cast<WPARAM>(code), repeat);
  }
}

void HostWidget::keyReleaseEvent(QKeyEvent* e) {
  EventScope scope(eventDepth_);
  if (!hwnd_) return;
  const int vk = platform::virtualKeyFromQt(e->key());
  const bool alt = e->modifiers() & Qt::AltModifier;
  if (vk) {
    setKeyStateBit(vk, false);
    SendMessage(hwnd_, alt ? WM_SYSKEYUP : WM_KEYUP, static_cast<WPARAM>(vk), 1 | (3LL << 30));
  }
  noteModifiers(e->modifiers());
}

void HostWidget::focusInEvent(QFocusEvent*) {
  EventScope scope(eventDepth_);
  if (hwnd_) focusChangedTo(hwnd_);
}

void HostWidget::focusOutEvent(QFocusEvent*) {
  EventScope scope(eventDepth_);
  if (!hwnd_ || focusWindow() != hwnd_) return;
  // Focus went to a widget that is not one of our windows (or the program
  // lost the focus).
  QWidget* next = QApplication::focusWidget();
  if (next == this) return;
  HWND target = next ? platform::windowOfWidget(next) : nullptr;
  focusChangedTo(target);
}

void HostWidget::enterEvent(QEnterEvent*) {
  EventScope scope(eventDepth_);
  cursorState().hover = this;
  if (hwnd_) SendMessage(hwnd_, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd_), MAKELPARAM(1, WM_MOUSEMOVE));
}

void HostWidget::closeEvent(QCloseEvent* e) {
  EventScope scope(eventDepth_);
  // The window decides: WM_CLOSE destroys it by default.
  e->ignore();
  if (hwnd_) SendMessage(hwnd_, WM_CLOSE, 0, 0);
}

void HostWidget::changeEvent(QEvent* e) {
  if (e->type() == QEvent::WindowStateChange) {
    if (Window* w = platform::detail::find(hwnd_)) {
      w->lastClientSize = SIZE{-1, -1};
      syncClientSize(*w);
    }
  }
  QWidget::changeEvent(e);
}

void HostWidget::scrollAction(int bar, int action) {
  EventScope scope(eventDepth_);
  Window* w = platform::detail::find(hwnd_);
  QScrollBar* sb = scrollBar(bar);
  if (!w || !sb) return;
  int code = -1;
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
      code = SB_LINEDOWN;
      break;
    case QAbstractSlider::SliderSingleStepSub:
      code = SB_LINEUP;
      break;
    case QAbstractSlider::SliderPageStepAdd:
      code = SB_PAGEDOWN;
      break;
    case QAbstractSlider::SliderPageStepSub:
      code = SB_PAGEUP;
      break;
    case QAbstractSlider::SliderToMinimum:
      code = SB_TOP;
      break;
    case QAbstractSlider::SliderToMaximum:
      code = SB_BOTTOM;
      break;
    case QAbstractSlider::SliderMove:
      code = SB_THUMBTRACK;
      break;
    default:
      return;
  }
  int track = sb->sliderPosition();
  w->scroll[bar].trackPos = track;
  // The window moves the thumb itself through SetScrollInfo.
  if (code != SB_THUMBTRACK) sb->setSliderPosition(w->scroll[bar].pos);
  UINT msg = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
  WPARAM wp = code == SB_THUMBTRACK ? MAKEWPARAM(code, track) : static_cast<WPARAM>(code);
  SendMessage(hwnd_, msg, wp, 0);
}

void HostWidget::scrollReleased(int bar) {
  EventScope scope(eventDepth_);
  Window* w = platform::detail::find(hwnd_);
  QScrollBar* sb = scrollBar(bar);
  if (!w || !sb) return;
  int track = sb->sliderPosition();
  w->scroll[bar].trackPos = track;
  UINT msg = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
  SendMessage(hwnd_, msg, MAKEWPARAM(SB_THUMBPOSITION, track), 0);
  if (hwnd_) SendMessage(hwnd_, msg, SB_ENDSCROLL, 0);
}

namespace platform::detail {

void layoutScrollBars(Window& w) {
  if (w.host) w.host->applyStyle();
}

}  // namespace platform::detail
