#include "dialogs/template_dialog.h"

#include "commands/code_insertion.h"
#include "commands/document_host.h"
#include "commands/entity_commands.h"
#include "component/tivra_component.h"
#include "controls/dynamic_help.h"
#include "controls/input_box.h"
#include "dialogs/element_dialogs.h"
#include "dialogs/page_codes.h"
#include "interaction.h"
#include "settings/settings_store.h"
#include "startup/program_folder.h"
#include "startup/splash.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSaveFile>
#include <QStyle>
#include <QVBoxLayout>

namespace st = morvel::settings;

namespace {

constexpr int kFileRole = Qt::UserRole;
constexpr int kOwnRole = Qt::UserRole + 1;

QString fromPath(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

// The template's bytes written whole beside their place and renamed into
// it, so that a failed copy leaves no half file and an older template of
// the name stays until the new one is complete.
bool copyFile(const QString& from, const QString& to) {
  QFile source(from);
  if (!source.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = source.readAll();
  if (source.error() != QFileDevice::NoError) return false;
  QSaveFile target(to);
  if (!target.open(QIODevice::WriteOnly) || target.write(bytes) != bytes.size()) return false;
  return target.commit();
}

}  // namespace

QString TSkabelon::ownFolder() { return QDir(morvel::programFolder()).filePath(QStringLiteral("Skabeloner")); }

QString TSkabelon::installedFolder() {
  const QDir program(QCoreApplication::applicationDirPath());
  const QString candidates[] = {program.filePath(QStringLiteral("../share/morvel/Skabeloner")),
                                QStringLiteral(MORVEL_BUILD_TEMPLATES_DIR)};
  for (const QString& c : candidates) {
    if (QFileInfo(c).isDir()) return QDir::cleanPath(c);
  }
  return QDir::cleanPath(candidates[0]);
}

TSkabelon::TSkabelon(morvel::DocumentHost& host, QWidget* parent)
    : QDialog(parent ? parent : host.dialogParent()), host_(host) {
  setObjectName(QStringLiteral("TSkabelon"));
  setWindowTitle(QStringLiteral("Nyt HTML-dokument"));
  buildControls();
  resize(st::read(host_.store(), st::start::SkabBredde), st::read(host_.store(), st::start::SkabHoejde));
  fillList();
}

void TSkabelon::buildControls() {
  lwSkabelon = new QListWidget(this);
  lwSkabelon->setObjectName(QStringLiteral("lwSkabelon"));
  lwSkabelon->setViewMode(QListView::IconMode);
  lwSkabelon->setIconSize(QSize(32, 32));
  // Two columns of names fit beside the buttons at the window's first size.
  lwSkabelon->setGridSize(QSize(100, 76));
  lwSkabelon->setResizeMode(QListView::Adjust);
  lwSkabelon->setMovement(QListView::Static);
  lwSkabelon->setWordWrap(true);
  lwSkabelon->setContextMenuPolicy(Qt::CustomContextMenu);
  auto button = [this](const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    return b;
  };
  cmdNySkabelon = button("cmdNySkabelon", QStringLiteral("&Ny skabelon..."));
  cmdSletSkabelon = button("cmdSletSkabelon", QStringLiteral("&Slet skabelon"));
  cmdRedigerSkabelon = button("cmdRedigerSkabelon", QStringLiteral("&Rediger skabelon"));
  const morvel::OkCancel buttons = morvel::okCancelButtons(this);
  cmdOk = buttons.ok;
  cmdAnnuller = buttons.cancel;
  cmdAnnuller->setText(QStringLiteral("Luk"));
  popSkabelon = new QMenu(this);
  popSkabelon->setObjectName(QStringLiteral("popSkabelon"));
  popNySkabelon = popSkabelon->addAction(QStringLiteral("&Ny skabelon..."));
  popNySkabelon->setObjectName(QStringLiteral("popNySkabelon"));
  popSletSkabelon = popSkabelon->addAction(QStringLiteral("&Slet skabelon"));
  popSletSkabelon->setObjectName(QStringLiteral("popSletSkabelon"));
  popRedigerSkabelon = popSkabelon->addAction(QStringLiteral("&Rediger skabelon"));
  popRedigerSkabelon->setObjectName(QStringLiteral("popRedigerSkabelon"));

  connect(lwSkabelon, &QListWidget::itemSelectionChanged, this, [this] { selectionChanged(); });
  connect(lwSkabelon, &QListWidget::itemDoubleClicked, this, [this] { startPage(); });
  connect(lwSkabelon, &QListWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    const QPoint screen = lwSkabelon->viewport()->mapToGlobal(at);
    platform::popupMenu(popSkabelon, POINT{screen.x(), screen.y()}, this);
  });
  for (auto [b, a, work] : {std::tuple{cmdNySkabelon, popNySkabelon, &TSkabelon::newTemplate},
                            std::tuple{cmdSletSkabelon, popSletSkabelon, &TSkabelon::deleteTemplate},
                            std::tuple{cmdRedigerSkabelon, popRedigerSkabelon, &TSkabelon::editTemplate}}) {
    connect(b, &QPushButton::clicked, this, [this, work = work] { (this->*work)(); });
    connect(a, &QAction::triggered, this, [this, work = work] { (this->*work)(); });
  }
  connect(cmdOk, &QPushButton::clicked, this, [this] { startPage(); });

  auto* side = new QVBoxLayout;
  side->addWidget(cmdNySkabelon);
  side->addWidget(cmdSletSkabelon);
  side->addWidget(cmdRedigerSkabelon);
  side->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(lwSkabelon, 1);
  top->addLayout(side);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  addHelpTexts(*morvel::endWithHelpLine(this, layout, buttons.row, kIdleHelpText));
}

void TSkabelon::addHelpTexts(DynamicHelp& help) {
  help.add(lwSkabelon, QStringLiteral("Vælg den skabelon, du ønsker at basere dit HTML-dokument på og klik OK eller "
                                      "dobbeltklik på den."));
  help.add(cmdNySkabelon, QStringLiteral("Opretter en ny skabelon."));
  help.add(cmdSletSkabelon, QStringLiteral("Sletter den markerede skabelon."));
  help.add(cmdRedigerSkabelon, QStringLiteral("Åbner den markerede skabelon i Morvels editor, så du kan ændre i den."));
  help.add(cmdOk, QStringLiteral("Åbner et nyt dokument baseret på den markerede skabelon."));
  help.add(cmdAnnuller, QStringLiteral("Lukker dialogboksen uden at åbne et nyt dokument."));
}

void TSkabelon::fillList(const QString& selected) {
  lwSkabelon->clear();
  const QIcon page = style()->standardIcon(QStyle::SP_FileIcon);
  auto* empty = new QListWidgetItem(page, QStringLiteral("Tomt dokument"), lwSkabelon);
  QListWidgetItem* chosen = empty;
  for (const morvel::TemplateFile& t :
       morvel::listTemplates(installedFolder().toStdString(), ownFolder().toStdString())) {
    auto* item = new QListWidgetItem(page, QString::fromStdString(t.name), lwSkabelon);
    item->setData(kFileRole, fromPath(t.file));
    item->setData(kOwnRole, t.own);
    if (!selected.isEmpty() && fromPath(t.file) == selected) chosen = item;
  }
  lwSkabelon->setCurrentItem(chosen);
  selectionChanged();
}

QString TSkabelon::chosenFile() const {
  const QListWidgetItem* item = lwSkabelon->currentItem();
  return item && item->isSelected() ? item->data(kFileRole).toString() : QString();
}

bool TSkabelon::chosenIsOwn() const {
  return !chosenFile().isEmpty() && lwSkabelon->currentItem()->data(kOwnRole).toBool();
}

// "Tomt dokument" is neither deleted nor edited, and only the user's own
// templates are deleted: the installed ones belong to the program.
void TSkabelon::selectionChanged() {
  const bool any = !lwSkabelon->selectedItems().isEmpty();
  const bool file = !chosenFile().isEmpty();
  cmdOk->setEnabled(any);
  cmdSletSkabelon->setEnabled(chosenIsOwn());
  popSletSkabelon->setEnabled(chosenIsOwn());
  cmdRedigerSkabelon->setEnabled(file);
  popRedigerSkabelon->setEnabled(file);
}

void TSkabelon::tell(const QString& text) {
  platform::messageBox(this, text, morvel::productName(), MB_OK | MB_ICONEXCLAMATION);
}

void TSkabelon::newTemplate() {
  const QString source = morvel::chooseFile(this, host_, QStringLiteral("Vælg den fil skabelonen skal baseres på"),
                                            {{QStringLiteral("HTML-dokumenter"), morvel::kPageMasks},
                                             {QStringLiteral("Tekstfiler"), {QStringLiteral("*.txt")}},
                                             {QStringLiteral("Alle filer "), {QStringLiteral("*.*")}}});
  if (source.isEmpty()) return;
  const std::optional<QString> name =
      askForText(this, QStringLiteral("Ny skabelon"), QStringLiteral("Angiv skabelonens navn:"),
                 QFileInfo(source).completeBaseName());
  if (!name || name->isEmpty()) return;
  if (!morvel::isTemplateName(name->toStdString())) {
    tell(QStringLiteral("\"%1\" kan ikke bruges som navn på en skabelon. Navnet må ikke indeholde \"/\".").arg(*name));
    return;
  }
  const QString target = QDir(ownFolder()).filePath(*name + QStringLiteral(".mvs"));
  if (!QDir().mkpath(ownFolder()) || !copyFile(source, target)) {
    tell(QStringLiteral("Skabelonen %1 kunne ikke oprettes.").arg(target));
    return;
  }
  fillList(target);
}

void TSkabelon::deleteTemplate() {
  if (!chosenIsOwn()) return;
  const QString file = chosenFile();
  const QString caption = lwSkabelon->currentItem()->text();
  if (platform::messageBox(this, QStringLiteral("Ønsker du at slette %1?").arg(caption),
                           QStringLiteral("Slet skabelon"), MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  if (!QFile::remove(file)) tell(QStringLiteral("Skabelonen %1 kunne ikke slettes.").arg(file));
  fillList();
}

// An installed template is copied to the user's own first: the installed
// ones are not the user's to change, and the copy then takes their place.
void TSkabelon::editTemplate() {
  QString file = chosenFile();
  if (file.isEmpty()) return;
  if (!chosenIsOwn()) {
    const QString own = QDir(ownFolder()).filePath(QFileInfo(file).fileName());
    if (!QDir().mkpath(ownFolder()) || !copyFile(file, own)) {
      tell(QStringLiteral("Skabelonen %1 kunne ikke oprettes.").arg(own));
      return;
    }
    file = own;
  }
  hide();
  host_.openFile(file);
  accept();
}

void TSkabelon::startPage() {
  if (lwSkabelon->selectedItems().isEmpty()) return;
  const QString file = chosenFile();
  hide();
  // A page that has text or a file of its own stays as it is.
  TTivra* e = host_.activeEditor();
  if (!e || !host_.activeFileName().isEmpty() || !morvel::isEmptyText(*e)) {
    host_.newDocument();
    e = host_.activeEditor();
  }
  if (e && !file.isEmpty()) {
    if (e->LoadFile(file)) {
      morvel::EntityCommands(host_).decodeLoadedText(*e);
      e->SetModified(false);
      morvel::select(*e, {1, 0}, {1, 0});
    } else {
      tell(QStringLiteral("Kan ikke åbne filen %1.").arg(file));
    }
  }
  host_.refreshCaptions();
  accept();
}

void TSkabelon::rememberSize() {
  morvel::RegIniFile& store = host_.store();
  st::write(store, st::start::SkabBredde, width());
  st::write(store, st::start::SkabHoejde, height());
}
