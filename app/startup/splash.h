// The small borderless window shown while the program starts, and the
// about box: the product's name, its version and a short notice.
#pragma once

#include <QDialog>
#include <QWidget>

class QLabel;
class QTimer;

namespace morvel {

// "Brimvale's Morvel" and the version, e.g. "Version 2.09".
QString productName();
QString versionText();

class SplashWindow : public QWidget {
 public:
  SplashWindow();
  // Shows the window and paints it before the start-up goes on.
  void showNow();
};

class AboutBox : public QDialog {
 public:
  explicit AboutBox(QWidget* parent = nullptr);

 private:
  QWidget* thanks_;
  QTimer* timer_;
};

}  // namespace morvel
