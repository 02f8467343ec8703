#include "controls/colour_button.h"

#include "common_dialogs.h"
#include "interaction.h"

#include <QPainter>

namespace {

constexpr int kSwatchMargin = 4;

}  // namespace

TColourButton::TColourButton(QWidget* parent) : QPushButton(parent) {
  setFixedSize(44, 22);
  connect(this, &QPushButton::clicked, this, [this] { choose(); });
}

void TColourButton::setColor(COLORREF colour) {
  if (colour == colour_) return;
  colour_ = colour;
  update();
}

void TColourButton::choose() {
  platform::ColourDialogRequest choice{colour_};
  platform::Request r(platform::RequestKind::Colour);
  r.parentWidget = window();
  r.data = &choice;
  if (!platform::ask(r)) return;
  setColor(choice.colour);
  if (OnColorChange) OnColorChange(*this);
}

// The swatch keeps its colour while the button is disabled: the dialog
// shows a fixed scheme's colours in disabled buttons.
void TColourButton::paintEvent(QPaintEvent* event) {
  QPushButton::paintEvent(event);
  QPainter painter(this);
  const QRect swatch = rect().adjusted(kSwatchMargin, kSwatchMargin, -kSwatchMargin - 1, -kSwatchMargin - 1);
  painter.setPen(isEnabled() ? Qt::black : Qt::gray);
  painter.setBrush(QColor(GetRValue(colour_), GetGValue(colour_), GetBValue(colour_)));
  painter.drawRect(swatch);
}
