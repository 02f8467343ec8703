#include "dialogs/browser_window_dialog.h"

#include "commands/code_insertion.h"
#include "component/tivra_component.h"
#include "controls/dynamic_help.h"
#include "dialogs/element_dialogs.h"
#include "dialogs/favourites.h"
#include "interaction.h"
#include "qtext.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

// The features as the list shows them, in the order of kWindowFeatures.
const QString kFeatureCaptions[] = {
    QStringLiteral("Adressefelt"), QStringLiteral("Biblioteker"),          QStringLiteral("Historie"),
    QStringLiteral("Menulinie"),   QStringLiteral("Regulérbar størrelse"), QStringLiteral("Rullegardiner"),
    QStringLiteral("Statuslinie"), QStringLiteral("Værktøjslinie")};

std::string bytes(const QLineEdit* field) { return platform::toCp1252(field->text().trimmed()); }

}  // namespace

TfrmBrowservindue::TfrmBrowservindue(TTivra& script, QWidget* parent) : QDialog(parent), script_(script) {
  setObjectName(QStringLiteral("TfrmBrowservindue"));
  setWindowTitle(QStringLiteral("Åben browservindue"));
  buildControls();
}

void TfrmBrowservindue::buildControls() {
  auto field = [this](const char* name, const QString& text = {}) {
    auto* f = new QLineEdit(text, this);
    f->setObjectName(QString::fromLatin1(name));
    return f;
  };
  auto button = [this](const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
  };
  txtAdresse = field("txtAdresse", QStringLiteral("http://"));
  txtAdresse->setMinimumWidth(300);
  txtNavn = field("txtNavn");
  txtBredde = field("txtBredde");
  txtHoejde = field("txtHoejde");
  for (QLineEdit* size : {txtBredde, txtHoejde}) {
    size->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), size));
    size->setMaximumWidth(80);
  }
  cklIndstillinger = new QListWidget(this);
  cklIndstillinger->setObjectName(QStringLiteral("cklIndstillinger"));
  for (const QString& caption : kFeatureCaptions) {
    auto* item = new QListWidgetItem(caption, cklIndstillinger);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  cklIndstillinger->setFixedHeight(cklIndstillinger->sizeHintForRow(0) * 8 + 6);
  cmdNetscape = button("cmdNetscape", QStringLiteral("&Netscape"));
  cmdExplorer = button("cmdExplorer", QStringLiteral(" &Explorer "));
  cmdWebsider = button("cmdWebsider", QStringLiteral("&Web-sider"));
  // The bookmark and page pickers list links in the link-picking window,
  // which belongs to the link collection; until it is there they are greyed.
  cmdNetscape->setEnabled(false);
  cmdWebsider->setEnabled(false);
  connect(cmdExplorer, &QPushButton::clicked, this, [this] { pickFavourite(); });
  const morvel::OkCancel buttons = morvel::okCancelButtons(this);
  cmdOk = buttons.ok;
  cmdAnnuller = buttons.cancel;
  connect(cmdOk, &QPushButton::clicked, this, [this] { confirm(); });

  auto label = [this](const QString& caption, QWidget* buddy) {
    auto* l = new QLabel(caption, this);
    l->setBuddy(buddy);
    return l;
  };
  auto* grid = new QGridLayout;
  grid->addWidget(label(QStringLiteral("&Adresse:"), txtAdresse), 0, 0);
  grid->addWidget(txtAdresse, 0, 1, 1, 3);
  grid->addWidget(label(QStringLiteral("Na&vn:"), txtNavn), 1, 0);
  grid->addWidget(txtNavn, 1, 1, 1, 3);
  grid->addWidget(label(QStringLiteral("&Bredde (pixels):"), txtBredde), 2, 0);
  grid->addWidget(txtBredde, 2, 1);
  grid->addWidget(label(QStringLiteral("&Højde (pixels):"), txtHoejde), 2, 2);
  grid->addWidget(txtHoejde, 2, 3);
  grid->addWidget(label(QStringLiteral("&Indstillinger:"), cklIndstillinger), 3, 0, Qt::AlignTop);
  grid->addWidget(cklIndstillinger, 3, 1, 1, 3);
  auto* sources = new QGroupBox(QStringLiteral("Find web-adresse i:"), this);
  auto* sourceButtons = new QVBoxLayout(sources);
  for (QPushButton* b : {cmdNetscape, cmdExplorer, cmdWebsider}) sourceButtons->addWidget(b);
  sourceButtons->addStretch();
  auto* body = new QHBoxLayout;
  body->addLayout(grid, 1);
  body->addWidget(sources);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body);
  DynamicHelp* help = morvel::endWithHelpLine(this, layout, buttons.row, kIdleHelpText);
  help->add(txtAdresse, QStringLiteral("Den fulde adresse på websiden, der skal åbnes."));
  help->add(cmdNetscape, QStringLiteral("Klik for at finde web-adresser i Netscapes Bookmarks."));
  help->add(cmdExplorer, QStringLiteral("Klik for at finde web-adresser i Internet Stifinders Foretrukne."));
  help->add(cmdWebsider, QStringLiteral("Klik for at finde web-adresser i et HTML-dokument."));
  help->add(txtNavn, QStringLiteral("Navn, som identificerer vinduet."));
  help->add(txtBredde, QStringLiteral("Angiver vinduets bredde."));
  help->add(txtHoejde, QStringLiteral("Angiver vinduets højde."));
  help->add(cklIndstillinger, QStringLiteral("Angiver vinduets egenskaber."));
  help->add(cmdOk, morvel::kOkHelpText);
  help->add(cmdAnnuller, morvel::kCancelHelpText);
}

void TfrmBrowservindue::pickFavourite() {
  const std::vector<std::string> links = morvel::pickFavourites(this);
  if (!links.empty()) txtAdresse->setText(platform::fromCp1252(links[0]));
}

morvel::WindowOpenFields TfrmBrowservindue::fields() const {
  morvel::WindowOpenFields f;
  f.address = bytes(txtAdresse);
  f.name = bytes(txtNavn);
  f.width = bytes(txtBredde);
  f.height = bytes(txtHoejde);
  for (int i = 0; i < cklIndstillinger->count() && i < static_cast<int>(f.features.size()); ++i)
    f.features[static_cast<std::size_t>(i)] = cklIndstillinger->item(i)->checkState() == Qt::Checked;
  return f;
}

void TfrmBrowservindue::confirm() {
  const morvel::WindowOpenFields f = fields();
  if (!morvel::isFullAddress(f.address)) {
    const int answer = platform::messageBox(
        this, QStringLiteral("Du skal angive den fulde adresse startende med \"http://\". Ønsker du at fortsætte?"),
        QStringLiteral("Ufuldstændig URL"), MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) return;
  }
  morvel::insertAtCaret(script_, platform::fromCp1252(morvel::windowOpenCode(f)));
  accept();
}
