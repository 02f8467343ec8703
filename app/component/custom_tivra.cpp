// TCustomTivra: the editor window inside the widget.
#include "component/tivra_component.h"

#include "host.h"
#include "qtext.h"

#include <QEvent>
#include <QFontInfo>

#include <algorithm>
#include <cstring>

namespace {

constexpr char kEditorClass[] = "Tivra32";
constexpr char kComponentProp[] = "TivraComponent";
constexpr int kControlId = 1000;
constexpr LPARAM kRedraw = 1;

// The widget's font as the editor takes it.
LOGFONT logFontOf(const QFont& font) {
  LOGFONT lf{};
  const QFontInfo info(font);
  lf.lfHeight = -std::max(1, info.pixelSize());
  lf.lfWeight = std::clamp(static_cast<int>(font.weight()), 100, 900);
  lf.lfItalic = font.italic() ? 1 : 0;
  lf.lfUnderline = font.underline() ? 1 : 0;
  lf.lfStrikeOut = font.strikeOut() ? 1 : 0;
  lf.lfCharSet = ANSI_CHARSET;
  const bool fixed = font.fixedPitch() || font.styleHint() == QFont::TypeWriter || info.fixedPitch();
  lf.lfPitchAndFamily = fixed ? static_cast<BYTE>(FIXED_PITCH | FF_MODERN) : DEFAULT_PITCH;
  const std::string face = platform::toCp1252(font.family());
  std::memcpy(lf.lfFaceName, face.data(), std::min<size_t>(face.size(), LF_FACESIZE - 1));
  return lf;
}

}  // namespace

TCustomTivra::TCustomTivra(QWidget* parent) : QWidget(parent) {
  self_ = platform::attachWindow(this, [this](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (msg == WM_CONTEXTMENU) return 0;  // the popup rules are the component's own
    const bool forUs = msg == WM_COMMAND || msg == WM_CTLCOLOREDIT || msg >= WM_USER;
    // While the editor goes, the derived component may be gone already.
    if (forUs && destroying_) return msg == WM_COMMAND ? 2 : 0;
    if (forUs) return NotifyMessage(msg, wParam, lParam);
    return DefWindowProc(hwnd, msg, wParam, lParam);
  });
  setFocusPolicy(Qt::NoFocus);
  resize(185, 89);
}

TCustomTivra::~TCustomTivra() {
  DestroyEditor();
  destroying_ = true;
  // The window goes before the widget, whose handler it calls.
  DestroyWindow(self_);
  if (font_) DeleteObject(font_);
}

void TCustomTivra::HandleNeeded() {
  if (editor_ || destroying_) return;
  creating_ = true;
  TivraRegister();
  HWND hwnd =
      CreateWindowEx(CreationExStyle(), kEditorClass, "", WS_CHILD | WS_VISIBLE | CreationStyle(), 0, 0, width(),
                     height(), self_, reinterpret_cast<HMENU>(static_cast<intptr_t>(kControlId)), nullptr, nullptr);
  if (!hwnd) {
    creating_ = false;
    return;
  }
  editor_ = hwnd;
  SetProp(hwnd, kComponentProp, this);
  editorProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TCustomTivra::SubclassProc)));
  if (QWidget* host = platform::hostWidget(hwnd)) {
    setFocusProxy(host);
    host->installEventFilter(this);
  }
  EditorCreated(hwnd);
  SendFont();
  WindowCreated();
  creating_ = false;
}

void TCustomTivra::DestroyEditor() {
  if (!editor_) return;
  const bool wasDestroying = destroying_;
  destroying_ = true;
  DestroyWindow(editor_);
  destroying_ = wasDestroying;
}

LRESULT TCustomTivra::CallEditor(UINT msg, WPARAM wParam, LPARAM lParam) const {
  if (!editor_ || !editorProc_) return 0;
  return CallWindowProc(editorProc_, editor_, msg, wParam, lParam);
}

LRESULT TCustomTivra::Send(UINT msg, WPARAM wParam, LPARAM lParam) const {
  return editor_ ? SendMessage(editor_, msg, wParam, lParam) : 0;
}

LRESULT CALLBACK TCustomTivra::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<TCustomTivra*>(GetProp(hwnd, kComponentProp));
  if (!self) return DefWindowProc(hwnd, msg, wParam, lParam);
  WNDPROC previous = self->editorProc_;
  if (msg == WM_NCDESTROY) {
    RemoveProp(hwnd, kComponentProp);
    self->editor_ = nullptr;
    self->editorProc_ = nullptr;
    self->setFocusProxy(nullptr);
    const LRESULT result = CallWindowProc(previous, hwnd, msg, wParam, lParam);
    if (!self->destroying_) self->EditorDestroyed();
    return result;
  }
  LRESULT result = 0;
  if (!self->destroying_ && self->EditorMessage(msg, wParam, lParam, result)) return result;
  return CallWindowProc(previous, hwnd, msg, wParam, lParam);
}

void TCustomTivra::SendFont() {
  if (!editor_) return;
  const LOGFONT lf = logFontOf(font());
  HFONT font = CreateFontIndirect(&lf);
  Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), kRedraw);
  // The editor now uses the new font; the old one is free.
  if (font_) DeleteObject(font_);
  font_ = font;
}

void TCustomTivra::showEvent(QShowEvent* event) {
  HandleNeeded();
  QWidget::showEvent(event);
}

void TCustomTivra::resizeEvent(QResizeEvent* event) {
  if (editor_) MoveWindow(editor_, 0, 0, width(), height(), TRUE);
  QWidget::resizeEvent(event);
}

void TCustomTivra::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) SendFont();
  if (event->type() == QEvent::EnabledChange && editor_) EnableWindow(editor_, isEnabled() ? TRUE : FALSE);
  QWidget::changeEvent(event);
}
