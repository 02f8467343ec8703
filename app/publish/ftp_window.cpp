// TfrmFtp: the window's controls, menus and tool bars, its settings, and
// what the commands' enabling follows.
#include "ftp_window.h"

#include "certificate_dialog.h"
#include "commands/document_host.h"
#include "controls/dynamic_help.h"
#include "controls/status_bar.h"
#include "file_type_icons.h"
#include "ftp_list.h"
#include "interaction.h"
#include "progress_window.h"
#include "settings/settings.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using namespace morvel::ftp;

namespace {

// The folder list draws each part of the path indented below the one
// before, with the server's icon first, the current folder open and the
// others closed.
class FolderListDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem o = option;
    initStyleOption(&o, index);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    o.text.clear();
    o.icon = QIcon();
    style->drawControl(QStyle::CE_ItemViewItem, &o, painter, widget);
    const int level = index.row();
    const int last = index.model()->rowCount() - 1;
    const QIcon icon = level == 0 ? serverIcon() : level == last ? openFolderIcon() : folderIcon();
    const int left = option.rect.left() + 2 + 5 * level;
    const int top = option.rect.top() + (option.rect.height() - 16) / 2;
    icon.paint(painter, QRect(left, top, 16, 16));
    painter->save();
    painter->setPen(
        option.palette.color((option.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(option.rect.adjusted(left - option.rect.left() + 18, 0, 0, 0), Qt::AlignVCenter,
                      index.data().toString());
    painter->restore();
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    return {size.width() + 5 * index.row() + 22, std::max(size.height(), 18)};
  }
};

QIcon themed(const char* name, QStyle::StandardPixmap fallback) {
  return themeIcon(QString::fromLatin1(name), fallback);
}

}  // namespace

TfrmFtp::TfrmFtp(morvel::DocumentHost& host)
    : QMainWindow(host.dialogParent(), Qt::Window), host_(host), connections_(host.store()) {
  setObjectName(QStringLiteral("TfrmFtp"));
  setWindowTitle(QStringLiteral("Overførsel til Internet"));
  setAttribute(Qt::WA_DeleteOnClose);
  session_ = std::make_unique<FtpSession>(Ftp1);
  certificate_ = new TfrmCertifikat(this);

  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("ftpClient"));
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(4, 4, 4, 4);
  setCentralWidget(central);
  createMenus();
  createToolBars();
  createProperties();
  createList();
  createStatusBar();
  setHelpTexts();
  connectSession();
  readWindowSettings();
  loadConnections();
  updateCommands();
}

TfrmFtp::~TfrmFtp() {
  // The session lets go of the client's events before the client goes.
  session_.reset();
  if (progress_) delete progress_.data();
}

QAction* TfrmFtp::command(const QString& name) const { return findChild<QAction*>(name); }

QAction* TfrmFtp::action(const char* name, const QString& caption, const std::function<void()>& handler,
                         const QKeySequence& key) {
  auto* a = new QAction(caption, this);
  a->setObjectName(QString::fromLatin1(name));
  if (!key.isEmpty()) a->setShortcut(key);
  connect(a, &QAction::triggered, this, [handler] { handler(); });
  return a;
}

// ---------------------------------------------------------------------------
// Menus

