// The standard controls "BUTTON" (push buttons) and "STATIC" (texts): a
// window whose client area a Qt push button or label fills.
#include "host.h"
#include "qtext.h"

#include <QLabel>
#include <QPushButton>

namespace {

template <typename W>
W* controlWidget(HWND hwnd) {
  QWidget* host = platform::hostWidget(hwnd);
  return host ? host->findChild<W*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

QString windowText(HWND hwnd) {
  char buffer[512] = {};
  GetWindowText(hwnd, buffer, sizeof buffer);
  return platform::fromCp1252(buffer);
}

// A static text shows "&&" as "&" and drops a single "&", as Windows does.
QString withoutMnemonics(const QString& text) {
  QString out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
    out += text[i];
  }
  return out;
}

void fill(QWidget* widget, LPARAM size) {
  if (widget) widget->setGeometry(0, 0, LOWORD(size), HIWORD(size));
}

void notifyClicked(HWND button) {
  if (!IsWindow(button)) return;
  const int id = GetDlgCtrlID(button);
  SendMessage(GetParent(button), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

LRESULT CALLBACK buttonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE: {
      auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
      auto* button = new QPushButton(windowText(hwnd), platform::hostWidget(hwnd));
      button->setDefault((cs->style & 0x0F) == BS_DEFPUSHBUTTON);
      button->setGeometry(0, 0, cs->cx, cs->cy);
      button->show();
      // Queued: the parent may destroy the button (and this widget) when told.
      QObject::connect(
          button, &QPushButton::clicked, button, [hwnd] { notifyClicked(hwnd); }, Qt::QueuedConnection);
      return 0;
    }
    case WM_SIZE:
      fill(controlWidget<QPushButton>(hwnd), lParam);
      return 0;
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProc(hwnd, msg, wParam, lParam);
      if (auto* b = controlWidget<QPushButton>(hwnd)) b->setText(windowText(hwnd));
      return result;
    }
    case BM_CLICK:
      if (IsWindowEnabled(hwnd)) notifyClicked(hwnd);
      return 0;
    default:
      return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

LRESULT CALLBACK staticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE: {
      auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
      auto* label = new QLabel(withoutMnemonics(windowText(hwnd)), platform::hostWidget(hwnd));
      label->setTextFormat(Qt::PlainText);
      label->setAlignment(((cs->style & 0x0F) == SS_CENTER ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
      label->setGeometry(0, 0, cs->cx, cs->cy);
      label->show();
      return 0;
    }
    case WM_SIZE:
      fill(controlWidget<QLabel>(hwnd), lParam);
      return 0;
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProc(hwnd, msg, wParam, lParam);
      if (auto* l = controlWidget<QLabel>(hwnd)) l->setText(withoutMnemonics(windowText(hwnd)));
      return result;
    }
    default:
      return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

void registerControl(const char* name, WNDPROC proc) {
  WNDCLASS wc{};
  wc.style = CS_GLOBALCLASS;
  wc.lpfnWndProc = proc;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_BTNFACE + 1));
  wc.lpszClassName = name;
  RegisterClass(&wc);
}

[[maybe_unused]] const bool g_registered = [] {
  registerControl("BUTTON", buttonProc);
  registerControl("STATIC", staticProc);
  return true;
}();

}  // namespace
