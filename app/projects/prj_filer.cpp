#include "projects/prj_filer.h"

#include "commands/document_host.h"
#include "controls/dynamic_help.h"
#include "controls/hourglass.h"
#include "controls/status_bar.h"
#include "interaction.h"
#include "markup/document_title.h"
#include "markup/entities.h"
#include "projects/archive_flag.h"
#include "projects/egenskaber.h"
#include "projects/file_actions.h"
#include "projects/link_collection.h"
#include "projects/project_paths.h"
#include "projects/size_text.h"
#include "qtext.h"
#include "settings/indstillinger.h"
#include "settings/settings.h"
#include "startup/splash.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kMissingRole = Qt::UserRole;
constexpr int kBytesRole = Qt::UserRole + 1;
constexpr int kPathRole = Qt::UserRole + 2;
enum Column { kCaption, kTitle, kSize, kType };

std::string path8(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The text between the page's TITLE codes, its entities decoded; empty when
// it has none.
QString pageTitle(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  const std::string title = morvel::findTitle(std::string_view(bytes.constData(), bytes.size())).title;
  return platform::fromCp1252(morvel::decodeEntities(title)).trimmed();
}

QString fromPath8(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

// The files a page brings along: its pictures, backgrounds, embedded
// objects and the files of the kinds a site ships that it links to.
const morvel::LinkOptions kMediaFiles{morvel::LinkKind::Link, morvel::LinkKind::Embedded, true, true, true, true};

// Web and e-mail addresses are no files of the project.
bool isProjectFile(const std::string& address) {
  return address.find("://") == std::string::npos && address.rfind("mailto:", 0) != 0 && !address.empty();
}

// A file a page refers to, relative to the project's root folder: the
// address as it stands for a page in the root folder, else resolved from
// the page's own folder.
QString mediaCaption(const QString& root, const QString& page, const std::string& address) {
  const QString name = platform::fromCp1252(address);
  if (!page.contains(QLatin1Char('/'))) return name;
  const std::string folder = morvel::folderOf(morvel::resolveRelativePath(path8(root), path8(page)));
  return fromPath8(morvel::relativePath(path8(root), morvel::resolveRelativePath(folder, path8(name))));
}

bool hasChecks(TfrmPrjFiler::Mode mode) { return mode != TfrmPrjFiler::Mode::Properties; }

}  // namespace

TfrmPrjFiler::TfrmPrjFiler(morvel::DocumentHost& owner) : QDialog(owner.dialogParent()), owner_(owner) {
  setObjectName(QStringLiteral("TfrmPrjFiler"));
  setModal(true);
  resize(560, 380);
  auto* layout = new QVBoxLayout(this);
  auto* rootLine = new QHBoxLayout;
  rootLine->addWidget(new QLabel(QStringLiteral("Rodbibliotek:")));
  lblRodBib = new QLabel;
  lblRodBib->setObjectName(QStringLiteral("lblRodBib"));
  rootLine->addWidget(lblRodBib, 1);
  chkMarkerAlle = new QCheckBox(QStringLiteral("Markér alle filer"));
  chkMarkerAlle->setObjectName(QStringLiteral("chkMarkerAlle"));
  rootLine->addWidget(chkMarkerAlle);
  layout->addLayout(rootLine);

  lwPrjFiler = new QTreeWidget;
  lwPrjFiler->setObjectName(QStringLiteral("lwPrjFiler"));
  lwPrjFiler->setRootIsDecorated(false);
  lwPrjFiler->setHeaderLabels({QStringLiteral("Navn og relativ sti"), QStringLiteral("Titel"),
                               QStringLiteral("Størrelse"), QStringLiteral("Type")});
  lwPrjFiler->setColumnWidth(kCaption, 200);
  lwPrjFiler->setColumnWidth(kTitle, 160);
  lwPrjFiler->header()->setSectionsClickable(true);
  layout->addWidget(lwPrjFiler, 1);

  auto* buttons = new QHBoxLayout;
  DynamiskHjaelp = new QLabel;
  DynamiskHjaelp->setObjectName(QStringLiteral("DynamiskHjaelp"));
  DynamiskHjaelp->setWordWrap(true);
  buttons->addWidget(DynamiskHjaelp, 1);
  cmdOK = new QPushButton(QStringLiteral("&OK"));
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  cmdAnnuller = new QPushButton(QStringLiteral("Annuller"));
  cmdAnnuller->setObjectName(QStringLiteral("cmdAnnuller"));
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdAnnuller);
  layout->addLayout(buttons);

  StatusBar1 = new TFriendlyStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->AddPanel(QString(), 120);
  StatusBar1->AddPanel(QString(), 0);
  layout->addWidget(StatusBar1);
  help_ = new DynamicHelp(DynamiskHjaelp, kIdleHelpText);

  connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(cmdAnnuller, &QPushButton::clicked, this, &QDialog::reject);
  connect(chkMarkerAlle, &QCheckBox::clicked, this, [this](bool on) {
    filling_ = true;
    for (int k = 0; k < lwPrjFiler->topLevelItemCount(); ++k) {
      lwPrjFiler->topLevelItem(k)->setCheckState(kCaption, on ? Qt::Checked : Qt::Unchecked);
    }
    filling_ = false;
    updateStatus();
  });
  connect(lwPrjFiler, &QTreeWidget::itemChanged, this, [this] {
    if (!filling_) updateStatus();
  });
  connect(lwPrjFiler->header(), &QHeaderView::sectionClicked, this, [this](int column) { sortBy(column); });
}

