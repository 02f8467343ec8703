#include "settings/browser_entry_dialog.h"

#include "common_dialogs.h"
#include "controls/dynamic_help.h"
#include "controls/hourglass.h"
#include "interaction.h"
#include "startup/splash.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

BrowserEntryDialog::BrowserEntryDialog(const QString& name, const QString& path, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TDialog"));
  const bool adding = name.isEmpty() && path.isEmpty();
  setWindowTitle(adding ? QStringLiteral("Browser - tilføj") : QStringLiteral("Browser - rediger"));
  auto field = [this](const char* objectName, const QString& text) {
    auto* f = new QLineEdit(text, this);
    f->setObjectName(QString::fromLatin1(objectName));
    f->setMinimumWidth(280);
    return f;
  };
  auto button = [this](const char* objectName, const QString& caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(objectName));
    return b;
  };
  txt1 = field("txt1", name);
  txt2 = field("txt2", path);
  auto* nameLabel = new QLabel(QStringLiteral("&Navn:"), this);
  auto* pathLabel = new QLabel(QStringLiteral("&Sti og filnavn:"), this);
  nameLabel->setObjectName(QStringLiteral("lbl1"));
  pathLabel->setObjectName(QStringLiteral("lbl2"));
  nameLabel->setBuddy(txt1);
  pathLabel->setBuddy(txt2);
  cmd1 = button("cmd1", QStringLiteral("&Gennemse..."));
  cmdFindNetscape = button("cmdFindNetscape", QStringLiteral("Netscape"));
  cmdFindMSIE = button("cmdFindMSIE", QStringLiteral("Explorer"));
  cmdOk = button("cmdOk", QStringLiteral("&OK"));
  cmdAnnuller = button("cmdAnnuller", QStringLiteral("Annuller"));
  cmdOk->setDefault(true);
  connect(cmd1, &QPushButton::clicked, this, [this] { browse(); });
  connect(cmdFindNetscape, &QPushButton::clicked, this, [this] { find(morvel::BrowserFamily::Firefox); });
  connect(cmdFindMSIE, &QPushButton::clicked, this, [this] { find(morvel::BrowserFamily::Chromium); });
  connect(cmdOk, &QPushButton::clicked, this, [this] { confirm(); });
  connect(cmdAnnuller, &QPushButton::clicked, this, &QDialog::reject);

  auto* grid = new QGridLayout;
  grid->addWidget(nameLabel, 0, 0);
  grid->addWidget(txt1, 0, 1);
  grid->addWidget(cmdFindNetscape, 0, 2);
  grid->addWidget(pathLabel, 1, 0);
  grid->addWidget(txt2, 1, 1);
  grid->addWidget(cmdFindMSIE, 1, 2);
  grid->addWidget(cmd1, 2, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdOk);
  buttons->addWidget(cmdAnnuller);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
  QLabel* line = morvel::helpLine(this);
  layout->addWidget(line);
  auto* help = new DynamicHelp(line, kIdleHelpText);
  help->add(txt1, QStringLiteral("Navn på browseren (fx Netscape 3.0)"));
  help->add(cmd1, QStringLiteral("Klik her for selv at finde stien til browseren."));
  help->add(txt2, QStringLiteral("Her angives stien til web-browseren."));
  help->add(cmdFindNetscape, QStringLiteral("Klik her for at lade Morvel finde stien til Netscape."));
  help->add(cmdFindMSIE, QStringLiteral("Klik her for at lade Morvel finde stien til Internet Explorer."));
  help->add(cmdOk, morvel::kOkHelpText);
  help->add(cmdAnnuller, morvel::kCancelHelpText);
}

QString BrowserEntryDialog::name() const { return txt1->text().trimmed(); }

QString BrowserEntryDialog::path() const { return txt2->text().trimmed(); }

// Programs on this system carry no extension: the dialog lists the files
// the user may run.
void BrowserEntryDialog::browse() {
  platform::FileDialogRequest choice;
  choice.title = QStringLiteral("Find Web-browser");
  choice.filters = {{QStringLiteral("Programfiler"), {QStringLiteral("*")}}};
  choice.executablesOnly = true;
  choice.fileMustExist = true;
  const QFileInfo current(path());
  choice.folder = path().isEmpty() ? QStringLiteral("/usr/bin") : current.absolutePath();
  choice.suggestedName = current.fileName();
  platform::Request r(platform::RequestKind::OpenFile);
  r.parentWidget = this;
  r.caption = choice.title;
  r.data = &choice;
  if (platform::ask(r) && !choice.chosen.isEmpty()) txt2->setText(choice.chosen.first());
}

void BrowserEntryDialog::find(morvel::BrowserFamily family) {
  std::optional<morvel::FoundBrowser> found;
  {
    const Hourglass hourglass;
    found = morvel::findBrowser(family, searchPlaces());
  }
  if (!found) {
    const std::string_view program = morvel::familyProgram(family);
    platform::messageBox(
        this,
        QStringLiteral("Morvel kan ikke finde %1").arg(QString::fromUtf8(program.data(), qsizetype(program.size()))),
        morvel::productName(), MB_OK | MB_ICONINFORMATION);
    return;
  }
  txt1->setText(QString::fromStdString(found->name));
  txt2->setText(QString::fromStdString(found->program.string()));
}

void BrowserEntryDialog::confirm() {
  if (name().isEmpty() || path().isEmpty()) {
    platform::messageBox(this, QStringLiteral("Du skal angive både stien til browseren og et navn."),
                         morvel::productName(), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  accept();
}
