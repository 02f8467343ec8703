#include "projects/egenskaber.h"

#include "commands/document_host.h"
#include "common_dialogs.h"
#include "component/tivra_component.h"
#include "controls/dynamic_help.h"
#include "controls/hourglass.h"
#include "controls/picture_image.h"
#include "interaction.h"
#include "markup/document_title.h"
#include "markup/entities.h"
#include "markup/picture_reader.h"
#include "projects/project_paths.h"
#include "projects/size_text.h"
#include "projects/transfer_time.h"
#include "qtext.h"
#include "settings/settings.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeDatabase>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kAddressRole = Qt::UserRole;
constexpr int kDescriptionRole = Qt::UserRole + 1;

const QString kPageMasks = QStringLiteral("*.htm*;*.shtml;*.phtml;*.asp");

// The filter words and the captions of their buttons and menu items.
struct Filter {
  QString word;
  QString button;
  QString item;
  QKeyCombination key;
};

const std::array<Filter, 10> kFilters{{
    {QString(), QStringLiteral("Alle forbindelser"), QStringLiteral("&Vis alle"), QKeyCombination(Qt::Key_F12)},
    {QStringLiteral("Web"), QStringLiteral("Web-henvisninger"), QStringLiteral("&Web"), Qt::CTRL | Qt::Key_1},
    {QStringLiteral("Lokal"), QStringLiteral("Lokale henvisninger"), QStringLiteral("&Lokale"), Qt::CTRL | Qt::Key_2},
    {QStringLiteral("Intern"), QStringLiteral("Interne henvisninger"), QStringLiteral("&Interne"),
     Qt::CTRL | Qt::Key_3},
    {QStringLiteral("Ramme"), QStringLiteral("Ramme-henvisninger"), QStringLiteral("&Rammer"), Qt::CTRL | Qt::Key_4},
    {QStringLiteral("E-mail"), QStringLiteral("E-mail-henvisninger"), QStringLiteral("&E-mail"), Qt::CTRL | Qt::Key_5},
    {QStringLiteral("Grafik"), QStringLiteral("Grafik"), QStringLiteral("&Grafik"), Qt::CTRL | Qt::Key_6},
    {QStringLiteral("Embed"), QStringLiteral("Indkapslede objekter (<EMBED>)"), QStringLiteral("E&mbed"),
     Qt::CTRL | Qt::Key_7},
    {QStringLiteral("Java"), QStringLiteral("Java-appletter"), QStringLiteral("&Java"), Qt::CTRL | Qt::Key_8},
    {QStringLiteral("ActiveX"), QStringLiteral("ActiveX-objekter"), QStringLiteral("&ActiveX"), Qt::CTRL | Qt::Key_9},
}};

const QString kCopyHelp = QStringLiteral("Kopierer de markerede adresser. Hvis ingen er markeret, kopieres alle.");

