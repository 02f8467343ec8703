// The modeless find and replace dialogs: Danish Qt dialogs that speak the
// FINDREPLACE protocol with their owner through the registered message
// "commdlg_FindReplace". Tests reach an open dialog by its objectName
// ("FindDialog", "ReplaceDialog") and its controls by theirs.
#include "win32.h"

#include "host.h"
#include "qtext.h"

#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMoveEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

QString danish(const char* utf8) { return QString::fromUtf8(utf8); }

void copyField(const QLineEdit* field, LPSTR buffer, WORD size) {
  if (!field || !buffer || size == 0) return;
  const std::string bytes = platform::toCp1252(field->text());
  const size_t n = std::min(bytes.size(), static_cast<size_t>(size - 1));
  std::memcpy(buffer, bytes.data(), n);
  buffer[n] = 0;
}

QLineEdit* makeField(QWidget* parent, const char* name, LPCSTR initial, WORD size) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(QString::fromLatin1(name));
  field->setMaxLength(std::max(1, size - 1));
  if (initial) field->setText(platform::fromCp1252(std::string_view(initial, strnlen(initial, size))));
  return field;
}

QPushButton* makeButton(QWidget* parent, const char* name, const char* text) {
  auto* b = new QPushButton(danish(text), parent);
  b->setObjectName(QString::fromLatin1(name));
  return b;
}

