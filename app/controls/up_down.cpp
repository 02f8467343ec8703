#include "controls/up_down.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

TUpDown::TUpDown(QLineEdit* associate, int min, int max, QWidget* parent)
    : QWidget(parent), associate_(associate), min_(min), max_(max), last_(min) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* up = new QToolButton(this);
  auto* down = new QToolButton(this);
  up->setArrowType(Qt::UpArrow);
  down->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {up, down}) {
    b->setAutoRepeat(true);
    b->setFixedSize(16, 11);
    b->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(b);
  }
  connect(up, &QToolButton::clicked, this, [this] { step(1); });
  connect(down, &QToolButton::clicked, this, [this] { step(-1); });
}

int TUpDown::Position() const {
  bool isNumber = false;
  const int typed = associate_->text().toInt(&isNumber);
  if (isNumber) last_ = std::clamp(typed, min_, max_);
  return last_;
}

void TUpDown::setPosition(int position) {
  last_ = std::clamp(position, min_, max_);
  associate_->setText(QString::number(last_));
}

void TUpDown::step(int delta) { setPosition(Position() + delta); }
