// The hourglass while a whole-text job runs.
#pragma once

#include <QCursor>
#include <QGuiApplication>

// Shows the hourglass while it lives. When one is up already (a longer job
// that converts on the way), it is left for that job to take down.
class Hourglass {
 public:
  Hourglass() {
    const QCursor* current = QGuiApplication::overrideCursor();
    set_ = !current || current->shape() != Qt::WaitCursor;
    if (set_) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ~Hourglass() {
    if (set_) QGuiApplication::restoreOverrideCursor();
  }
  Hourglass(const Hourglass&) = delete;
  Hourglass& operator=(const Hourglass&) = delete;

 private:
  bool set_;
};
