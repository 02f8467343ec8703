// The figures of the progress window of a batch of transfers: this file's
// bytes, time and time left, and the batch's bytes, time and rate.
#pragma once

#include <QString>

#include <cstdint>

namespace morvel::ftp {

struct ProgressTexts {
  int bar = 0;           // 0..100
  QString fileBytes;     // "12345 bytes"
  QString fileTime;      // " 0:01:05"
  QString fileTimeLeft;  // " 0:00:30", or " - - " while it cannot be told
  QString allBytes;
  QString allTime;
  QString rate;  // "123.4 KB/sek.", "512 bytes/sek." or " - - "
};

// Hours, minutes and seconds as "%2d:%2.2d:%2.2d".
QString durationText(std::int64_t seconds);
// The window's caption for one file: "Sender %s (%d bytes)" or "Modtager ...".
QString progressCaption(bool upload, const QString& fileName, std::int64_t size);

class TransferProgress {
 public:
  // This file: `bytes` of `size` (0 when unknown) after `milliseconds`.
  ProgressTexts report(std::int64_t bytes, std::int64_t size, std::int64_t milliseconds) const;
  // The file is done: its bytes and time count among the finished files.
  void fileDone(std::int64_t bytes, std::int64_t milliseconds);
  std::int64_t finishedBytes() const { return finishedBytes_; }

 private:
  std::int64_t finishedBytes_ = 0;
  std::int64_t finishedMilliseconds_ = 0;
};

}  // namespace morvel::ftp