TfrmPrjFiler::~TfrmPrjFiler() = default;

void TfrmPrjFiler::prepare(Mode mode, const QString& project, const QString& root, const QStringList& documents,
                           const QString& destination) {
  mode_ = mode;
  switch (mode) {
    case Mode::Properties:
      setWindowTitle(QStringLiteral("Egenskaber for projektet %1").arg(project));
      break;
    case Mode::Publish:
      setWindowTitle(QStringLiteral("Overførsel af %1 til Internet").arg(project));
      break;
    case Mode::Move:
      setWindowTitle(QStringLiteral("Flytning af %1 til %2").arg(project, destination));
      break;
    case Mode::Copy:
      setWindowTitle(QStringLiteral("Kopiering af %1 til %2").arg(project, destination));
      break;
  }
  const bool checks = hasChecks(mode);
  cmdOK->setVisible(checks);
  chkMarkerAlle->setVisible(checks);
  chkMarkerAlle->setChecked(false);
  cmdAnnuller->setText(checks ? QStringLiteral("Annuller") : QStringLiteral("Luk"));
  lblRodBib->setText(root);
  setHelpTexts();
  fill(root, documents);
  checkItems();
  updateStatus();
}

void TfrmPrjFiler::fill(const QString& root, const QStringList& documents) {
  const QString before = owner_.statusText(0);
  owner_.setStatusText(0, QStringLiteral("Projektoplysninger indsamles..."));
  Hourglass hourglass;
  filling_ = true;
  lwPrjFiler->clear();
  sortColumn_ = -1;
  QStringList seen;
  for (const QString& caption : documents) {
    QTreeWidgetItem* document = addItem(root, caption, seen);
    if (!document) continue;
    document->setText(kType, QStringLiteral("HTML"));
    if (document->data(kCaption, kMissingRole).toBool()) continue;
    const QString page = document->data(kCaption, kPathRole).toString();
    document->setText(kTitle, pageTitle(page));
    for (const morvel::LinkRow& row : morvel::collectLinksOfFile(path8(page), kMediaFiles)) {
      if (!isProjectFile(row.address)) continue;
      QTreeWidgetItem* media = addItem(root, mediaCaption(root, caption, row.address), seen);
      if (!media) continue;
      media->setText(kTitle, platform::fromCp1252(row.description.value_or(std::string())));
      media->setText(kType, platform::fromCp1252(row.type.value_or(std::string())));
      if (!media->data(kCaption, kMissingRole).toBool()) media->setIcon(kCaption, linkIcon(row.icon));
    }
  }
  filling_ = false;
  owner_.setStatusText(0, before);
}

// An item for the file `caption` (relative to `root`), unless one of that
// name is listed already: its size, and the warning icon when it is missing.
QTreeWidgetItem* TfrmPrjFiler::addItem(const QString& root, const QString& caption, QStringList& seen) {
  if (seen.contains(caption, Qt::CaseInsensitive)) return nullptr;
  seen << caption;
  const QFileInfo file(fromPath8(morvel::resolveRelativePath(path8(root), path8(caption))));
  const bool missing = !file.isFile();
  auto* item = new QTreeWidgetItem(lwPrjFiler);
  item->setText(kCaption, caption);
  item->setData(kCaption, kMissingRole, missing);
  item->setIcon(kCaption, QApplication::style()->standardIcon(missing ? QStyle::SP_MessageBoxWarning
                                                                      : QStyle::SP_FileDialogContentsView));
  if (!missing) {
    item->setText(kSize, QString::fromStdString(morvel::shortSizeText(static_cast<std::uint64_t>(file.size()))));
    item->setData(kSize, kBytesRole, file.size());
    item->setData(kCaption, kPathRole, file.absoluteFilePath());
  }
  return item;
}

