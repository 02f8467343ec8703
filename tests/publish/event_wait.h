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

// The same, letting go of objects left to the loop with deleteLater, which
// a loop run from a test's body does not do by itself.
inline bool runUntilDeleted(const std::function<bool()>& gone, int limitMs = 60000) {
  return runUntil(
      [&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return gone();
      },
      limitMs);
}
