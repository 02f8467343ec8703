// TTivra: the editor's notifications and questions become events; keys and
// the mouse in the editor.
#include "component/tivra_component.h"

#include "interaction.h"
#include "qtext.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include <algorithm>
#include <cstring>

namespace {

// The component answers a notification with 0 when it raised its event,
// with 2 otherwise; 2 also keeps the editor from its out-of-memory message.
constexpr LRESULT kDispatched = 0;
constexpr LRESULT kNotDispatched = 2;

QString wordOf(const TivraToken* token) {
  return token ? platform::fromCp1252(std::string_view(token->WordStr, strnlen(token->WordStr, TIVRA_MAX_TOKEN)))
               : QString();
}

Qt::KeyboardModifiers keyModifiers() {
  Qt::KeyboardModifiers shift;
  if (GetKeyState(VK_SHIFT) & 0x8000) shift |= Qt::ShiftModifier;
  if (GetKeyState(VK_CONTROL) & 0x8000) shift |= Qt::ControlModifier;
  if (GetKeyState(VK_MENU) & 0x8000) shift |= Qt::AltModifier;
  return shift;
}

Qt::KeyboardModifiers mouseModifiers(WPARAM keys) {
  Qt::KeyboardModifiers shift;
  if (keys & MK_SHIFT) shift |= Qt::ShiftModifier;
  if (keys & MK_CONTROL) shift |= Qt::ControlModifier;
  if (GetKeyState(VK_MENU) & 0x8000) shift |= Qt::AltModifier;
  return shift;
}

// The bracket kinds of OnFindBrace (1 to 4) as the editor numbers them.
LRESULT braceAnswer(int braceType) {
  switch (braceType) {
    case 1:
      return 2;
    case 2:
      return 1;
    case 3:
      return 6;
    case 4:
      return 5;
    default:
      return 0;
  }
}

}  // namespace

void TTivra::raise(const TNotifyEvent& event) {
  if (event) event(*this);
}

// ---------------------------------------------------------------------------
// Messages to the component's own window

LRESULT TTivra::NotifyMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* token = reinterpret_cast<const TivraToken*>(lParam);
  switch (msg) {
    case WM_COMMAND:
      // Loading a file at creation asks first whether the window may close:
      // the usual answer 2 would refuse.
      if (Creating() && HIWORD(wParam) == TN_GOINGTOCLOSE) return 0;
      if (Creating() || reinterpret_cast<HWND>(lParam) != Handle()) return kNotDispatched;
      return answerNotification(HIWORD(wParam));
    case WM_CTLCOLOREDIT:
      SetTextColor(reinterpret_cast<HDC>(wParam), fontColor_);
      SetBkColor(reinterpret_cast<HDC>(wParam), color_);
      return reinterpret_cast<LRESULT>(backgroundBrush_);
    case TM_COLOURSELECTION:
      SetTextColor(reinterpret_cast<HDC>(wParam), foreColorSelected_);
      SetBkColor(reinterpret_cast<HDC>(wParam), backColorSelected_);
      return 0;
    case TM_COLOURWORD:
      return colourWord(reinterpret_cast<HDC>(wParam), token);
    case TM_PAINTNOTIFICATION:
      return paintNotification(reinterpret_cast<HDC>(wParam), reinterpret_cast<RECT*>(lParam));
    case TM_CLASSIFYBRACKET:
      return classifyBrace(token);
    case TM_WORDCLICKED:
      return wordClicked(token);
    case TM_WORDBREAK:
      return wordBreak(wParam, reinterpret_cast<const char*>(lParam));
    case TM_PRINTPAGE:
      return printPage(reinterpret_cast<HDC>(wParam), lParam);
    case TM_FINDNOTIFY: {
      int response = 0;
      if (OnNotifyFound && Live()) OnNotifyFound(*this, static_cast<int>(lParam), response);
      return response;
    }
    case TM_READPREVIEW:
      return readPreview(wParam, reinterpret_cast<char**>(lParam));
    case TM_PRINTJOBNAME:
      return printJobNameBytes_.empty() ? 0 : reinterpret_cast<LRESULT>(printJobNameBytes_.c_str());
    default:
      return 0;
  }
}