void TfrmPrjFiler::checkItems() {
  filling_ = true;
  const bool changedOnly = mode_ == Mode::Publish && owner_.settings().useArchiveFlag;
  for (int k = 0; k < lwPrjFiler->topLevelItemCount(); ++k) {
    QTreeWidgetItem* item = lwPrjFiler->topLevelItem(k);
    if (!hasChecks(mode_)) {
      item->setData(kCaption, Qt::CheckStateRole, QVariant());
      continue;
    }
    bool checked = !item->data(kCaption, kMissingRole).toBool();
    if (checked && changedOnly) checked = morvel::hasArchiveFlag(path8(item->data(kCaption, kPathRole).toString()));
    item->setCheckState(kCaption, checked ? Qt::Checked : Qt::Unchecked);
  }
  filling_ = false;
}

QStringList TfrmPrjFiler::checkedCaptions() const {
  QStringList captions;
  for (int k = 0; hasChecks(mode_) && k < lwPrjFiler->topLevelItemCount(); ++k) {
    const QTreeWidgetItem* item = lwPrjFiler->topLevelItem(k);
    if (item->checkState(kCaption) == Qt::Checked) captions << item->text(kCaption);
  }
  return captions;
}

void TfrmPrjFiler::updateStatus() {
  StatusBar1->setPanelText(0, QString::number(lwPrjFiler->topLevelItemCount()) + QStringLiteral(" objekt(er)"));
  if (!hasChecks(mode_)) {
    StatusBar1->setPanelText(1, QString());
    return;
  }
  const QString work = mode_ == Mode::Publish ? QStringLiteral("overførsel")
                       : mode_ == Mode::Move  ? QStringLiteral("flytning")
                                              : QStringLiteral("kopiering");
  StatusBar1->setPanelText(1, QStringLiteral("%1 fil(er) markeret til %2").arg(checkedCaptions().size()).arg(work));
}

void TfrmPrjFiler::sortBy(int column) {
  ascending_ = column == sortColumn_ ? !ascending_ : true;
  sortColumn_ = column;
  QList<QTreeWidgetItem*> items;
  while (lwPrjFiler->topLevelItemCount() > 0) items << lwPrjFiler->takeTopLevelItem(0);
  auto compare = [column](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
    if (column == kSize) {
      const qint64 x = a->data(kSize, kBytesRole).toLongLong();
      const qint64 y = b->data(kSize, kBytesRole).toLongLong();
      if (x != y) return x < y ? -1 : 1;
    } else if (const int c = a->text(column).compare(b->text(column), Qt::CaseInsensitive); c != 0) {
      return c;
    }
    return a->text(kCaption).compare(b->text(kCaption), Qt::CaseInsensitive);
  };
  std::stable_sort(items.begin(), items.end(), [&](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
    return ascending_ ? compare(a, b) < 0 : compare(b, a) < 0;
  });
  lwPrjFiler->addTopLevelItems(items);
}

void TfrmPrjFiler::setHelpTexts() {
  const bool properties = mode_ == Mode::Properties;
  help_->add(lwPrjFiler,
             properties
                 ? QStringLiteral("Oversigt over projektets filer - dvs. HTML-dokumenter + tilknyttede mediefiler.")
                 : QStringLiteral("Oversigt over projektets filer. Sæt kryds ved dem, du ønsker at overføre."));
  help_->add(
      lblRodBib,
      properties
          ? QStringLiteral("Projektets rodbibliotek. Stien til filer i andre biblioteker vises relativt i fht. "
                           "rodbiblioteket.")
          : QStringLiteral("Projektets rodbibliotek. Ved overførsel får filer i andre biblioteker samme relative "
                           "placering ift. til destinationsbiblioteket, som de har ift. projektets rodbibliotek."));
  help_->add(cmdOK, QStringLiteral("Gør klar til at overføre de valgte filer."));
  help_->add(cmdAnnuller,
             properties ? QStringLiteral("Lukker dialogboksen") : QStringLiteral("Annullerer filoverførslen"));
}

void TfrmPrjFiler::transfer(const QString& source, const QString& destination, bool copy) {
  const std::string from = path8(source);
  for (QString caption : checkedCaptions()) {
    caption.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const std::string file = morvel::resolveRelativePath(from, path8(caption));
    const QString target = destination + fromPath8(morvel::relativePath(from, file));
    QDir().mkpath(QFileInfo(target).absolutePath());
    if (morvel::files::placeFile(this, fromPath8(file), QDir::cleanPath(target), copy, true) ==
        morvel::files::Placed::Cancelled)
      break;
  }
}