std::string path8(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString text(const std::optional<std::string>& bytes) { return platform::fromCp1252(bytes.value_or(std::string())); }

QString dateText(const QDateTime& time) {
  return time.isValid() ? time.toString(QStringLiteral("dd-MM-yyyy hh:mm:ss")) : QStringLiteral("-");
}

QLabel* valueLabel(const char* name, const QString& initial = QStringLiteral("-")) {
  auto* label = new QLabel(initial);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

QTreeWidget* linkList(const char* name, const QStringList& headers) {
  auto* list = new QTreeWidget;
  list->setObjectName(QString::fromLatin1(name));
  list->setRootIsDecorated(false);
  list->setHeaderLabels(headers);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setColumnWidth(0, 220);
  list->setColumnWidth(1, 150);
  list->header()->setSectionsClickable(true);
  list->setContextMenuPolicy(Qt::CustomContextMenu);
  return list;
}

bool isPicture(const QString& lowerExtension) {
  return lowerExtension == QLatin1String("gif") || lowerExtension == QLatin1String("jpg") ||
         lowerExtension == QLatin1String("jpeg");
}

// A page by its extension in lower case ("Index.HTM" is one).
bool isPage(const QString& file) { return morvel::hasHtmlExtension(path8(file.toLower())); }

}  // namespace

QIcon linkIcon(morvel::LinkIcon icon) {
  QStyle* style = QApplication::style();
  auto themed = [style](const char* name, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(name), style->standardIcon(fallback));
  };
  switch (icon) {
    case morvel::LinkIcon::Frame:
      return themed("view-split-left-right", QStyle::SP_FileDialogDetailedView);
    case morvel::LinkIcon::Web:
      return themed("applications-internet", QStyle::SP_DriveNetIcon);
    case morvel::LinkIcon::Internal:
      return themed("go-jump", QStyle::SP_ArrowRight);
    case morvel::LinkIcon::Email:
      return themed("mail-message", QStyle::SP_MessageBoxInformation);
    case morvel::LinkIcon::Program:
      return themed("application-x-executable", QStyle::SP_ComputerIcon);
    case morvel::LinkIcon::Archive:
      return themed("package-x-generic", QStyle::SP_DirIcon);
    case morvel::LinkIcon::Sound:
      return themed("audio-x-generic", QStyle::SP_MediaVolume);
    case morvel::LinkIcon::Text:
      return themed("text-x-generic", QStyle::SP_FileIcon);
    case morvel::LinkIcon::Page:
      return themed("text-html", QStyle::SP_FileDialogContentsView);
    case morvel::LinkIcon::Picture:
      return themed("image-x-generic", QStyle::SP_FileDialogInfoView);
    case morvel::LinkIcon::Embedded:
      return themed("video-x-generic", QStyle::SP_MediaPlay);
    case morvel::LinkIcon::Java:
      return themed("application-x-java", QStyle::SP_DesktopIcon);
    case morvel::LinkIcon::ActiveX:
      return themed("application-x-addon", QStyle::SP_TitleBarMenuButton);
    case morvel::LinkIcon::Target:
      return themed("go-bottom", QStyle::SP_ArrowDown);
  }
  return {};
}

