#include "startup/splash.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace morvel {

namespace {

const QString kNotice = QStringLiteral("Editor til håndskrevne HTML-sider.\nGratis at bruge og give videre.");
const QString kThanks = QStringLiteral(
    "Tak til alle, der har testet Morvel, meldt fejl og foreslået forbedringer.\n\n"
    "Tak til dem, der har oversat HTML-koder til dansk og skrevet hjælpeteksterne.\n\n"
    "Tak til brugerne, der gennem årene har sendt sider, skabeloner og gode idéer.\n\n"
    "Morvel er skrevet for dem, der vil skrive deres websider selv.");

QLabel* centred(const QString& text, QWidget* parent, int pointSizeDelta = 0, bool bold = false) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignCenter);
  QFont f = label->font();
  f.setPointSize(f.pointSize() + pointSizeDelta);
  f.setBold(bold);
  label->setFont(f);
  return label;
}

}  // namespace

QString productName() { return QStringLiteral("Brimvale's Morvel"); }

QString versionText() { return QStringLiteral("Version %1").arg(QStringLiteral(MORVEL_VERSION)); }

SplashWindow::SplashWindow() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("Splash"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  auto* frame = new QVBoxLayout(this);
  frame->setContentsMargins(24, 18, 24, 18);
  frame->addWidget(centred(productName(), this, 8, true));
  frame->addWidget(centred(versionText(), this));
  frame->addWidget(centred(kNotice, this));
  setStyleSheet(QStringLiteral("SplashWindow, QWidget#Splash { border: 2px solid #000080; }"));
  adjustSize();
}

void SplashWindow::showNow() {
  show();
  repaint();
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

AboutBox::AboutBox(QWidget* parent) : QDialog(parent), thanks_(new QLabel(kThanks)), timer_(new QTimer(this)) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("Om Morvel"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(centred(productName(), this, 6, true));
  layout->addWidget(centred(versionText(), this));
  layout->addWidget(centred(kNotice, this));
  auto* contact = centred(QStringLiteral("Brimvale\nFejl og forslag: morvel@brimvale.dk"), this);
  contact->setObjectName(QStringLiteral("lblKontakt"));
  layout->addWidget(contact);

  static_cast<QLabel*>(thanks_)->setWordWrap(true);
  static_cast<QLabel*>(thanks_)->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  auto* scroller = new QScrollArea(this);
  scroller->setObjectName(QStringLiteral("thanks"));
  scroller->setWidget(thanks_);
  scroller->setWidgetResizable(true);
  scroller->setFixedHeight(90);
  scroller->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  layout->addWidget(scroller);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok, 0, Qt::AlignHCenter);

  // The thanks roll slowly upwards and start again at the end.
  connect(timer_, &QTimer::timeout, this, [this, scroller] {
    QScrollBar* bar = scroller->verticalScrollBar();
    bar->setValue(bar->value() >= bar->maximum() ? 0 : bar->value() + 1);
  });
  timer_->start(60);
}

}  // namespace morvel
