#include "dialogs/link_dialog.h"

#include "commands/document_host.h"
#include "common_dialogs.h"
#include "component/tivra_component.h"
#include "controls/dynamic_help.h"
#include "dialogs/edited_element.h"
#include "dialogs/element_dialogs.h"
#include "dialogs/favourites.h"
#include "dialogs/link_codes.h"
#include "interaction.h"
#include "markup/markup_text.h"
#include "projects/egenskaber.h"
#include "qtext.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "startup/splash.h"

#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace st = morvel::settings;

namespace {

std::string bytes(const QString& text) { return platform::toCp1252(text); }

void tell(QWidget* parent, const QString& text) {
  platform::messageBox(parent, text, morvel::productName(), MB_OK | MB_ICONINFORMATION);
}

}  // namespace

THenvisning::THenvisning(morvel::DocumentHost& host, const morvel::EditedElement& element, QWidget* parent)
    : QDialog(parent ? parent : host.dialogParent()), host_(host), element_(element) {
  setObjectName(QStringLiteral("THenvisning"));
  setWindowFlag(Qt::Tool);
  buildControls();
  fill();
}

void THenvisning::buildControls() {
  auto field = [this](const char* name) {
    auto* f = new QLineEdit(this);
    f->setObjectName(QString::fromLatin1(name));
    return f;
  };
  auto button = [this](const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    return b;
  };
  txtAdresse = field("txtAdresse");
  txtAdresse->setMinimumWidth(300);
  txtNavn = field("txtNavn");
  txtBeskriv = field("txtBeskriv");
  cmd1 = button("cmd1", QStringLiteral("&Gennemse..."));
  cmdNetscape = button("cmdNetscape", QStringLiteral("&Netscape"));
  cmdMSIE = button("cmdMSIE", QStringLiteral(" &Explorer "));
  cmdHTML = button("cmdHTML", QStringLiteral("&Websider"));
  cmdInterne = button("cmdInterne", QStringLiteral("M&ål"));
  cmbMaal = new QComboBox(this);
  cmbMaal->setObjectName(QStringLiteral("cmbMaal"));
  cmbMaal->setEditable(true);
  cmbMaal->setMinimumWidth(160);
  cmbMaal->setInsertPolicy(QComboBox::NoInsert);
  cmbMaal->addItems(
      {QStringLiteral("_blank"), QStringLiteral("_self"), QStringLiteral("_parent"), QStringLiteral("_top")});
  cmbMaal->completer()->setCompletionMode(QCompleter::InlineCompletion);
  cmbMaal->setCurrentText(QString());
  const morvel::OkCancel buttons = morvel::okCancelButtons(this);
  cmdOk = buttons.ok;
  cmdAnnuller = buttons.cancel;

  connect(cmdOk, &QPushButton::clicked, this, [this] { confirm(); });
  connect(cmd1, &QPushButton::clicked, this, [this] { browsePage(); });
  connect(cmdNetscape, &QPushButton::clicked, this, [this] { pickNetscapeBookmarks(); });
  connect(cmdMSIE, &QPushButton::clicked, this, [this] { pickFavourites(); });
  connect(cmdHTML, &QPushButton::clicked, this, [this] { pickFromPage(); });
  connect(cmdInterne, &QPushButton::clicked, this, [this] { pickAnchors(); });

  auto label = [this](const QString& caption, QWidget* buddy) {
    auto* l = new QLabel(caption, this);
    l->setBuddy(buddy);
    return l;
  };
  auto* grid = new QGridLayout;
  grid->addWidget(label(QStringLiteral("&Adresse:"), txtAdresse), 0, 0);
  grid->addWidget(txtAdresse, 0, 1, 1, 3);
  grid->addWidget(cmd1, 0, 4);
  auto* sources = new QHBoxLayout;
  sources->addWidget(new QLabel(QStringLiteral("Hent adresser fra:"), this));
  sources->addWidget(cmdNetscape);
  sources->addWidget(cmdMSIE);
  sources->addWidget(cmdHTML);
  sources->addStretch();
  grid->addLayout(sources, 1, 1, 1, 4);
  grid->addWidget(label(QStringLiteral("&Tekst:"), txtBeskriv), 2, 0);
  grid->addWidget(txtBeskriv, 2, 1, 1, 4);
  grid->addWidget(label(QStringLiteral("&Målramme (target):"), cmbMaal), 3, 0);
  grid->addWidget(cmbMaal, 3, 1, 1, 2);
  grid->addWidget(label(QStringLiteral("An&kernavn:"), txtNavn), 4, 0);
  grid->addWidget(txtNavn, 4, 1, 1, 2);
  grid->addWidget(cmdInterne, 4, 4);
  grid->setColumnStretch(3, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addStretch();
  addHelpTexts(*morvel::endWithHelpLine(this, layout, buttons.row, kIdleHelpText));
}

void THenvisning::addHelpTexts(DynamicHelp& help) {
  help.add(txtAdresse, QStringLiteral("Filnavn på lokal side eller www-adresse på ekstern side. (<A HREF=></A>). "
                                      "Kan indeholde henvisning til et bestemt sted på en side. (#Navn)"));
  help.add(cmd1, QStringLiteral("Dialogboks til søgning efter HTML-dokumenter til indsættelse i \"Adresse\"-feltet."));
  help.add(cmbMaal,
           QStringLiteral("Anføres, hvis siden ønskes åbnet i en anden ramme, end henvisningen er i. (TARGET=)"));
  help.add(txtBeskriv, QStringLiteral("Teksten, brugeren klikker på, for at åbne siden."));
  help.add(cmdNetscape, QStringLiteral("Klik for at finde web-adresser i Netscapes Bookmarks."));
  help.add(cmdMSIE, QStringLiteral("Klik for at finde web-adresser i Internet Stifinders Foretrukne."));
  help.add(cmdHTML, QStringLiteral("Klik for at finde web-adresser i et HTML-dokument."));
  help.add(txtNavn, QStringLiteral("Anføres, hvis henvisningen skal være mål for en anden henvisning. "
                                   "Bruges til at specificere mål et bestemt sted på en side. (NAME=)"));
  help.add(cmdInterne, QStringLiteral("Klik for at finde interne mål i det aktive dokument. (NAME=)"));
  help.add(cmdOk, morvel::kOkHelpText);
  help.add(cmdAnnuller, morvel::kCancelHelpText);
}

void THenvisning::addTargetOnTop(const QString& target) {
  if (!target.isEmpty() && cmbMaal->findText(target, Qt::MatchFixedString | Qt::MatchCaseSensitive) < 0)
    cmbMaal->insertItem(0, target);
}

void THenvisning::fill() {
  const morvel::LinkAttributes* edited = element_.editMode ? element_.as<morvel::LinkAttributes>() : nullptr;
  const QString shownTarget = edited ? platform::fromCp1252(edited->target) : QString();
  addTargetOnTop(st::read(host_.store(), st::bokse::Target));
  // The frames of every open page are targets a link can name.
  for (int i = 0; i < host_.documentCount(); ++i) {
    if (TTivra* e = host_.editor(i)) {
      for (const std::string& name : morvel::frameNames(e->TextBytes())) addTargetOnTop(platform::fromCp1252(name));
    }
  }
  cmbMaal->setCurrentText(shownTarget);
  if (edited) {
    setWindowTitle(QStringLiteral("Henvisning - rediger"));
    txtAdresse->setText(platform::fromCp1252(edited->href));
    txtNavn->setText(platform::fromCp1252(edited->name));
    originalText_ = edited->text;
  } else {
    setWindowTitle(QStringLiteral("Henvisning"));
    if (TTivra* e = host_.activeEditor()) originalText_ = e->SelTextBytes();
  }
  txtBeskriv->setText(morvel::oneLineText(originalText_));
}

void THenvisning::browsePage() {
  const QString chosen = morvel::chooseFile(this, host_, QStringLiteral("HTML-dokumenter"),
                                            {{QStringLiteral("HTML-dokumenter"), morvel::kPageMasks},
                                             {QStringLiteral("Alle filer "), {QStringLiteral("*.*")}}});
  if (chosen.isEmpty()) return;
  txtAdresse->setText(morvel::addressFromActivePage(host_, chosen));
  if (txtBeskriv->text().isEmpty()) txtBeskriv->setText(QFileInfo(chosen).fileName());
}

void THenvisning::pickNetscapeBookmarks() {
  linkList_.clear();
  QString program;
  for (const morvel::BrowserProgram& browser : host_.settings().browsers) {
    const QString& path = browser.path;
    if (path.contains(QStringLiteral("netscape.exe"), Qt::CaseInsensitive)) {
      program = path;
      break;
    }
  }
  if (program.isEmpty()) {
    tell(this, QStringLiteral("Netscape skal være installeret under \"Funktioner, Indstillinger, browser\"."));
    return;
  }
  // The bookmarks lie in one of the folders beside the program's folder.
  const QDir top = QFileInfo(QFileInfo(program).absolutePath()).dir();
  QDirIterator found(top.absolutePath(), {QStringLiteral("bookmark.htm")}, QDir::Files, QDirIterator::Subdirectories);
  if (!found.hasNext()) {
    tell(this, QStringLiteral("Morvel kan ikke finde Netscape Bookmarks. Kontroller at\n"
                              "1) Netscape er installeret under \"Funktioner, Indstillinger, browser\".\n"
                              "2) Filen \"bookmark.htm\" befinder sig i en af Netscapes mapper."));
    return;
  }
  takePicked(morvel::properties::pickLinksOfPage(host_, this, found.next()));
}

void THenvisning::takePicked(const std::vector<std::pair<std::string, std::string>>& picked) {
  linkList_.clear();
  for (const auto& [address, text] : picked) {
    linkList_.push_back(address);
    linkList_.push_back(text);
  }
  if (linkList_.empty()) return;
  txtAdresse->setText(platform::fromCp1252(linkList_[0]));
  if (txtBeskriv->text().isEmpty()) txtBeskriv->setText(platform::fromCp1252(linkList_[1]));
}

void THenvisning::pickFavourites() {
  linkList_ = morvel::pickFavourites(this);
  if (linkList_.empty()) return;
  txtAdresse->setText(platform::fromCp1252(linkList_[0]));
  if (txtBeskriv->text().isEmpty()) txtBeskriv->setText(platform::fromCp1252(linkList_[1]));
}

void THenvisning::pickFromPage() {
  QString folder = host_.pagesFolder();
  const QString page = host_.activeFileName();
  if (folder.isEmpty() && !page.isEmpty()) folder = QFileInfo(page).absolutePath();
  const auto picked = morvel::properties::pickWebAddresses(host_, this, folder);
  if (!picked.empty()) takePicked(picked);
}

void THenvisning::pickAnchors() {
  if (const std::optional<std::string> target = morvel::properties::pickTarget(host_, this))
    txtAdresse->setText(platform::fromCp1252(*target));
}

void THenvisning::confirm() {
  hide();
  const QString target = cmbMaal->currentText().trimmed();
  if (!target.isEmpty()) st::write(host_.store(), st::bokse::Target, target);
  const morvel::LinkFields link{bytes(txtAdresse->text().trimmed()), bytes(target), bytes(txtNavn->text().trimmed()),
                                morvel::textFromField(txtBeskriv->text(), originalText_)};
  if (TTivra* e = host_.activeEditor()) {
    // The selection (the whole link when editing) gives way to the link.
    e->InsertBytes(morvel::linkCode(link, element_.keptAttributes));
    const std::string further = morvel::furtherLinks(linkList_, link.target);
    if (!further.empty()) e->InsertBytes(further);
  }
  accept();
}