void TfrmFtp::createMenus() {
  QMenu* m = menuBar()->addMenu(QStringLiteral("&Forbindelse"));
  m->setObjectName(QStringLiteral("mnuForbindelse"));
  m->addAction(action(
      "mnuNy", QStringLiteral("&Ny"), [this] { newConnection(); }, QKeySequence(Qt::CTRL | Qt::Key_N)));
  m->addAction(action(
      "mnuGemsom", QStringLiteral("&Gem som..."), [this] { saveConnection(); }, QKeySequence(Qt::CTRL | Qt::Key_S)));
  m->addAction(action(
      "mnuSlet", QStringLiteral("&Slet"), [this] { deleteConnection(); }, QKeySequence(Qt::CTRL | Qt::Key_Delete)));
  m->addSeparator();
  m->addAction(action(
      "mnuEgenskaber", QStringLiteral("&Egenskaber"), [this] { toggleProperties(); },
      QKeySequence(Qt::ALT | Qt::Key_Return)));
  m->addSeparator();
  m->addAction(action(
      "mnuTilslut", QStringLiteral("&Tilslut"), [this] { connectToServer(); }, QKeySequence(Qt::CTRL | Qt::Key_F)));
  m->addAction(action(
      "mnuStart", QStringLiteral("Sta&rt overførsel"), [this] { startUpload(); }, QKeySequence(Qt::CTRL | Qt::Key_O)));
  m->addAction(action(
      "mnuStop", QStringLiteral("St&op overførsel"), [this] { session_->stop(); }, QKeySequence(Qt::CTRL | Qt::Key_Q)));
  m->addAction(action(
      "mnuAfbryd", QStringLiteral("Af&bryd"), [this] { disconnectFromServer(); },
      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Q)));
  m->addSeparator();
  m->addAction(action("mnuAfslut", QStringLiteral("&Afslut"), [this] { close(); }));

  // The list's own keys work only while the list has the focus, so that
  // Delete and Ctrl+A in a field of the properties panel stay the field's.
  m = menuBar()->addMenu(QStringLiteral("&Rediger"));
  m->setObjectName(QStringLiteral("mnuRediger"));
  m->addAction(action(
      "mnuSletF", QStringLiteral("&Slet"), [this] { deleteEntries(); }, QKeySequence::Delete));
  m->addAction(action(
      "mnuOmdoeb", QStringLiteral("O&mdøb"), [this] { renameEntry(); }, QKeySequence(Qt::Key_F2)));
  m->addAction(action("mnuOverfoerTil", QStringLiteral("&Overfør til..."), [this] { downloadTo(); }));
  m->addSeparator();
  m->addAction(action(
      "mnuNyMappe", QStringLiteral("&Ny mappe"), [this] { newFolder(); }, QKeySequence(Qt::CTRL | Qt::Key_M)));
  m->addAction(action(
      "mnuMarkerAlt", QStringLiteral("M&arker alt"), [this] { lwFTP->selectAll(); },
      QKeySequence(Qt::CTRL | Qt::Key_A)));
  connect(m, &QMenu::aboutToShow, this, [this] { updateCommands(); });

  m = menuBar()->addMenu(QStringLiteral("&Vis"));
  m->setObjectName(QStringLiteral("mnuVis"));
  views_ = new QActionGroup(this);
  const struct {
    const char* name;
    const char* caption;
    int view;
  } views[] = {{"mnuStoreIkoner", "&Store ikoner", TFtpList::LargeIcons},
               {"mnuSmaaIkoner", "S&må ikoner", TFtpList::SmallIcons},
               {"mnuOversigt", "O&versigt", TFtpList::List},
               {"mnuDetaljer", "D&etaljer", TFtpList::Details}};
  for (const auto& v : views) {
    QAction* a = action(v.name, QString::fromUtf8(v.caption), [this, view = v.view] { setView(view); });
    a->setCheckable(true);
    a->setData(v.view);
    views_->addAction(a);
    m->addAction(a);
  }
  m->addSeparator();
  QMenu* arrange = m->addMenu(QStringLiteral("&Arranger ikoner"));
  arrange->setObjectName(QStringLiteral("mnuArranger"));
  const struct {
    const char* name;
    const char* caption;
    FtpSortColumn column;
  } sorts[] = {{"mnuEfterNavn", "efter &navn", FtpSortColumn::Name},
               {"mnuEfterStoerrelse", "efter &størrelse", FtpSortColumn::Size},
               {"mnuEfterType", "efter &type", FtpSortColumn::Type},
               {"mnuEfterDato", "efter &dato", FtpSortColumn::Date}};
  for (const auto& s : sorts)
    arrange->addAction(action(s.name, QString::fromUtf8(s.caption), [this, c = s.column] { sortBy(c); }));

  // The list's pop-up menu: the entry commands when one is selected, the
  // view and folder commands when none is.
  popFtp = new QMenu(this);
  popFtp->setObjectName(QStringLiteral("popFtp"));
  popFtp->addAction(action("popSlet", QStringLiteral("&Slet"), [this] { deleteEntries(); }));
  popFtp->addAction(action("popOmdoeb", QStringLiteral("O&mdøb"), [this] { renameEntry(); }));
  popFtp->addAction(action("popOverfoer", QStringLiteral("Overfør til..."), [this] { downloadTo(); }));
  QMenu* viewMenu = popFtp->addMenu(QStringLiteral("&Vis"));
  viewMenu->menuAction()->setObjectName(QStringLiteral("popVis"));
  viewMenu->addActions(views_->actions());
  QAction* arrangeItem = popFtp->addMenu(arrange);
  arrangeItem->setObjectName(QStringLiteral("popArranger"));
  popFtp->addAction(action("popNyMappe", QStringLiteral("&Ny mappe"), [this] { newFolder(); }));
  popFtp->addAction(action("popMarkerAlt", QStringLiteral("&Marker alt"), [this] { lwFTP->selectAll(); }));
}