LRESULT TTivra::answerNotification(WORD code) {
  const TNotifyEvent* event = nullptr;
  switch (code) {
    case TN_SETFOCUS:
      event = &OnGotFocus;
      break;
    case TN_KILLFOCUS:
      event = &OnLostFocus;
      break;
    case TN_CHANGE:
      event = &OnChange;
      break;
    case TN_INSERTMODE:
    case TN_OVERWRITEMODE:
      insertMode_ = code == TN_INSERTMODE;
      event = &OnChangeMode;
      break;
    case TN_NEWTEXT:
      event = &OnNewFile;
      break;
    case TN_FONTCHANGED:
      event = &OnNewFont;
      break;
    case TN_ERRSPACE:
      event = &OnSpaceError;
      break;
    case TN_MAXTEXT:
      event = &OnMaxLine;
      break;
    case TN_FILEERROR:
      event = &OnFileError;
      break;
    case TN_CLIPBOARDERROR:
      event = &OnClipboardError;
      break;
    case TN_GOINGTOCLOSE:
      event = &OnGoingToClose;
      break;
    case TN_ASKSAVE:
      event = &OnAskIfStoreFile;
      break;
    case TN_HSCROLL:
      raise(OnHorzScroll);
      return kNotDispatched;
    case TN_VSCROLL:
      raise(OnVertScroll);
      return kNotDispatched;
    default:
      return kNotDispatched;
  }
  raise(*event);
  return kDispatched;
}

LRESULT TTivra::colourWord(HDC dc, const TivraToken* token) {
  COLORREF fore = fontColor_;
  COLORREF back = color_;
  if (token && OnControlHighlight && Live()) {
    const TivraToken copy = *token;
    OnControlHighlight(*this, copy.WordType, copy.WordValue, wordOf(&copy), fore, back);
  }
  SetTextColor(dc, fore);
  SetBkColor(dc, back);
  return 0;
}

LRESULT TTivra::paintNotification(HDC dc, const RECT* rect) {
  if (!OnPaint || !rect || !Live()) return 0;
  if (paintMode_ != TTivraPaintStyle::dsUseMemoryDC) {
    OnPaint(*this, dc, *rect);
    return 0;
  }
  const SIZE size{rect->right - rect->left, rect->bottom - rect->top};
  if (!paintBitmap_ || size.cx != paintBitmapSize_.cx || size.cy != paintBitmapSize_.cy) {
    if (paintBitmap_) DeleteObject(paintBitmap_);
    paintBitmap_ = CreateCompatibleBitmap(dc, std::max<LONG>(size.cx, 1), std::max<LONG>(size.cy, 1));
    paintBitmapSize_ = size;
  }
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ previous = SelectObject(memory, paintBitmap_);
  OnPaint(*this, memory, *rect);
  // The editor selects the bitmap into a DC of its own.
  SelectObject(memory, previous);
  DeleteDC(memory);
  return reinterpret_cast<LRESULT>(paintBitmap_);
}

LRESULT TTivra::classifyBrace(const TivraToken* token) {
  int braceType = 0;
  if (token && OnFindBrace && Live()) OnFindBrace(*this, token->WordType, token->WordValue, wordOf(token), braceType);
  return braceAnswer(braceType);
}

LRESULT TTivra::wordClicked(const TivraToken* token) {
  bool handled = false;
  if (OnWordClick && Live()) {
    if (token)
      OnWordClick(*this, token->WordType, token->WordValue, wordOf(token), handled);
    else
      OnWordClick(*this, TIVRA_TOKEN_NONE, 0, QString(), handled);
  }
  return handled ? 1 : 0;
}

LRESULT TTivra::wordBreak(WPARAM length, const char* line) {
  int position = static_cast<int>(length);
  if (!line || !OnWordBreak || !Live()) return position;
  const QString text = platform::fromCp1252(line);
  OnWordBreak(*this, text, position);
  return std::clamp(position, 1, std::max<int>(1, static_cast<int>(text.size())));
}

LRESULT TTivra::printPage(HDC dc, LPARAM sizes) {
  const int vertical = LOWORD(sizes);
  const int horizontal = HIWORD(sizes);
  int header = 0;
  int footer = 0;
  if (OnPrintPage && Live()) OnPrintPage(*this, dc, vertical, horizontal, header, footer);
  header = std::clamp(header, 0, vertical);
  footer = std::clamp(footer, 0, vertical - header);
  return MAKELONG(header, footer);
}

