#include "progress_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

// A page that travels from the computer to the server while the window is
// shown, so that a slow transfer still looks alive.
class TransferAnimation : public QWidget {
 public:
  explicit TransferAnimation(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Animate1"));
    setFixedSize(220, 40);
    timer_.setInterval(80);
    connect(&timer_, &QTimer::timeout, this, [this] {
      step_ = (step_ + 1) % kSteps;
      update();
    });
  }

 protected:
  void showEvent(QShowEvent*) override { timer_.start(); }
  void hideEvent(QHideEvent*) override { timer_.stop(); }
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    QStyle* s = style();
    const int icon = 32;
    const int top = (height() - icon) / 2;
    p.drawPixmap(0, top, s->standardIcon(QStyle::SP_ComputerIcon).pixmap(icon));
    p.drawPixmap(width() - icon, top, s->standardIcon(QStyle::SP_DriveNetIcon).pixmap(icon));
    const int page = 16;
    const int travel = width() - 2 * icon - page;
    p.drawPixmap(icon + travel * step_ / (kSteps - 1), (height() - page) / 2,
                 s->standardIcon(QStyle::SP_FileIcon).pixmap(page));
  }

 private:
  static constexpr int kSteps = 20;
  QTimer timer_;
  int step_ = 0;
};

TProgress::TProgress(QWidget* parent) : QDialog(parent, Qt::Tool) {
  setObjectName(QStringLiteral("TProgress"));
  setWindowTitle(QStringLiteral("Overfører filer..."));
  auto* layout = new QVBoxLayout(this);
  animation_ = new TransferAnimation(this);
  layout->addWidget(animation_, 0, Qt::AlignHCenter);
  ProgressBar1 = new QProgressBar;
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, 100);
  layout->addWidget(ProgressBar1);
  layout->addWidget(group(QStringLiteral(" Denne fil "),
                          {QStringLiteral("Overført:"), QStringLiteral("Tid:"), QStringLiteral("Tid tilbage:")},
                          {&lblFilOverfoert, &lblFilTid, &lblFilTidTilbage}));
  layout->addWidget(group(QStringLiteral(" Alle filer "),
                          {QStringLiteral("Overført:"), QStringLiteral("Tid:"), QStringLiteral("Overførselsrate:")},
                          {&lblAlleOverfoert, &lblAlleTid, &lblRate}));
  lblFilOverfoert->setObjectName(QStringLiteral("lblFilOverfoert"));
  lblFilTid->setObjectName(QStringLiteral("lblFilTid"));
  lblFilTidTilbage->setObjectName(QStringLiteral("lblFilTidTilbage"));
  lblAlleOverfoert->setObjectName(QStringLiteral("lblAlleOverfoert"));
  lblAlleTid->setObjectName(QStringLiteral("lblAlleTid"));
  lblRate->setObjectName(QStringLiteral("lblRate"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  cmdAnnuller = new QPushButton(QStringLiteral("Annuller"));
  cmdAnnuller->setObjectName(QStringLiteral("cmdAnnuller"));
  buttons->addWidget(cmdAnnuller);
  layout->addLayout(buttons);
  connect(cmdAnnuller, &QPushButton::clicked, this, [this] {
    if (OnCancel) OnCancel();
  });
}

QGroupBox* TProgress::group(const QString& title, const QStringList& captions, std::initializer_list<QLabel**> values) {
  auto* box = new QGroupBox(title);
  auto* grid = new QGridLayout(box);
  int row = 0;
  for (QLabel** value : values) {
    grid->addWidget(new QLabel(captions.value(row)), row, 0);
    *value = new QLabel;
    (*value)->setMinimumWidth(140);
    grid->addWidget(*value, row, 1);
    ++row;
  }
  grid->setColumnStretch(1, 1);
  return box;
}

void TProgress::startFile(const QString& caption) {
  setWindowTitle(caption);
  ProgressBar1->setValue(0);
}

void TProgress::showProgress(const morvel::ftp::ProgressTexts& texts) {
  ProgressBar1->setValue(texts.bar);
  lblFilOverfoert->setText(texts.fileBytes);
  lblFilTid->setText(texts.fileTime);
  lblFilTidTilbage->setText(texts.fileTimeLeft);
  lblAlleOverfoert->setText(texts.allBytes);
  lblAlleTid->setText(texts.allTime);
  lblRate->setText(texts.rate);
}

void TProgress::showAtCorner() {
  adjustSize();
  const QScreen* screen = parentWidget() ? parentWidget()->screen() : QApplication::primaryScreen();
  if (screen) {
    const QRect area = screen->availableGeometry();
    const QSize frame = frameGeometry().size().expandedTo(size());
    move(area.right() - frame.width() + 1, area.bottom() - frame.height() + 1);
  }
  show();
}

// Closing the window is the same as "Annuller": the batch would otherwise go
// on with nobody seeing it.
void TProgress::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (OnCancel) OnCancel();
}