void TfrmFtp::createToolBars() {
  buttons_ = addToolBar(QStringLiteral("Forbindelse"));
  buttons_->setObjectName(QStringLiteral("ToolBar1"));
  buttons_->setMovable(false);
  buttons_->setIconSize(QSize(16, 16));
  cmbForbindelse = new QComboBox;
  cmbForbindelse->setObjectName(QStringLiteral("cmbForbindelse"));
  cmbForbindelse->setMinimumContentsLength(18);
  cmbForbindelse->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  connect(cmbForbindelse, &QComboBox::activated, this, [this](int index) { connectionChosen(index); });
  buttons_->addWidget(cmbForbindelse);
  const struct {
    const char* name;
    const char* hint;
    const char* theme;
    QStyle::StandardPixmap icon;
    const char* command;
  } list[] = {{"btnGem", "Gem forbindelse", "document-save", QStyle::SP_DialogSaveButton, "mnuGemsom"},
              {"btnSlet", "Slet forbindelse", "edit-delete", QStyle::SP_TrashIcon, "mnuSlet"},
              {"btnEgenskaber", "Forbindelsens egenskaber", "document-properties", QStyle::SP_FileDialogInfoView,
               "mnuEgenskaber"},
              {nullptr, nullptr, nullptr, QStyle::SP_CustomBase, nullptr},
              {"btnTilslut", "Tilslut", "network-connect", QStyle::SP_DriveNetIcon, "mnuTilslut"},
              {"btnAfbryd", "Afbryd forbindelsen", "network-disconnect", QStyle::SP_BrowserStop, "mnuAfbryd"},
              {nullptr, nullptr, nullptr, QStyle::SP_CustomBase, nullptr},
              {"btnStart", "Start overførsel", "go-up", QStyle::SP_ArrowUp, "mnuStart"},
              {"btnStop", "Stop overførsel", "process-stop", QStyle::SP_MediaStop, "mnuStop"}};
  for (const auto& b : list) {
    if (!b.name) {
      buttons_->addSeparator();
      continue;
    }
    QAction* menuCommand = command(QString::fromLatin1(b.command));
    QAction* a = action(b.name, QString::fromUtf8(b.hint), [menuCommand] { menuCommand->trigger(); });
    a->setIcon(themed(b.theme, b.icon));
    a->setToolTip(QString::fromUtf8(b.hint));
    buttons_->addAction(a);
    buttons_->widgetForAction(a)->setObjectName(QString::fromLatin1(b.name));
  }
}

