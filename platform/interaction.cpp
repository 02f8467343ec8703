#include "interaction.h"

#include "host.h"
#include "qtext.h"

#include <QAction>
#include <QDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>
#include <map>

namespace platform {

int showPopupMenuDefault(const Request& request);  // menu.cpp

namespace {

struct SeamState {
  Responder responder;
  std::map<RequestKind, Responder> defaults;
};

SeamState& seam() {
  static SeamState& s = *new SeamState;
  return s;
}

// With no screen to show a dialog on (the offscreen platform: screenshots,
// command-line checks), a request is written to standard error and
// answered as if cancelled, never left waiting for a click.
bool headless() { return QGuiApplication::platformName() == QLatin1String("offscreen"); }

int cancelAnswer(const Request& r) {
  if (r.kind == RequestKind::MessageBox) {
    switch (r.buttons()) {
      case MB_OK:
        return IDOK;
      case MB_YESNO:
        return IDNO;
      case MB_ABORTRETRYIGNORE:
        return IDABORT;
      default:
        return IDCANCEL;
    }
  }
  return 0;
}

QMessageBox::Icon iconOf(UINT flags) {
  switch (flags & MB_ICONMASK) {
    case MB_ICONSTOP:
      return QMessageBox::Critical;
    case MB_ICONQUESTION:
      return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
      return QMessageBox::Warning;
    case MB_ICONINFORMATION:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

struct ButtonSpec {
  int id;
  const char* text;
  QMessageBox::ButtonRole role;
};

std::vector<ButtonSpec> buttonsOf(UINT flags) {
  const ButtonSpec ok{IDOK, "OK", QMessageBox::AcceptRole};
  const ButtonSpec cancel{IDCANCEL, "Annuller", QMessageBox::RejectRole};
  const ButtonSpec yes{IDYES, "&Ja", QMessageBox::YesRole};
  const ButtonSpec no{IDNO, "&Nej", QMessageBox::NoRole};
  const ButtonSpec abort{IDABORT, "&Afbryd", QMessageBox::RejectRole};
  const ButtonSpec retry{IDRETRY, "&Prøv igen", QMessageBox::AcceptRole};
  const ButtonSpec ignore{IDIGNORE, "&Ignorer", QMessageBox::AcceptRole};
  switch (flags & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {ok, cancel};
    case MB_ABORTRETRYIGNORE:
      return {abort, retry, ignore};
    case MB_YESNOCANCEL:
      return {yes, no, cancel};
    case MB_YESNO:
      return {yes, no};
    case MB_RETRYCANCEL:
      return {retry, cancel};
    default:
      return {ok};
  }
}

QWidget* parentOf(const Request& r) {
  if (r.parentWidget) return r.parentWidget;
  QWidget* w = hostWidget(r.owner);
  return w ? w->window() : nullptr;
}

int showMessageBox(Request& r) {
  QMessageBox box(iconOf(r.flags), r.caption, r.text, QMessageBox::NoButton, parentOf(r));
  std::map<QAbstractButton*, int> ids;
  auto specs = buttonsOf(r.flags);
  size_t defaultIndex = (r.flags & MB_DEFMASK) >> 8;
  for (size_t i = 0; i < specs.size(); ++i) {
    QPushButton* b = box.addButton(QString::fromUtf8(specs[i].text), specs[i].role);
    ids[b] = specs[i].id;
    if (i == defaultIndex) box.setDefaultButton(b);
  }
  box.exec();
  auto it = ids.find(box.clickedButton());
  return it == ids.end() ? cancelAnswer(r) : it->second;
}

int showDefault(Request& r) {
  if (headless()) {
    std::fprintf(stderr, "morvel: %s: %s\n", r.caption.toUtf8().constData(), r.text.toUtf8().constData());
    return cancelAnswer(r);
  }
  switch (r.kind) {
    case RequestKind::MessageBox:
      return showMessageBox(r);
    case RequestKind::PopupMenu:
      return showPopupMenuDefault(r);
    case RequestKind::Form:
      return r.form ? r.form->exec() : QDialog::Rejected;
    default:
      break;
  }
  auto it = seam().defaults.find(r.kind);
  return it == seam().defaults.end() ? 0 : it->second(r);
}

}  // namespace

Responder setResponder(Responder responder) {
  Responder old = std::move(seam().responder);
  seam().responder = std::move(responder);
  return old;
}

void setDefaultHandler(RequestKind kind, Responder handler) { seam().defaults[kind] = std::move(handler); }

int ask(Request& request) {
  if (seam().responder) return seam().responder(request);
  return showDefault(request);
}

int messageBox(QWidget* parent, const QString& text, const QString& caption, UINT flags) {
  Request r(RequestKind::MessageBox);
  r.parentWidget = parent;
  r.text = text;
  r.caption = caption;
  r.flags = flags;
  return ask(r);
}

int runModal(QDialog* form, QWidget* parent) {
  Request r(RequestKind::Form);
  r.form = form;
  r.parentWidget = parent;
  r.caption = form ? form->windowTitle() : QString();
  return ask(r);
}

QAction* popupMenu(QMenu* menu, POINT screenPoint, QWidget* parent) {
  if (!menu) return nullptr;
  Request r(RequestKind::PopupMenu);
  r.parentWidget = parent;
  r.caption = menu->title();
  r.point = screenPoint;
  r.data = menu;
  // Qt's own menu carries out the chosen item itself; a responder's answer
  // is carried out here.
  QAction* triggered = nullptr;
  const auto watch = QObject::connect(menu, &QMenu::triggered, [&triggered](QAction* a) { triggered = a; });
  const int chosen = ask(r);
  QObject::disconnect(watch);
  if (triggered) return triggered;
  const QList<QAction*> actions = menu->actions();
  if (chosen < 1 || chosen > actions.size()) return nullptr;
  QAction* action = actions[chosen - 1];
  if (action->isSeparator() || !action->isEnabled() || action->menu()) return nullptr;
  action->trigger();
  return action;
}

}  // namespace platform

int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  platform::Request r(platform::RequestKind::MessageBox);
  r.owner = owner;
  r.text = platform::fromCp1252(text ? text : "");
  r.caption = platform::fromCp1252(caption ? caption : "Fejl");
  r.flags = type;
  return platform::ask(r);
}
