// TProgress: the small window that shows a batch of transfers going on:
// this file's bar, bytes and times, all files' bytes, time and rate, and
// "Annuller", which stops the batch. It sits at the bottom right corner of
// the screen.
#pragma once

#include "ftp_progress.h"

#include <QDialog>
#include <QString>

#include <functional>

class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class TransferAnimation;

class TProgress : public QDialog {
 public:
  explicit TProgress(QWidget* parent = nullptr);

  // "Annuller", or closing the window.
  std::function<void()> OnCancel;

  // A new file: its caption ("Sender ... (n bytes)"), the bar back at 0.
  void startFile(const QString& caption);
  void showProgress(const morvel::ftp::ProgressTexts& texts);
  // Shows the window at the bottom right corner of the screen it is on.
  void showAtCorner();

  QProgressBar* ProgressBar1 = nullptr;
  QLabel* lblFilOverfoert = nullptr;
  QLabel* lblFilTid = nullptr;
  QLabel* lblFilTidTilbage = nullptr;
  QLabel* lblAlleOverfoert = nullptr;
  QLabel* lblAlleTid = nullptr;
  QLabel* lblRate = nullptr;
  QPushButton* cmdAnnuller = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QGroupBox* group(const QString& title, const QStringList& captions, std::initializer_list<QLabel**> values);

  TransferAnimation* animation_ = nullptr;
};