void TfrmFtp::createProperties() {
  auto* layout = static_cast<QVBoxLayout*>(centralWidget()->layout());
  panEgenskaber = new QWidget;
  panEgenskaber->setObjectName(QStringLiteral("panEgenskaber"));
  auto* form = new QFormLayout(panEgenskaber);
  form->setContentsMargins(2, 2, 2, 6);
  const auto field = [this, form](QLineEdit*& edit, const char* name, const QString& label) {
    edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    form->addRow(label, edit);
  };
  field(txtServer, "txtServer", QStringLiteral("Server:"));
  field(txtStartBib, "txtStartBib", QStringLiteral("Startmappe:"));
  field(txtBruger, "txtBruger", QStringLiteral("Bruger:"));
  field(txtKode, "txtKode", QStringLiteral("Kodeord:"));
  txtKode->setEchoMode(QLineEdit::Password);
  chkGemKode = new QCheckBox(QStringLiteral("Gem kode"));
  chkGemKode->setObjectName(QStringLiteral("chkGemKode"));
  chkGemKode->setChecked(true);
  form->addRow(QString(), chkGemKode);

  // Security: TLS insisted on or taken when the server offers it, passive
  // data connections, and the certificate the user chose to trust.
  chkSikker = new QCheckBox(QStringLiteral("Sikker forbindelse (FTPS)"));
  chkSikker->setObjectName(QStringLiteral("chkSikker"));
  optKraev = new QRadioButton(QStringLiteral("Kræv"));
  optKraev->setObjectName(QStringLiteral("optKraev"));
  optHvisMuligt = new QRadioButton(QStringLiteral("Hvis muligt"));
  optHvisMuligt->setObjectName(QStringLiteral("optHvisMuligt"));
  auto* secure = new QHBoxLayout;
  secure->addWidget(chkSikker);
  secure->addWidget(optKraev);
  secure->addWidget(optHvisMuligt);
  secure->addStretch(1);
  form->addRow(QString(), secure);
  connect(chkSikker, &QCheckBox::toggled, this, [this](bool on) {
    optKraev->setEnabled(on);
    optHvisMuligt->setEnabled(on);
  });
  chkPassiv = new QCheckBox(QStringLiteral("Passiv overførsel (PASV)"));
  chkPassiv->setObjectName(QStringLiteral("chkPassiv"));
  form->addRow(QString(), chkPassiv);
  lblCertifikat = new QLabel;
  lblCertifikat->setObjectName(QStringLiteral("lblCertifikat"));
  lblCertifikat->setTextInteractionFlags(Qt::TextSelectableByMouse);
  cmdGlemCertifikat = new QPushButton(QStringLiteral("&Glem certifikat"));
  cmdGlemCertifikat->setObjectName(QStringLiteral("cmdGlemCertifikat"));
  connect(cmdGlemCertifikat, &QPushButton::clicked, this, [this] { forgetCertificate(); });
  auto* trusted = new QHBoxLayout;
  trusted->addWidget(lblCertifikat, 1);
  trusted->addWidget(cmdGlemCertifikat);
  form->addRow(QStringLiteral("Certifikat:"), trusted);
  showConnection({});
  panEgenskaber->hide();
  layout->addWidget(panEgenskaber);
}

