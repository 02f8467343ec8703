// The interaction seam: every message box, question, popup menu, common
// dialog and modal run of one of the program's own forms goes through here.
//
// By default the request is shown to the user with Qt's dialogs. A test
// installs a responder that sees each request (caption, text, icon,
// buttons, the form to fill) and answers it, so no test ever blocks in a
// modal loop.
#pragma once

#include "win32.h"

#include <QString>

#include <functional>

class QAction;
class QDialog;
class QMenu;
class QWidget;

namespace platform {

enum class RequestKind {
  MessageBox,  // answer: IDOK, IDCANCEL, IDYES, ...
  PopupMenu,   // answer: the chosen command id, or 0 (a Qt menu: see popupMenu)
  Form,        // answer: QDialog::Accepted or QDialog::Rejected
  OpenFile,    // common dialogs: nonzero when the user confirmed; the
  SaveFile,    //   caller's record (data) holds the choice
  Colour,
  Font,
  Print,
  PrintSetup,
  BrowseFolder,
};

struct Request {
  explicit Request(RequestKind k) : kind(k) {}
  RequestKind kind;
  HWND owner = nullptr;
  QWidget* parentWidget = nullptr;
  QString caption;
  QString text;
  UINT flags = 0;           // message boxes: the MB_ flags
  HMENU menu = nullptr;     // popup menus
  POINT point{0, 0};        // popup menus: screen position
  QDialog* form = nullptr;  // forms
  void* data = nullptr;     // common dialogs: the caller's record

  UINT buttons() const { return flags & MB_TYPEMASK; }
  UINT icon() const { return flags & MB_ICONMASK; }
};

using Responder = std::function<int(Request&)>;

// Installs a responder (an empty one restores the default) and returns the
// one it replaces.
Responder setResponder(Responder responder);

// Shows the request through the current responder.
int ask(Request& request);

// How a kind of request is shown by default; features that bring a common
// dialog register theirs.
void setDefaultHandler(RequestKind kind, Responder handler);

// A message box with the program's Danish texts (QString form, for code
// that already works in Unicode).
int messageBox(QWidget* parent, const QString& text, const QString& caption, UINT flags);

// Runs one of the program's own forms modally.
int runModal(QDialog* form, QWidget* parent = nullptr);

// Shows one of the program's Qt popup menus at a screen position: a
// PopupMenu request without an HMENU, whose data is the QMenu and whose
// answer is the chosen action's position in menu->actions() plus one (0:
// none). The chosen action is triggered and returned.
QAction* popupMenu(QMenu* menu, POINT screenPoint, QWidget* parent = nullptr);

}  // namespace platform