TfrmEgenskaber::TfrmEgenskaber(morvel::DocumentHost& host, Mode mode, QWidget* parent)
    : QDialog(parent ? parent : host.dialogParent()), host_(host), mode_(mode) {
  setObjectName(QStringLiteral("TfrmEgenskaber"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  resize(575 * logicalDpiX() / 96, 457 * logicalDpiY() / 96);
  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  buildLinksPage();
  buildTransferPage();
  buildGeneralPage();
  buildMenu();

  edtKlip = new TTivra(this);
  edtKlip->setObjectName(QStringLiteral("edtKlip"));
  edtKlip->hide();
  edtKlip->setFont(host_.settings().font);

  cmdOK = new QPushButton(QStringLiteral("&OK"));
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  cmdOK->hide();
  cmdLuk = new QPushButton(QStringLiteral("Luk"));
  cmdLuk->setObjectName(QStringLiteral("cmdLuk"));
  cmdLuk->setDefault(true);
  DynamiskHjaelp = new QLabel;
  DynamiskHjaelp->setObjectName(QStringLiteral("DynamiskHjaelp"));
  DynamiskHjaelp->setWordWrap(true);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(DynamiskHjaelp, 1);
  bottom->addWidget(cmdOK);
  bottom->addWidget(cmdLuk);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PageControl1, 1);
  layout->addLayout(bottom);
  help_ = new DynamicHelp(DynamiskHjaelp, kIdleHelpText);

  connect(cmdLuk, &QPushButton::clicked, this, &QDialog::reject);
  connect(cmdOK, &QPushButton::clicked, this, [this] { confirm(); });
  connect(PageControl1, &QTabWidget::currentChanged, this, [this] { transferPageShown(); });
  if (mode_ != Mode::Properties) setUpPicker();
  setHelpTexts();
  PageControl1->setCurrentIndex(0);
}

TfrmEgenskaber::~TfrmEgenskaber() = default;

// ---------------------------------------------------------------------------
// The pages

void TfrmEgenskaber::buildLinksPage() {
  TabSheet1 = new QWidget;
  TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
  auto* buttons = new QVBoxLayout;
  auto* group = new QButtonGroup(this);
  const bool flat = !host_.settings().oldToolButtons;
  for (int k = 0; k < 10; ++k) {
    auto* b = new QToolButton;
    b->setObjectName(QStringLiteral("Knap%1").arg(k));
    b->setText(kFilters[static_cast<size_t>(k)].button);
    b->setCheckable(true);
    b->setAutoRaise(flat);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    group->addButton(b, k);
    buttons->addWidget(b);
    Knap[static_cast<size_t>(k)] = b;
  }
  buttons->addStretch();
  Knap[0]->setChecked(true);
  connect(group, &QButtonGroup::idClicked, this, [this](int k) { showFilter(k); });

  lwForbindelser = linkList("lwForbindelser",
                            {QStringLiteral("Navn og adresse"), QStringLiteral("Beskrivelse"), QStringLiteral("Type")});
  lwUddrag = linkList("lwUddrag",
                      {QStringLiteral("Navn & adresse:"), QStringLiteral("Beskrivelse:"), QStringLiteral("Type:")});
  lwUddrag->hide();
  for (QTreeWidget* list : {lwForbindelser, lwUddrag}) {
    connect(list->header(), &QHeaderView::sectionClicked, this, [this, list](int column) { sortBy(list, column); });
    connect(list, &QTreeWidget::customContextMenuRequested, this, [this, list](const QPoint& at) {
      const QPoint screen = list->viewport()->mapToGlobal(at);
      platform::popupMenu(popForbindelser, POINT{screen.x(), screen.y()}, this);
    });
    connect(list, &QTreeWidget::itemDoubleClicked, this, [this] {
      if (mode_ != Mode::Properties) confirm();
    });
  }
  btnKopier = new QPushButton(QStringLiteral("Kopier adresser"));
  btnKopier->setObjectName(QStringLiteral("btnKopier"));
  btnUdskriv = new QPushButton(QStringLiteral("Udskriv adresser"));
  btnUdskriv->setObjectName(QStringLiteral("btnUdskriv"));
  connect(btnKopier, &QPushButton::clicked, this, [this] { copyAddresses(); });
  connect(btnUdskriv, &QPushButton::clicked, this, [this] { printAddresses(); });

  imgBillede = new QLabel;
  imgBillede->setObjectName(QStringLiteral("imgBillede"));
  srlBillede = new QScrollArea;
  srlBillede->setObjectName(QStringLiteral("srlBillede"));
  srlBillede->setAlignment(Qt::AlignCenter);
  QPalette grey = srlBillede->palette();
  grey.setColor(QPalette::Window, QColor(128, 128, 128));
  srlBillede->setPalette(grey);
  srlBillede->setBackgroundRole(QPalette::Window);
  srlBillede->setWidget(imgBillede);
  srlBillede->hide();

  auto* lists = new QVBoxLayout;
  lists->addWidget(lwForbindelser, 1);
  lists->addWidget(lwUddrag, 1);
  auto* copyRow = new QHBoxLayout;
  copyRow->addWidget(btnKopier);
  copyRow->addWidget(btnUdskriv);
  copyRow->addStretch();
  lists->addLayout(copyRow);
  auto* page = new QHBoxLayout(TabSheet1);
  page->addLayout(buttons);
  page->addLayout(lists, 1);
  page->addWidget(srlBillede, 1);
  PageControl1->addTab(TabSheet1, QStringLiteral("Forbindelser"));
}

void TfrmEgenskaber::buildTransferPage() {
  TabSheet2 = new QWidget;
  TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
  lwTid = new QTreeWidget;
  lwTid->setObjectName(QStringLiteral("lwTid"));
  lwTid->setRootIsDecorated(false);
  lwTid->setHeaderLabels({QStringLiteral("Fil"), QStringLiteral("Størrelse")});
  lblManuskript = valueLabel("lblManuskript", QStringLiteral("0,0 KB"));
  lblFiler = valueLabel("lblFiler", QStringLiteral("0,0 KB"));
  lblIAlt = valueLabel("lblIAlt", QStringLiteral("0,0 KB"));
  lblModem144 = valueLabel("lblModem144", QStringLiteral("0 sek."));
  lblModem288 = valueLabel("lblModem288", QStringLiteral("0 sek."));
  lblISDN = valueLabel("lblISDN", QStringLiteral("0 sek."));
  auto* sums = new QGridLayout;
  const std::pair<QString, QLabel*> rows[] = {{QStringLiteral("Manuskript:"), lblManuskript},
                                              {QStringLiteral("Filer:"), lblFiler},
                                              {QStringLiteral("I alt:"), lblIAlt},
                                              {QStringLiteral("14.4 modem"), lblModem144},
                                              {QStringLiteral("28.8 modem"), lblModem288},
                                              {QStringLiteral("ISDN"), lblISDN}};
  int r = 0;
  for (const auto& [caption, value] : rows) {
    sums->addWidget(new QLabel(caption), r, 0);
    sums->addWidget(value, r++, 1);
  }
  sums->setRowStretch(r, 1);
  auto* page = new QHBoxLayout(TabSheet2);
  page->addWidget(lwTid, 1);
  page->addLayout(sums);
  PageControl1->addTab(TabSheet2, QStringLiteral("Overførselstid"));
}

void TfrmEgenskaber::buildGeneralPage() {
  TabSheet3 = new QWidget;
  TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
  lblTitelTekst = new QLabel(QStringLiteral("Titel:"));
  lblTitelTekst->setObjectName(QStringLiteral("lblTitelTekst"));
  lblTitel = valueLabel("lblTitel");
  lblFilnavn = valueLabel("lblFilnavn");
  lblAdresse = valueLabel("lblAdresse");
  lblStoerrelse = valueLabel("lblStoerrelse");
  lblFiltype = valueLabel("lblFiltype");
  lblAendret = valueLabel("lblAendret");
  lblOprettet = valueLabel("lblOprettet");
  lblSidstAabnet = valueLabel("lblSidstAabnet");
  auto* grid = new QGridLayout(TabSheet3);
  grid->addWidget(lblTitelTekst, 0, 0);
  grid->addWidget(lblTitel, 0, 1);
  const std::pair<QString, QLabel*> rows[] = {
      {QStringLiteral("Filnavn:"), lblFilnavn},        {QStringLiteral("Adresse:"), lblAdresse},
      {QStringLiteral("Størrelse:"), lblStoerrelse},   {QStringLiteral("Filtype:"), lblFiltype},
      {QStringLiteral("Ændret:"), lblAendret},         {QStringLiteral("Oprettet:"), lblOprettet},
      {QStringLiteral("Sidst åbnet:"), lblSidstAabnet}};
  int r = 1;
  for (const auto& [caption, value] : rows) {
    grid->addWidget(new QLabel(caption), r, 0);
    grid->addWidget(value, r++, 1);
  }
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(r, 1);
  PageControl1->addTab(TabSheet3, QStringLiteral("Generelt"));
}

void TfrmEgenskaber::buildMenu() {
  popForbindelser = new QMenu(this);
  popForbindelser->setObjectName(QStringLiteral("popForbindelser"));
  auto* group = new QActionGroup(this);
  for (int k = 0; k < 10; ++k) {
    const Filter& f = kFilters[static_cast<size_t>(k)];
    QAction* a = popForbindelser->addAction(f.item);
    a->setObjectName(QStringLiteral("popFilter%1").arg(k));
    a->setCheckable(true);
    a->setShortcut(QKeySequence(f.key));
    a->setShortcutContext(Qt::WindowShortcut);
    group->addAction(a);
    addAction(a);
    connect(a, &QAction::triggered, this, [this, k] { showFilter(k); });
    filterActions_[static_cast<size_t>(k)] = a;
  }
  filterActions_[0]->setChecked(true);
  popForbindelser->addSeparator();
  QAction* copy = popForbindelser->addAction(QStringLiteral("&Kopier"));
  copy->setObjectName(QStringLiteral("popKopier"));
  copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  addAction(copy);
  connect(copy, &QAction::triggered, this, [this] { copyAddresses(); });
  QAction* print = popForbindelser->addAction(QStringLiteral("&Udskriv"));
  print->setObjectName(QStringLiteral("popUdskriv"));
  print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  addAction(print);
  connect(print, &QAction::triggered, this, [this] { printAddresses(); });
}

void TfrmEgenskaber::setHelpTexts() {
  const QString lists =
      mode_ == Mode::WebAddresses ? QStringLiteral("Marker de ønskede web-adresser og vælg \"OK\" for at indsætte dem.")
      : mode_ == Mode::Targets
          ? QStringLiteral("Marker det ønskede mål og vælg \"OK\" for at indsætte en henvisning til målet.")
          : QStringLiteral(
                "Oversigt over, hvilke forbindelser (henvisninger, grafik mv.) HTML-dokumentet "
                "indeholder. Kopier eller udskriv adresser ved at markere dem og højreklikke");
  help_->add(lwForbindelser, lists);
  help_->add(lwUddrag, lists);
  for (int k = 0; k < 9; ++k) {
    help_->add(Knap[static_cast<size_t>(k)],
               QStringLiteral("Vælg mellem at se forskellige typer forbindelser eller alle forbindelser i "
                              "HTML-dokumentet."));
  }
  help_->add(Knap[9], kCopyHelp);
  help_->add(btnKopier, kCopyHelp);
  help_->add(btnUdskriv, QStringLiteral("Udskriver de markerede adresser. Hvis ingen er markeret, udskrives alle."));
  help_->add(TabSheet2, QStringLiteral("Den udregnede overførselstid er den teoretisk mulige. Den forudsætter "
                                       "optimale betingelser. I praksis kan overførselstiden ofte være det "
                                       "dobbelte."));
  help_->add(TabSheet3, QStringLiteral("Generelle oplysninger om filsti, størrelse mv."));
  help_->add(PageControl1->tabBar(),
             QStringLiteral("Vælg mellem at se hvilke forbindelser, websiden indeholder, hvor lang tid den tager at "
                            "overføre, og generelle oplysninger."));
  if (mode_ == Mode::Properties) {
    help_->add(cmdLuk, QStringLiteral("Lukker dialogboksen"));
    return;
  }
  help_->add(cmdLuk, QStringLiteral("Ser bort fra de foretagne valg og lukker dialogboksen."));
  help_->add(cmdOK, mode_ == Mode::WebAddresses
                        ? QStringLiteral("Gør de valgte adresser og beskrivelser klar til indsætning fra "
                                         "Henvisnings-dialogboksen")
                        : QStringLiteral("Gør en henvisning til det valgte mål klar til indsætning fra "
                                         "Henvisnings-dialogboksen"));
}

void TfrmEgenskaber::setUpPicker() {
  PageControl1->removeTab(PageControl1->indexOf(TabSheet3));
  PageControl1->removeTab(PageControl1->indexOf(TabSheet2));
  for (QToolButton* b : Knap) b->hide();
  cmdOK->show();
  cmdOK->setDefault(true);
  cmdLuk->setText(QStringLiteral("Annuller"));
  cmdLuk->setDefault(false);
  cmdLuk->setAutoDefault(false);
  lwForbindelser->setFocus();
}

// ---------------------------------------------------------------------------
// Filling

void TfrmEgenskaber::showFile(const QString& file, const std::optional<ListedFileFacts>& listed) {
  Hourglass hourglass;
  setWindowTitle(QStringLiteral("Egenskaber for ") + file);
  PageControl1->setCurrentIndex(0);
  fillGeneral(file, listed);
  const QString extension = QFileInfo(file).suffix().toLower();
  if (isPage(file)) {
    fillPage(file);
  } else if (isPicture(extension)) {
    fillPicture(file);
  } else {
    PageControl1->removeTab(PageControl1->indexOf(TabSheet2));
    PageControl1->removeTab(PageControl1->indexOf(TabSheet1));
  }
}

void TfrmEgenskaber::fillGeneral(const QString& file, const std::optional<ListedFileFacts>& listed) {
  const QFileInfo info(file);
  if (listed) {
    lblFilnavn->setText(listed->name);
    lblFiltype->setText(listed->type);
    lblStoerrelse->setText(QString::fromStdString(
        morvel::combinedSizeText(static_cast<std::uint64_t>(std::max<qint64>(listed->bytes, 0)))));
    lblOprettet->setText(listed->created);
    lblAendret->setText(listed->modified);
    lblSidstAabnet->setText(listed->accessed);
    lblAdresse->setText(listed->folder);
    return;
  }
  lblFilnavn->setText(info.fileName());
  lblAdresse->setText(info.absolutePath());
  if (!info.isFile()) {
    lblStoerrelse->setText(QString::fromStdString(morvel::combinedSizeText(0)));
    return;
  }
  lblStoerrelse->setText(QString::fromStdString(morvel::combinedSizeText(static_cast<std::uint64_t>(info.size()))));
  lblAendret->setText(dateText(info.lastModified()));
  lblFiltype->setText(QMimeDatabase().mimeTypeForFile(info).comment());
}

void TfrmEgenskaber::fillPage(const QString& file) {
  lblTitel->setText(host_.fileTitle(file));
  morvel::LinkOptions options;
  options.first = morvel::LinkKind::Frame;
  options.last = morvel::LinkKind::ActiveX;
  rows_ = morvel::collectLinksOfFile(path8(file), options);
  fillList(lwForbindelser, rows_);
  const std::string folder = morvel::folderOf(path8(QFileInfo(file).absoluteFilePath()));
  const std::vector<morvel::TransferItem> items = morvel::transferItems(rows_, folder);
  lwTid->clear();
  for (const morvel::TransferItem& item : items) {
    auto* row = new QTreeWidgetItem(lwTid, {platform::fromCp1252(item.address), QString::fromStdString(item.size)});
    row->setIcon(0, linkIcon(item.icon));
  }
  const QFileInfo info(file);
  const std::string pageSize =
      morvel::shortSizeText(info.isFile() ? static_cast<std::uint64_t>(info.size()) : std::uint64_t{0});
  const morvel::TransferSummary sums = morvel::transferSummary(pageSize, items);
  lblManuskript->setText(QString::fromStdString(sums.script));
  lblFiler->setText(QString::fromStdString(sums.files));
  lblIAlt->setText(QString::fromStdString(sums.total));
  lblModem144->setText(QString::fromStdString(sums.modem144));
  lblModem288->setText(QString::fromStdString(sums.modem288));
  lblISDN->setText(QString::fromStdString(sums.isdn));
}

void TfrmEgenskaber::fillPicture(const QString& file) {
  PageControl1->removeTab(PageControl1->indexOf(TabSheet2));
  PageControl1->setTabText(PageControl1->indexOf(TabSheet1), QStringLiteral("Billedfremviser"));
  lblTitelTekst->setText(QStringLiteral("Dimensioner:"));
  for (QToolButton* b : Knap) b->hide();
  for (QWidget* w : std::initializer_list<QWidget*>{lwForbindelser, lwUddrag, btnKopier, btnUdskriv}) w->hide();
  srlBillede->show();
  const std::optional<morvel::DecodedPicture> picture = morvel::decodePicture(path8(file));
  if (!picture) {
    imgBillede->setText(QStringLiteral("Morvel kan ikke vise denne gif-fil"));
    QFont font = imgBillede->font();
    font.setPointSize(10);
    imgBillede->setFont(font);
    imgBillede->setStyleSheet(QStringLiteral("color: white;"));
    imgBillede->adjustSize();
    return;
  }
  imgBillede->setPixmap(QPixmap::fromImage(pictureImage(*picture)));
  imgBillede->adjustSize();
  lblTitel->setText(
      QStringLiteral("%1 x %2 (bredde x højde i pixels)").arg(picture->full.width).arg(picture->full.height));
}

void TfrmEgenskaber::fillList(QTreeWidget* list, const std::vector<morvel::LinkRow>& rows) {
  list->clear();
  for (const morvel::LinkRow& row : rows) {
    auto* item = new QTreeWidgetItem(list, {platform::fromCp1252(row.address), text(row.description), text(row.type)});
    item->setIcon(0, linkIcon(row.icon));
    item->setData(0, kAddressRole, QByteArray::fromStdString(row.address));
    item->setData(0, kDescriptionRole, QByteArray::fromStdString(row.description.value_or(std::string())));
  }
}

void TfrmEgenskaber::setRows(const std::vector<morvel::LinkRow>& rows, const QString& heading) {
  rows_ = rows;
  fillList(lwForbindelser, rows_);
  PageControl1->setTabText(PageControl1->indexOf(TabSheet1), heading);
}

// ---------------------------------------------------------------------------
// Filters, sorting, copying and printing

void TfrmEgenskaber::showFilter(int filter) {
  filter_ = std::clamp(filter, 0, 9);
  Knap[static_cast<size_t>(filter_)]->setChecked(true);
  filterActions_[static_cast<size_t>(filter_)]->setChecked(true);
  if (filter_ == 0) {
    lwUddrag->hide();
    lwForbindelser->show();
    return;
  }
  const std::string word = platform::toCp1252(kFilters[static_cast<size_t>(filter_)].word);
  std::vector<morvel::LinkRow> shown;
  for (const morvel::LinkRow& row : rows_) {
    if (morvel::shownByFilter(row.type.value_or(std::string()), word)) shown.push_back(row);
  }
  fillList(lwUddrag, shown);
  lwForbindelser->hide();
  lwUddrag->show();
}

QTreeWidget* TfrmEgenskaber::shownList() const { return filter_ == 0 ? lwForbindelser : lwUddrag; }

void TfrmEgenskaber::sortBy(QTreeWidget* list, int column) {
  ascending_ = column == sortColumn_ ? !ascending_ : true;
  sortColumn_ = column;
  QList<QTreeWidgetItem*> items;
  while (list->topLevelItemCount() > 0) items << list->takeTopLevelItem(0);
  auto compare = [column](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
    if (const int c = a->text(column).toUpper().compare(b->text(column).toUpper()); c != 0) return c;
    return a->text(0).toUpper().compare(b->text(0).toUpper());
  };
  std::stable_sort(items.begin(), items.end(), [&](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
    return ascending_ ? compare(a, b) < 0 : compare(b, a) < 0;
  });
  list->addTopLevelItems(items);
}

QString TfrmEgenskaber::addressLines() const {
  const QTreeWidget* list = shownList();
  QStringList lines;
  bool anySelected = false;
  for (int k = 0; k < list->topLevelItemCount(); ++k) anySelected = anySelected || list->topLevelItem(k)->isSelected();
  for (int k = 0; k < list->topLevelItemCount(); ++k) {
    const QTreeWidgetItem* item = list->topLevelItem(k);
    if (!anySelected || item->isSelected()) lines << item->text(0);
  }
  return lines.join(QStringLiteral("\r\n"));
}

void TfrmEgenskaber::copyAddresses() {
  edtKlip->HandleNeeded();
  edtKlip->setText(addressLines());
  edtKlip->SelectAll();
  edtKlip->Copy();
}

void TfrmEgenskaber::printAddresses() {
  edtKlip->HandleNeeded();
  edtKlip->setText(addressLines());
  edtKlip->setPrintJobName(windowTitle());
  edtKlip->PrintText();
}

void TfrmEgenskaber::transferPageShown() {
  const bool wide = logicalDpiX() >= 120;
  if (PageControl1->currentWidget() != TabSheet2) return;
  lwTid->setColumnWidth(0, wide ? 320 : 270);
  lwTid->setColumnWidth(1, wide ? 78 : 60);
  lwTid->setMinimumWidth(wide ? 424 : 340);
}

void TfrmEgenskaber::confirm() {
  hide();
  chosen_.clear();
  const QTreeWidget* list = shownList();
  for (int k = 0; k < list->topLevelItemCount(); ++k) {
    const QTreeWidgetItem* item = list->topLevelItem(k);
    if (!item->isSelected()) continue;
    chosen_.emplace_back(item->data(0, kAddressRole).toByteArray().toStdString(),
                         item->data(0, kDescriptionRole).toByteArray().toStdString());
    if (mode_ == Mode::Targets) break;
  }
  accept();
}

// ---------------------------------------------------------------------------
// Opening

namespace morvel::properties {

namespace {

QString documentTitleOf(DocumentHost& host, const QString& page) { return host.fileTitle(page); }

std::vector<std::pair<std::string, std::string>> runPicker(TfrmEgenskaber& picker, QWidget* parent) {
  if (picker.lwForbindelser->topLevelItemCount() > 0)
    picker.lwForbindelser->setCurrentItem(picker.lwForbindelser->topLevelItem(0), 0, QItemSelectionModel::NoUpdate);
  if (platform::runModal(&picker, parent) != QDialog::Accepted) return {};
  return picker.chosen();
}

}  // namespace

void showFileProperties(DocumentHost& host, const QString& file, const std::optional<ListedFileFacts>& listed) {
  TfrmEgenskaber form(host, TfrmEgenskaber::Mode::Properties);
  form.showFile(file, listed);
  platform::runModal(&form, host.dialogParent());
}

std::vector<std::pair<std::string, std::string>> pickWebAddresses(DocumentHost& host, QWidget* parent,
                                                                  const QString& folder) {
  platform::FileDialogRequest choice;
  choice.title = QStringLiteral("HTML-dokumenter");
  choice.fileMustExist = true;
  choice.folder = folder;
  choice.filters = {{QStringLiteral("HTML-dokumenter"), kPageMasks.split(QLatin1Char(';'))}};
  platform::Request r(platform::RequestKind::OpenFile);
  r.parentWidget = parent;
  r.caption = choice.title;
  r.data = &choice;
  if (!platform::ask(r) || choice.chosen.isEmpty()) return {};
  return pickLinksOfPage(host, parent, choice.chosen.first());
}

std::vector<std::pair<std::string, std::string>> pickLinksOfPage(DocumentHost& host, QWidget* parent,
                                                                 const QString& page) {
  TfrmEgenskaber picker(host, TfrmEgenskaber::Mode::WebAddresses, parent);
  morvel::LinkOptions options;
  options.first = morvel::LinkKind::Link;
  options.last = morvel::LinkKind::Link;
  picker.setRows(morvel::collectLinksOfFile(path8(page), options), documentTitleOf(host, page));
  picker.setWindowTitle(QStringLiteral("Henvisninger i %1").arg(page));
  return runPicker(picker, parent);
}

std::optional<std::string> pickTarget(DocumentHost& host, QWidget* parent) {
  TTivra* editor = host.activeEditor();
  if (!editor) return std::nullopt;
  TfrmEgenskaber picker(host, TfrmEgenskaber::Mode::Targets, parent);
  morvel::LinkOptions options;
  options.first = morvel::LinkKind::Target;
  options.last = morvel::LinkKind::Target;
  const QString file = host.activeFileName();
  const std::string folder = file.isEmpty() ? std::string() : morvel::folderOf(path8(file));
  const std::string page = editor->TextBytes();
  const std::string title = morvel::findTitle(page).title;
  picker.setRows(morvel::collectLinks(morvel::joinedLines(page), folder, options),
                 platform::fromCp1252(title.empty() ? std::string(morvel::kNoTitle) : morvel::decodeEntities(title)));
  picker.setWindowTitle(QStringLiteral("Interne mål i ") + host.documentName(host.activeDocument()));
  const std::vector<std::pair<std::string, std::string>> chosen = runPicker(picker, parent);
  if (chosen.empty()) return std::nullopt;
  return chosen.front().first;
}

}  // namespace morvel::properties
