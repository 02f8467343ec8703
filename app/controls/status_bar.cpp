#include "controls/status_bar.h"

#include <QLabel>

TFriendlyStatusBar::TFriendlyStatusBar(QWidget* parent) : QStatusBar(parent) { setSizeGripEnabled(false); }

QLabel* TFriendlyStatusBar::AddPanel(const QString& text, int width) {
  auto* panel = new QLabel(text, this);
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Sunken);
  panel->setObjectName(QStringLiteral("panel%1").arg(panels_.size()));
  panels_.push_back(panel);
  if (width > 0) panel->setFixedWidth(width);
  addPermanentWidget(panel, width > 0 ? 0 : 1);
  return panel;
}

QLabel* TFriendlyStatusBar::Panel(int i) const {
  return i >= 0 && i < PanelCount() ? panels_[static_cast<size_t>(i)] : nullptr;
}

QString TFriendlyStatusBar::PanelText(int i) const {
  const QLabel* panel = Panel(i);
  return panel ? panel->text() : QString();
}

void TFriendlyStatusBar::setPanelText(int i, const QString& text) {
  if (QLabel* panel = Panel(i)) panel->setText(text);
}

void TFriendlyStatusBar::setPanelWidth(int i, int width) {
  if (QLabel* panel = Panel(i)) panel->setFixedWidth(width);
}
