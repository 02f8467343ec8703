// Modal dialog boxes built from registered templates: a QDialog whose
// controls are made from the template's items, run through the
// interaction seam as a form, with the caller's dialog procedure answering
// its messages.
#include "win32.h"

#include "host.h"
#include "interaction.h"
#include "internal.h"
#include "qtext.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMoveEvent>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

struct ItemCopy {
  std::string className;
  std::string text;
  int id = 0;
  bool defaultButton = false;
  std::string name;
};

struct TemplateCopy {
  std::string caption;
  std::vector<ItemCopy> items;
};

std::map<std::string, TemplateCopy>& templates() {
  static auto& all = *new std::map<std::string, TemplateCopy>;
  return all;
}

bool isClass(const ItemCopy& item, const char* name) { return ascii::equalIgnoringCase(item.className, name); }

class TemplateDialog : public QDialog {
 public:
  TemplateDialog(const TemplateCopy& t, QWidget* parent) : QDialog(parent) {
    setWindowTitle(platform::fromCp1252(t.caption));
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QLabel* pendingBuddy = nullptr;
    for (const ItemCopy& item : t.items) {
      QWidget* w = makeControl(item, buttons);
      if (auto* edit = qobject_cast<QLineEdit*>(w); edit && pendingBuddy) pendingBuddy->setBuddy(edit);
      pendingBuddy = qobject_cast<QLabel*>(w);
      if (w && !qobject_cast<QPushButton*>(w)) layout->addWidget(w);
    }
    layout->addLayout(buttons);
  }

  HWND hwnd = nullptr;
  DLGPROC proc = nullptr;
  bool ended = false;
  INT_PTR result = IDCANCEL;
  std::map<int, QWidget*> controls;

  LRESULT call(UINT msg, WPARAM wParam, LPARAM lParam) { return proc ? proc(hwnd, msg, wParam, lParam) : 0; }

  void reject() override {
    // Escape and the close box are the cancel button; the procedure decides.
    if (!ended) call(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
  }

 protected:
  void moveEvent(QMoveEvent* e) override {
    QDialog::moveEvent(e);
    if (hwnd) call(WM_MOVE, 0, MAKELPARAM(pos().x(), pos().y()));
  }

 private:
  QWidget* makeControl(const ItemCopy& item, QHBoxLayout* buttons) {
    const QString text = platform::fromCp1252(item.text);
    QWidget* w = nullptr;
    if (isClass(item, "BUTTON")) {
      auto* b = new QPushButton(text, this);
      b->setDefault(item.defaultButton);
      b->setAutoDefault(item.defaultButton);
      const int id = item.id;
      QObject::connect(b, &QPushButton::clicked, this, [this, id] { call(WM_COMMAND, MAKEWPARAM(id, 0), 0); });
      buttons->addWidget(b);
      w = b;
    } else if (isClass(item, "EDIT")) {
      auto* edit = new QLineEdit(text, this);
      w = edit;
    } else {
      w = new QLabel(text, this);
    }
    w->setObjectName(QString::fromUtf8(item.name.c_str()));
    controls[item.id] = w;
    return w;
  }
};

std::map<HWND, QPointer<TemplateDialog>>& openDialogs() {
  static auto& all = *new std::map<HWND, QPointer<TemplateDialog>>;
  return all;
}

TemplateDialog* dialogOf(HWND hwnd) {
  auto it = openDialogs().find(hwnd);
  return it == openDialogs().end() ? nullptr : it->second.data();
}

QWidget* controlOf(HWND dialog, int id) {
  TemplateDialog* d = dialogOf(dialog);
  if (!d) return nullptr;
  auto it = d->controls.find(id);
  return it == d->controls.end() ? nullptr : it->second;
}

QWidget* ownerWidget(HWND owner) {
  QWidget* w = platform::hostWidget(owner);
  return w ? w->window() : nullptr;
}

}  // namespace

BOOL RegisterDialogTemplate(LPCSTR name, const DIALOGTEMPLATE* t) {
  if (!name || !t) return FALSE;
  TemplateCopy copy;
  copy.caption = t->caption ? t->caption : "";
  for (int i = 0; i < t->itemCount; ++i) {
    const DIALOGITEM& item = t->items[i];
    copy.items.push_back(ItemCopy{item.className ? item.className : "STATIC", item.text ? item.text : "", item.id,
                                  item.defaultButton != FALSE, item.name ? item.name : ""});
  }
  templates()[name] = std::move(copy);
  return TRUE;
}

INT_PTR DialogBoxParam(HINSTANCE, LPCSTR templateName, HWND owner, DLGPROC proc, LPARAM param) {
  auto found = templateName ? templates().find(templateName) : templates().end();
  if (found == templates().end()) return -1;
  TemplateDialog dialog(found->second, ownerWidget(owner));
  dialog.proc = proc;
  dialog.hwnd = platform::attachWindow(&dialog, [&dialog](HWND h, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
    const LRESULT handled = dialog.call(msg, wParam, lParam);
    return handled ? handled : DefWindowProc(h, msg, wParam, lParam);
  });
  const HWND hwnd = dialog.hwnd;
  openDialogs()[hwnd] = &dialog;
  dialog.call(WM_INITDIALOG, 0, param);

  platform::Request request(platform::RequestKind::Form);
  request.owner = owner;
  request.form = &dialog;
  request.caption = dialog.windowTitle();
  if (!dialog.ended) platform::ask(request);

  const INT_PTR result = dialog.ended ? dialog.result : IDCANCEL;
  openDialogs().erase(hwnd);
  dialog.proc = nullptr;
  DestroyWindow(hwnd);
  return result;
}

BOOL EndDialog(HWND hwnd, INT_PTR result) {
  TemplateDialog* d = dialogOf(hwnd);
  if (!d) return FALSE;
  d->ended = true;
  d->result = result;
  d->done(static_cast<int>(result));
  return TRUE;
}

UINT GetDlgItemText(HWND dialog, int id, LPSTR buffer, int maxCount) {
  QWidget* w = controlOf(dialog, id);
  QString text;
  if (auto* edit = qobject_cast<QLineEdit*>(w))
    text = edit->text();
  else if (auto* label = qobject_cast<QLabel*>(w))
    text = label->text();
  else if (auto* button = qobject_cast<QPushButton*>(w))
    text = button->text();
  return static_cast<UINT>(platform::detail::copyToBuffer(platform::toCp1252(text), buffer, maxCount));
}

BOOL SetDlgItemText(HWND dialog, int id, LPCSTR text) {
  QWidget* w = controlOf(dialog, id);
  const QString value = platform::fromCp1252(text ? text : "");
  if (auto* edit = qobject_cast<QLineEdit*>(w))
    edit->setText(value);
  else if (auto* label = qobject_cast<QLabel*>(w))
    label->setText(value);
  else if (auto* button = qobject_cast<QPushButton*>(w))
    button->setText(value);
  else
    return FALSE;
  return TRUE;
}

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* edit = qobject_cast<QLineEdit*>(controlOf(dialog, id));
  if (!edit) return 0;
  switch (msg) {
    case EM_SETSEL: {
      const int length = static_cast<int>(edit->text().size());
      const int start = std::clamp(static_cast<int>(wParam), 0, length);
      const int end = lParam < 0 ? length : std::clamp(static_cast<int>(lParam), 0, length);
      edit->setSelection(start, end - start);
      return 0;
    }
    case EM_LIMITTEXT:
      edit->setMaxLength(wParam == 0 ? 32767 : static_cast<int>(wParam));
      return 0;
    default:
      return 0;
  }
}