class FindReplaceDialog : public QDialog {
 public:
  FindReplaceDialog(LPFINDREPLACE record, bool replace, QWidget* parent) : QDialog(parent), record_(record) {
    setObjectName(replace ? "ReplaceDialog" : "FindDialog");
    setWindowTitle(danish(replace ? "Erstat" : "Søg"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    buildControls(replace);
  }

  void attach() {
    // The window may also end because the widget goes (with its parent):
    // then there is nothing left to delete.
    QPointer<FindReplaceDialog> self(this);
    hwnd_ = platform::attachWindow(this, [self](HWND h, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
      if (msg == WM_DESTROY && self) {
        self->hwnd_ = nullptr;
        self->hide();
        self->deleteLater();
        return 0;
      }
      return DefWindowProc(h, msg, wParam, lParam);
    });
    if (hook()) record_->lpfnHook(hwnd_, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(record_));
  }

  HWND hwnd() const { return hwnd_; }

  void reject() override {
    // Closing: the owner hears it, then the dialog goes. The owner may free
    // the record while it is told, so nothing touches it afterwards.
    if (!hwnd_) return;
    const HWND h = hwnd_;
    record_->Flags = (record_->Flags & ~(FR_FINDNEXT | FR_REPLACE | FR_REPLACEALL)) | FR_DIALOGTERM;
    takeChoices();
    SendMessage(record_->hwndOwner, message(), 0, reinterpret_cast<LPARAM>(record_));
    DestroyWindow(h);
  }

 protected:
  void moveEvent(QMoveEvent* e) override {
    QDialog::moveEvent(e);
    if (hwnd_ && hook()) record_->lpfnHook(hwnd_, WM_MOVE, 0, MAKELPARAM(pos().x(), pos().y()));
  }

 private:
  static UINT message() {
    static const UINT m = RegisterWindowMessage(FINDMSGSTRING);
    return m;
  }

  bool hook() const { return (record_->Flags & FR_ENABLEHOOK) && record_->lpfnHook; }

  void buildControls(bool replace) {
    auto* grid = new QGridLayout;
    findWhat_ = makeField(this, "findWhat", record_->lpstrFindWhat, record_->wFindWhatLen);
    auto* findLabel = new QLabel(danish("Find &hvad:"), this);
    findLabel->setBuddy(findWhat_);
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(findWhat_, 0, 1);
    if (replace) {
      replaceWith_ = makeField(this, "replaceWith", record_->lpstrReplaceWith, record_->wReplaceWithLen);
      auto* replaceLabel = new QLabel(danish("Erstat &med:"), this);
      replaceLabel->setBuddy(replaceWith_);
      grid->addWidget(replaceLabel, 1, 0);
      grid->addWidget(replaceWith_, 1, 1);
    }
    wholeWord_ = new QCheckBox(danish("Kun &hele ord"), this);
    wholeWord_->setObjectName("wholeWord");
    wholeWord_->setChecked(record_->Flags & FR_WHOLEWORD);
    matchCase_ = new QCheckBox(danish("Forskel på store og små &bogstaver"), this);
    matchCase_->setObjectName("matchCase");
    matchCase_->setChecked(record_->Flags & FR_MATCHCASE);

    auto* options = new QVBoxLayout;
    options->addWidget(wholeWord_);
    options->addWidget(matchCase_);
    auto* left = new QVBoxLayout;
    left->addLayout(grid);
    left->addLayout(options);
    if (!replace) left->addWidget(directionBox());
    left->addStretch();

    auto* buttons = new QVBoxLayout;
    auto* findNext = makeButton(this, "findNext", "&Find næste");
    findNext->setDefault(true);
    connect(findNext, &QPushButton::clicked, this, [this] { send(FR_FINDNEXT); });
    buttons->addWidget(findNext);
    if (replace) {
      auto* replaceOne = makeButton(this, "replace", "&Erstat");
      auto* replaceAll = makeButton(this, "replaceAll", "Erstat &alle");
      connect(replaceOne, &QPushButton::clicked, this, [this] { send(FR_REPLACE); });
      connect(replaceAll, &QPushButton::clicked, this, [this] { send(FR_REPLACEALL); });
      buttons->addWidget(replaceOne);
      buttons->addWidget(replaceAll);
    }
    auto* cancel = makeButton(this, "cancel", replace ? "&Luk" : "Annuller");
    connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
    buttons->addWidget(cancel);
    buttons->addStretch();

    // A search needs something to look for.
    auto enable = [this, findNext] {
      const bool any = !findWhat_->text().isEmpty();
      findNext->setEnabled(any);
      for (auto* b : findChildren<QPushButton*>()) {
        if (b->objectName() == "replace" || b->objectName() == "replaceAll") b->setEnabled(any);
      }
    };
    connect(findWhat_, &QLineEdit::textChanged, this, enable);
    enable();

    auto* row = new QHBoxLayout(this);
    row->addLayout(left, 1);
    row->addLayout(buttons);
  }

  QGroupBox* directionBox() {
    auto* box = new QGroupBox(danish("Retning"), this);
    up_ = new QRadioButton(danish("&Op"), box);
    up_->setObjectName("up");
    auto* down = new QRadioButton(danish("&Ned"), box);
    down->setObjectName("down");
    (record_->Flags & FR_DOWN ? down : up_)->setChecked(true);
    auto* layout = new QHBoxLayout(box);
    layout->addWidget(up_);
    layout->addWidget(down);
    return box;
  }

  void takeChoices() {
    DWORD flags = record_->Flags & ~(FR_DOWN | FR_WHOLEWORD | FR_MATCHCASE);
    // The replace dialog has no direction: it searches downwards.
    if (!up_ || !up_->isChecked()) flags |= FR_DOWN;
    if (wholeWord_->isChecked()) flags |= FR_WHOLEWORD;
    if (matchCase_->isChecked()) flags |= FR_MATCHCASE;
    record_->Flags = flags;
    copyField(findWhat_, record_->lpstrFindWhat, record_->wFindWhatLen);
    copyField(replaceWith_, record_->lpstrReplaceWith, record_->wReplaceWithLen);
  }

  void send(DWORD command) {
    if (!hwnd_) return;
    record_->Flags &= ~(FR_FINDNEXT | FR_REPLACE | FR_REPLACEALL | FR_DIALOGTERM);
    takeChoices();
    record_->Flags |= command;
    SendMessage(record_->hwndOwner, message(), 0, reinterpret_cast<LPARAM>(record_));
  }

  LPFINDREPLACE record_;
  HWND hwnd_ = nullptr;
  QLineEdit* findWhat_ = nullptr;
  QLineEdit* replaceWith_ = nullptr;
  QCheckBox* wholeWord_ = nullptr;
  QCheckBox* matchCase_ = nullptr;
  QRadioButton* up_ = nullptr;
};

HWND showDialog(LPFINDREPLACE record, bool replace) {
  if (!record || !IsWindow(record->hwndOwner) || !record->lpstrFindWhat || record->wFindWhatLen == 0) return nullptr;
  if (replace && (!record->lpstrReplaceWith || record->wReplaceWithLen == 0)) return nullptr;
  QWidget* owner = platform::hostWidget(record->hwndOwner);
  auto* dialog = new FindReplaceDialog(record, replace, owner ? owner->window() : nullptr);
  dialog->setModal(false);
  dialog->attach();
  const HWND hwnd = dialog->hwnd();
  if (IsWindow(hwnd)) dialog->show();
  return hwnd;
}

}  // namespace

HWND FindText(LPFINDREPLACE record) { return showDialog(record, false); }

HWND ReplaceText(LPFINDREPLACE record) { return showDialog(record, true); }