void TfrmFtp::createList() {
  auto* layout = static_cast<QVBoxLayout*>(centralWidget()->layout());
  folderButtons_ = new QToolBar;
  folderButtons_->setObjectName(QStringLiteral("ToolBar2"));
  folderButtons_->setIconSize(QSize(16, 16));
  cmbMappe = new QComboBox;
  cmbMappe->setObjectName(QStringLiteral("cmbMappe"));
  cmbMappe->setItemDelegate(new FolderListDelegate(cmbMappe));
  cmbMappe->setMinimumContentsLength(24);
  cmbMappe->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  connect(cmbMappe, &QComboBox::activated, this, [this](int index) { folderChosen(index); });
  folderButtons_->addWidget(cmbMappe);
  const auto button = [this](const char* name, const QString& hint, const QIcon& icon,
                             const std::function<void()>& handler) {
    QAction* a = action(name, hint, handler);
    a->setIcon(icon);
    a->setToolTip(hint);
    folderButtons_->addAction(a);
    folderButtons_->widgetForAction(a)->setObjectName(QString::fromLatin1(name));
    return a;
  };
  button("btnNiveauOp", QStringLiteral("Et niveau op"), themed("go-parent-folder", QStyle::SP_FileDialogToParent),
         [this] { levelUp(); });
  button("btnNyMappe", QStringLiteral("Opret ny mappe"), themed("folder-new", QStyle::SP_FileDialogNewFolder),
         [this] { newFolder(); });
  folderButtons_->addSeparator();
  const struct {
    const char* name;
    const char* hint;
    const char* theme;
    QStyle::StandardPixmap icon;
    int view;
  } views[] = {
      {"btnStoreIkoner", "Store ikoner", "view-list-icons", QStyle::SP_FileDialogContentsView, TFtpList::LargeIcons},
      {"btnSmaaIkoner", "Små ikoner", "view-grid", QStyle::SP_FileDialogStart, TFtpList::SmallIcons},
      {"btnOversigt", "Oversigt", "view-list", QStyle::SP_FileDialogListView, TFtpList::List},
      {"btnDetaljer", "Detaljer", "view-list-details", QStyle::SP_FileDialogDetailedView, TFtpList::Details}};
  for (const auto& v : views) {
    QAction* a =
        button(v.name, QString::fromUtf8(v.hint), themed(v.theme, v.icon), [this, view = v.view] { setView(view); });
    a->setCheckable(true);
    a->setData(v.view);
  }
  layout->addWidget(folderButtons_);

  lwFTP = new TFtpList;
  lwFTP->OnDoubleClick = [this](const FtpListRow& row) { listDoubleClicked(row); };
  lwFTP->OnHeaderClick = [this](int column) { sortBy(static_cast<FtpSortColumn>(column)); };
  lwFTP->OnContextMenu = [this](const QPoint& at) { showPopup(at); };
  lwFTP->OnNameEdited = [this](const QString& before, const QString& after, bool accepted) {
    nameEdited(before, after, accepted);
  };
  lwFTP->OnSelectionChanged = [this] { updateCommands(); };
  lwFTP->OnCanDrop = [this](const QDropEvent& e) { return canDrop(e); };
  lwFTP->OnDrop = [this](const QDropEvent& e) { dropped(e); };
  for (const char* name : {"mnuSletF", "mnuOmdoeb", "mnuMarkerAlt"}) {
    QAction* a = command(QString::fromLatin1(name));
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    lwFTP->addAction(a);
  }
  layout->addWidget(lwFTP, 1);

  auto* bottom = new QHBoxLayout;
  DynamiskHjaelp = new QLabel;
  DynamiskHjaelp->setObjectName(QStringLiteral("DynamiskHjaelp"));
  DynamiskHjaelp->setWordWrap(true);
  DynamiskHjaelp->setMinimumHeight(2 * fontMetrics().height() + 4);
  DynamiskHjaelp->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  bottom->addWidget(DynamiskHjaelp, 1);
  cmdLuk = new QPushButton(QStringLiteral("&Luk"));
  cmdLuk->setObjectName(QStringLiteral("cmdLuk"));
  connect(cmdLuk, &QPushButton::clicked, this, [this] { close(); });
  bottom->addWidget(cmdLuk, 0, Qt::AlignTop);
  layout->addLayout(bottom);
}

void TfrmFtp::createStatusBar() {
  StatusBar1 = new TFriendlyStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->AddPanel(QStringLiteral("0 objekt(er)"), 100);
  StatusBar1->AddPanel(QString(), 80);
  StatusBar1->AddPanel(QStringLiteral("Klar"), 0);
  setStatusBar(StatusBar1);
}