LRESULT TTivra::readPreview(WPARAM length, char** block) {
  if (block && OnReadPreview && Live()) OnReadPreview(*this, static_cast<int>(length), *block);
  return 0;
}

// ---------------------------------------------------------------------------
// Messages to the editor, seen first

bool TTivra::EditorMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (Creating()) return false;
  switch (msg) {
    case WM_GETDLGCODE:
      result = dialogCode();
      return true;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      WPARAM key = wParam;
      if (keyDown(msg, key)) return true;
      result = CallEditor(msg, key, lParam);
      return true;
    }
    case WM_CONTEXTMENU:
      return true;  // the popup rules are the component's own
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MOUSEMOVE:
      return mouseMessage(msg, wParam, lParam, result);
    default:
      return false;
  }
}

LRESULT TTivra::dialogCode() const {
  LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
  if (wantTabs_) code |= DLGC_WANTTAB;
  if (!wantReturns_) code &= ~DLGC_WANTALLKEYS;
  return code;
}

// True when the key is used up here.
bool TTivra::keyDown(UINT msg, WPARAM& key) {
  const Qt::KeyboardModifiers shift = keyModifiers();
  if (msg == WM_KEYDOWN && key == VK_APPS && shift == Qt::NoModifier) {
    POINT caret{0, 0};
    if (GetFocus() == Handle()) GetCaretPos(&caret);
    ClientToScreen(Handle(), &caret);
    showPopup(caret, true);
    return true;
  }
  if (!OnKeyDown) return false;
  WORD k = static_cast<WORD>(key);
  OnKeyDown(*this, k, shift);
  key = k;
  return k == 0 || !HandleAllocated();
}

bool TTivra::mouseMessage(UINT msg, WPARAM keys, LPARAM point, LRESULT& result) {
  const int x = GET_X_LPARAM(point);
  const int y = GET_Y_LPARAM(point);
  const Qt::KeyboardModifiers shift = mouseModifiers(keys);
  const bool right = msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP;
  // The editor's own context menu opens on the right button only with
  // psStandard.
  const bool editorSeesIt = !right || hasMenu_ == TTivraPopupStyle::psStandard;
  HWND editor = Handle();
  result = 0;
  if (editorSeesIt)
    result = CallEditor(msg, keys, point);
  else if (msg == WM_RBUTTONDOWN)
    SetFocus(editor);
  if (!IsWindow(editor)) return true;
  const Qt::MouseButton button = right ? Qt::RightButton : msg == WM_MOUSEMOVE ? Qt::NoButton : Qt::LeftButton;
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
      break;
    case WM_LBUTTONDBLCLK:
      raise(OnDblClick);
      if (OnMouseDown && HandleAllocated()) OnMouseDown(*this, button, shift, x, y);
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      if (OnMouseUp) OnMouseUp(*this, button, shift, x, y);
      break;
    default:
      if (OnMouseMove) OnMouseMove(*this, button, shift, x, y);
      break;
  }
  if (msg == WM_RBUTTONUP && hasMenu_ == TTivraPopupStyle::psDelphi && HandleAllocated()) {
    POINT at{x, y};
    ClientToScreen(Handle(), &at);
    showPopup(at, false);
  }
  return true;
}

void TTivra::showPopup(POINT screenPoint, bool fromKeyboard) {
  switch (hasMenu_) {
    case TTivraPopupStyle::psDelphi:
      if (popupMenu_) platform::popupMenu(popupMenu_, screenPoint, this);
      break;
    case TTivraPopupStyle::psStandard:
      // The right button reaches the editor, which opens its menu itself.
      if (fromKeyboard) {
        HMENU menu = reinterpret_cast<HMENU>(Send(EM_GETHANDLE, TIVRA_HANDLE_CONTEXTMENU));
        if (menu)
          TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, 0, Handle(), nullptr);
      }
      break;
    case TTivraPopupStyle::psNone:
      break;
  }
}

// Without WantReturns a Return belongs to the form (its default button).
bool TTivra::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && !wantReturns_) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      if (QWidget* form = parentWidget()) {
        QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text());
        QCoreApplication::sendEvent(form, &copy);
      }
      return true;
    }
  }
  return TCustomTivra::eventFilter(watched, event);
}
