// A status bar of fixed panels, each a text of its own, like the main
// window's: the first panel takes the width the others leave.
#pragma once

#include <QStatusBar>
#include <QString>

#include <vector>

class QLabel;

class TFriendlyStatusBar : public QStatusBar {
 public:
  explicit TFriendlyStatusBar(QWidget* parent = nullptr);

  // Appends a panel; width 0 stretches it over the room the others leave.
  QLabel* AddPanel(const QString& text, int width);
  int PanelCount() const { return static_cast<int>(panels_.size()); }
  QLabel* Panel(int i) const;
  QString PanelText(int i) const;
  void setPanelText(int i, const QString& text);
  void setPanelWidth(int i, int width);

 private:
  std::vector<QLabel*> panels_;
};