void TfrmFtp::setHelpTexts() {
  help_ = new DynamicHelp(DynamiskHjaelp, kIdleHelpText);
  const auto button = [this](const char* name) { return findChild<QWidget*>(QString::fromLatin1(name)); };
  help_->add(cmbForbindelse, QStringLiteral("Vælg den forbindelse, du ønsker at etablere."));
  help_->add(button("btnGem"), QStringLiteral("Gem forbindelsen med de valgte egenskaber."));
  help_->add(button("btnSlet"), QStringLiteral("Slet den markerede forbindelse."));
  help_->add(button("btnEgenskaber"), QStringLiteral("Vis/juster egenskaber for den valgte forbindelse."));
  help_->add(button("btnTilslut"),
             QStringLiteral("Etabler den valgte forbindelse. Du skal være koblet på Internettet, før du tilslutter."));
  help_->add(button("btnAfbryd"), QStringLiteral("Afbryd forbindelsen til serveren."));
  help_->add(button("btnStop"), QStringLiteral("Afbryd den igangværende overførsel."));
  help_->add(button("btnStart"), QStringLiteral("Starter overførsel af markerede filer eller projekt."));
  help_->add(cmbMappe, QStringLiteral("Den aktuelle mappe på serveren. Skift mappe ved at vælge en anden på listen."));
  help_->add(button("btnNiveauOp"), QStringLiteral("Gå et biblioteksniveau op på serveren."));
  help_->add(button("btnNyMappe"), QStringLiteral("Opret et nyt bibliotek på serveren."));
  help_->add(button("btnStoreIkoner"), QStringLiteral("Vis indholdet på serveren med store ikoner."));
  help_->add(button("btnSmaaIkoner"), QStringLiteral("Vis indholdet på serveren med små ikoner."));
  help_->add(button("btnOversigt"), QStringLiteral("Vis oversigt over indholdet på serveren."));
  help_->add(button("btnDetaljer"), QStringLiteral("Vis indholdet på serveren i detaljer."));
  help_->add(txtServer, QStringLiteral("Angiv navnet på din udbyders ftp-server - fx \"ftp.udbyder.dk\". "
                                       "Lytter serveren ikke på port 21, så skriv porten efter et kolon - "
                                       "fx \"ftp.udbyder.dk:2121\"."));
  help_->add(txtStartBib, QStringLiteral("Angiv det bibliotek, du ønsker at starte i - fx \"public_html\" eller "
                                         "\"public_html/grafik\"."));
  help_->add(txtBruger, QStringLiteral("Angiv dit brugernavn ( = brugerID = userID)."));
  help_->add(txtKode, QStringLiteral("Angiv dit kodeord."));
  help_->add(chkGemKode, QStringLiteral("Sæt kryds, hvis du ønsker at kodeordet skal gemmes fra gang til gang."));
  help_->add(chkSikker, QStringLiteral("Send kodeord og filer krypteret (FTPS). Langt de fleste udbydere kan det."));
  help_->add(optKraev, QStringLiteral("Tilslut kun, hvis serveren kan oprette en sikker forbindelse."));
  help_->add(optHvisMuligt, QStringLiteral("Brug en sikker forbindelse, hvis serveren kan. Ellers bliver du spurgt, "
                                           "før noget sendes ukrypteret."));
  help_->add(chkPassiv, QStringLiteral("Lad computeren åbne forbindelserne til overførslerne. Sæt kryds, hvis "
                                       "du sidder bag en router eller en firewall."));
  help_->add(cmdGlemCertifikat, QStringLiteral("Glem det certifikat, du har valgt at stole på for forbindelsen. "
                                               "Næste gang bliver du spurgt igen."));
  help_->add(lwFTP, QStringLiteral("Oversigt over indholdet på serveren. Overfør filer ved at trække dem til og fra "
                                   "Morvels filhåndtering."));
  help_->add(cmdLuk, QStringLiteral("Lukker dialogboksen. Forbindelsen til serveren og evt. overførsel afbrydes."));
}

// ---------------------------------------------------------------------------
// Settings

void TfrmFtp::readWindowSettings() {
  const FtpWindowSettings s = morvel::ftp::readWindowSettings(host_.store());
  setView(s.view);
  // Over the main window, a little in from its top left corner.
  const int width = std::clamp(s.width, 300, 4000);
  resize(width, 420);
  if (QWidget* owner = parentWidget()) {
    QPoint at = owner->geometry().topLeft() + QPoint(40, 60);
    if (const QScreen* screen = owner->screen()) {
      const QRect area = screen->availableGeometry();
      at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - width)));
      at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - 420)));
    }
    move(at);
  }
  // The old button type: raised speed buttons rather than flat ones.
  const bool raised = host_.settings().oldToolButtons;
  for (QToolBar* bar : {buttons_, folderButtons_})
    for (QToolButton* b : bar->findChildren<QToolButton*>()) b->setAutoRaise(!raised);
}

void TfrmFtp::writeWindowSettings() {
  FtpWindowSettings s;
  s.width = width();
  s.view = lwFTP->view();
  s.connection = std::max(0, cmbForbindelse->currentIndex());
  morvel::ftp::writeWindowSettings(host_.store(), s);
  host_.store().UpdateFile();
}

