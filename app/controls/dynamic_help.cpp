#include "controls/dynamic_help.h"

#include <QCursor>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QWidget>

const QString kIdleHelpText =
    QStringLiteral("Hjælp: Før musen hen over en beskrivelse eller en kontrol for at se hjælpeteksten.");

DynamicHelp::DynamicHelp(QLabel* line, const QString& idle) : QObject(line), line_(line), idle_(idle) {
  line_->setText(idle_);
}

void DynamicHelp::add(QWidget* control, const QString& text) {
  if (!texts_.contains(control)) control->installEventFilter(this);
  texts_.insert(control, text);
}

// Leaving a control inside a group with a help text of its own returns to
// the group's text.
QString DynamicHelp::textAround(const QWidget* control) const {
  for (const QWidget* w = control->parentWidget(); w; w = w->parentWidget()) {
    if (texts_.contains(w) && w->rect().contains(w->mapFromGlobal(QCursor::pos()))) return texts_.value(w);
  }
  return idle_;
}

bool DynamicHelp::eventFilter(QObject* watched, QEvent* event) {
  const auto* control = static_cast<const QWidget*>(watched);
  switch (event->type()) {
    case QEvent::Enter:
    case QEvent::FocusIn:
      line_->setText(texts_.value(control));
      break;
    case QEvent::Leave:
      line_->setText(textAround(control));
      break;
    default:
      break;
  }
  return false;
}

namespace morvel {

const QString kOkHelpText =
    QStringLiteral("Indsætter HTML-koden med de valgte indstillinger på markørens plads i dokumentet.");
const QString kCancelHelpText = QStringLiteral("Ser bort fra de foretagne valg og lukker dialogboksen.");

QLabel* helpLine(QDialog* dialog) {
  auto* line = new QLabel(dialog);
  line->setObjectName(QStringLiteral("lblHjaelp"));
  line->setWordWrap(true);
  // The texts show codes such as "<A HREF=>", which are not markup here.
  line->setTextFormat(Qt::PlainText);
  line->setFrameShape(QFrame::StyledPanel);
  // Room for two lines, so that the dialog does not jump as texts change.
  line->setMinimumHeight(line->fontMetrics().lineSpacing() * 2 + 6);
  line->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return line;
}

}  // namespace morvel
