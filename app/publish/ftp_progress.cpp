#include "ftp_progress.h"

#include <algorithm>

namespace morvel::ftp {

namespace {

const QString kUnknown = QStringLiteral(" - - ");

QString bytesText(std::int64_t bytes) { return QString::number(bytes) + QStringLiteral(" bytes"); }

// Figures that cannot be told yet (nothing moved, no size announced, no
// whole second gone) show as unknown rather than as a division by zero.
QString timeLeftText(std::int64_t bytes, std::int64_t size, std::int64_t milliseconds) {
  if (bytes <= 0 || size <= 0) return kUnknown;
  const std::int64_t seconds = milliseconds / 1000;
  return durationText(std::max<std::int64_t>(seconds * size / bytes - seconds, 0));
}

QString rateText(std::int64_t bytes, std::int64_t milliseconds) {
  const std::int64_t seconds = milliseconds / 1000;
  if (seconds <= 0) return kUnknown;
  const std::int64_t tenthsOfKb = bytes * 10 / 1024 / seconds;
  if (tenthsOfKb > 9) return QStringLiteral("%1.%2 KB/sek.").arg(tenthsOfKb / 10).arg(tenthsOfKb % 10);
  if (tenthsOfKb > 0) return QStringLiteral("%1 bytes/sek.").arg(bytes / seconds);
  return kUnknown;
}

}  // namespace

QString durationText(std::int64_t seconds) {
  return QString::asprintf("%2d:%2.2d:%2.2d", static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                           static_cast<int>(seconds % 60));
}

QString progressCaption(bool upload, const QString& fileName, std::int64_t size) {
  return (upload ? QStringLiteral("Sender %1 (%2 bytes)") : QStringLiteral("Modtager %1 (%2 bytes)"))
      .arg(fileName)
      .arg(size);
}

ProgressTexts TransferProgress::report(std::int64_t bytes, std::int64_t size, std::int64_t milliseconds) const {
  ProgressTexts t;
  t.bar = size > 0 ? static_cast<int>(std::clamp<std::int64_t>(bytes * 100 / size, 0, 100)) : 0;
  t.fileBytes = bytesText(bytes);
  t.fileTime = durationText(milliseconds / 1000);
  t.fileTimeLeft = timeLeftText(bytes, size, milliseconds);
  const std::int64_t allBytes = finishedBytes_ + bytes;
  const std::int64_t allMilliseconds = finishedMilliseconds_ + milliseconds;
  t.allBytes = bytesText(allBytes);
  t.allTime = durationText(allMilliseconds / 1000);
  t.rate = rateText(allBytes, allMilliseconds);
  return t;
}

void TransferProgress::fileDone(std::int64_t bytes, std::int64_t milliseconds) {
  finishedBytes_ += bytes;
  finishedMilliseconds_ += milliseconds;
}

}  // namespace morvel::ftp