// ---------------------------------------------------------------------------
// State

void TfrmFtp::updateCommands() {
  const bool connected = session_->connected();
  const bool busy = session_->busy();
  const bool ready = connected && !busy;
  const bool selected = lwFTP->selectedCount() > 0;
  const auto enable = [this](std::initializer_list<const char*> names, bool on) {
    for (const char* name : names) command(QString::fromLatin1(name))->setEnabled(on);
  };
  enable({"mnuSlet", "btnSlet"}, cmbForbindelse->count() > 0);
  enable({"mnuTilslut", "btnTilslut"}, !connected && !busy);
  enable({"mnuAfbryd", "btnAfbryd"}, connected);
  enable({"mnuStart", "btnStart"}, ready && hasMarks());
  enable({"mnuStop", "btnStop"}, session_->transferring());
  enable({"btnNiveauOp", "btnNyMappe", "popNyMappe"}, ready);
  enable({"mnuSletF", "mnuOmdoeb", "mnuOverfoerTil"}, ready && selected);
  enable({"mnuNyMappe"}, ready && !selected);
  enable({"mnuMarkerAlt"}, connected);
  enable({"popSlet", "popOmdoeb", "popOverfoer"}, ready);
  cmbMappe->setEnabled(ready);
}

void TfrmFtp::setBusy(bool busy) {
  lwFTP->setBusy(busy);
  popFtp->setEnabled(!busy);
  updateCommands();
}

void TfrmFtp::setStatus(const QString& text) { StatusBar1->setPanelText(2, text); }

void TfrmFtp::showListing() {
  std::vector<FtpListRow> rows = session_->rows();
  if (sorted_) sortRows(rows, sortColumn_, sortAscending_);
  lwFTP->setRows(rows);
  StatusBar1->setPanelText(0, objectCountText(rows));
  StatusBar1->setPanelText(1, totalSizeText(Ftp1.ListingEntries()));
  showFolderList();
  updateCommands();
}

void TfrmFtp::showFolderList() {
  const QStringList items = session_->folderItems();
  cmbMappe->clear();
  cmbMappe->addItems(items);
  cmbMappe->setCurrentIndex(static_cast<int>(items.size()) - 1);
}

void TfrmFtp::setView(int view) {
  lwFTP->setView(view);
  for (QAction* a : findChildren<QAction*>())
    if (a->isCheckable() && a->data().isValid() &&
        (a->objectName().startsWith(QLatin1String("btn")) || a->objectName().startsWith(QLatin1String("mnu"))))
      a->setChecked(a->data().toInt() == lwFTP->view());
}

void TfrmFtp::sortBy(FtpSortColumn column) {
  // Every click turns the order round, as the column headers do.
  sortAscending_ = sorted_ ? !sortAscending_ : true;
  sortColumn_ = column;
  sorted_ = true;
  std::vector<FtpListRow> rows = lwFTP->rows();
  sortRows(rows, column, sortAscending_);
  lwFTP->setRows(rows);
}

void TfrmFtp::showPopup(const QPoint& screenPoint) {
  if (session_->busy()) return;
  const bool selected = lwFTP->selectedCount() > 0;
  for (QAction* a : popFtp->actions()) {
    const QString name = a->objectName();
    const bool entryCommand =
        name == QLatin1String("popSlet") || name == QLatin1String("popOmdoeb") || name == QLatin1String("popOverfoer");
    a->setVisible(entryCommand == selected);
  }
  updateCommands();
  platform::popupMenu(popFtp, POINT{screenPoint.x(), screenPoint.y()}, this);
}

// ---------------------------------------------------------------------------
// Closing

void TfrmFtp::closeEvent(QCloseEvent* event) {
  if (!closing_ && session_->busy() && !askToStopTransfer(QStringLiteral("Luk ftp"))) {
    event->ignore();
    return;
  }
  closing_ = true;
  // A running transfer is stopped; the goodbye to the server follows.
  session_->disconnect();
  writeWindowSettings();
  marks_ = {};
  project_.clear();
  if (progress_) progress_->hide();
  if (OnProjectsChanged) OnProjectsChanged();
  event->accept();
}
