// Runs the event loop until a condition holds. The limit only keeps a
// broken test from hanging; nothing here measures time.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <functional>

inline bool runUntil(const std::function<bool()>& done, int limitMs = 60000) {
  QDeadlineTimer limit(limitMs);
  while (!done()) {
    if (limit.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
  }
  return true;
}
