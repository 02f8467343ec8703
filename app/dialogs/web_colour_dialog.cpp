#include "dialogs/web_colour_dialog.h"

#include "common_dialogs.h"
#include "dialogs/element_dialogs.h"
#include "interaction.h"
#include "registry.h"
#include "win32.h"

#include <QButtonGroup>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>

using morvel::ColorValue;

namespace {

QColor qtColour(ColorValue c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

// Mostly web colours, by hue in light and dark shades, then the greys; the
// greys between black and white are not web colours.
std::vector<ColorValue> basicColours() {
  const int rows[4][12][3] = {
      {{255, 204, 204},
       {255, 255, 204},
       {204, 255, 204},
       {204, 255, 255},
       {204, 204, 255},
       {255, 204, 255},
       {255, 153, 102},
       {255, 255, 153},
       {153, 255, 153},
       {153, 255, 255},
       {153, 153, 255},
       {255, 153, 255}},
      {{255, 0, 0},
       {255, 255, 0},
       {0, 255, 0},
       {0, 255, 255},
       {0, 0, 255},
       {255, 0, 255},
       {255, 102, 0},
       {153, 204, 0},
       {0, 204, 153},
       {0, 153, 255},
       {102, 0, 255},
       {255, 0, 153}},
      {{153, 0, 0},
       {153, 153, 0},
       {0, 153, 0},
       {0, 153, 153},
       {0, 0, 153},
       {153, 0, 153},
       {102, 51, 0},
       {51, 102, 0},
       {0, 102, 51},
       {0, 51, 102},
       {51, 0, 102},
       {102, 0, 51}},
      {{0, 0, 0},
       {51, 51, 51},
       {64, 64, 64},
       {102, 102, 102},
       {128, 128, 128},
       {153, 153, 153},
       {192, 192, 192},
       {204, 204, 204},
       {224, 224, 224},
       {255, 255, 255},
       {128, 0, 0},
       {0, 0, 128}},
  };
  std::vector<ColorValue> colours;
  for (const auto& row : rows)
    for (const auto& c : row) colours.push_back(morvel::colorFromRgb(unsigned(c[0]), unsigned(c[1]), unsigned(c[2])));
  return colours;
}

void paintCell(QToolButton* cell, ColorValue colour) {
  cell->setStyleSheet(QStringLiteral("QToolButton { background: %1; border: 1px solid gray; }"
                                     "QToolButton:checked { border: 2px solid black; }")
                          .arg(qtColour(colour).name()));
}

}  // namespace

ColourCells::ColourCells(const std::vector<ColorValue>& colours, int columns, QWidget* parent)
    : QWidget(parent), colours_(colours) {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(3);
  auto* group = new QButtonGroup(this);
  for (std::size_t i = 0; i < colours_.size(); ++i) {
    auto* cell = new QToolButton(this);
    cell->setObjectName(QStringLiteral("cell%1").arg(i));
    cell->setCheckable(true);
    cell->setFixedSize(20, 18);
    paintCell(cell, colours_[i]);
    group->addButton(cell);
    cell->installEventFilter(this);
    grid->addWidget(cell, int(i) / columns, int(i) % columns);
    connect(cell, &QToolButton::clicked, this, [this, i] { select(i); });
    cells_.push_back(cell);
  }
}

void ColourCells::setColour(std::size_t cell, ColorValue colour) {
  colours_[cell] = colour;
  paintCell(cells_[cell], colour);
}

bool ColourCells::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    // A click picks the cell itself; the keyboard's focus shows the colour.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    const bool keyboard =
        reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
    const auto found = std::find(cells_.begin(), cells_.end(), watched);
    if (keyboard && found != cells_.end()) select(static_cast<std::size_t>(found - cells_.begin()));
  }
  return QWidget::eventFilter(watched, event);
}

void ColourCells::select(std::size_t cell) {
  selected_ = cell;
  cells_[cell]->setChecked(true);
  if (picked) picked(colours_[cell]);
}

TWebCol::TWebCol(QWidget* parent, bool showHelpButton) : QDialog(parent) {
  setObjectName(QStringLiteral("TWebCol"));
  setWindowTitle(QStringLiteral("Webfarver"));
  buildControls(showHelpButton);
}

void TWebCol::buildControls(bool showHelpButton) {
  auto slider = [this](const char* name) {
    auto* s = new QSlider(Qt::Horizontal, this);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(0, 5);
    s->setPageStep(1);
    s->setTickPosition(QSlider::TicksBelow);
    s->setMinimumWidth(150);
    connect(s, &QSlider::valueChanged, this, [this] { trackBarMoved(); });
    return s;
  };
  auto label = [this](const char* name, const QString& text = {}) {
    auto* l = new QLabel(text, this);
    l->setObjectName(QString::fromLatin1(name));
    return l;
  };
  tbRed = slider("tbRed");
  tbGreen = slider("tbGreen");
  tbBlue = slider("tbBlue");
  lblRedValue = label("lblRedValue", QStringLiteral("0"));
  lblGreenValue = label("lblGreenValue", QStringLiteral("0"));
  lblBlueValue = label("lblBlueValue", QStringLiteral("0"));
  for (QLabel* value : {lblRedValue, lblGreenValue, lblBlueValue}) {
    value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  lblColor = label("lblColor");
  lblColor->setFrameShape(QFrame::Box);
  lblColor->setMinimumSize(60, 40);
  lblColor->setAutoFillBackground(true);
  lblHTMLcode = label("lblHTMLcode");
  lblHTMLcode->setTextInteractionFlags(Qt::TextSelectableByMouse);
  ColorPick1 = new ColourCells(basicColours(), 12, this);
  ColorPick1->setObjectName(QStringLiteral("ColorPick1"));
  UserColorPick1 = new ColourCells(std::vector<ColorValue>(morvel::kUserColourCount, morvel::kWhite), 12, this);
  UserColorPick1->setObjectName(QStringLiteral("UserColorPick1"));
  ColorPick1->picked = [this](ColorValue c) { showColour(c); };
  UserColorPick1->picked = [this](ColorValue c) { showColour(c); };
  cmdAdd = new QPushButton(QStringLiteral("&Tilføj til brugerfarver"), this);
  cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
  connect(cmdAdd, &QPushButton::clicked, this, [this] {
    morvel::UserColours colours = userColours();
    const std::size_t cell = morvel::addUserColour(colours, colour_, UserColorPick1->selected());
    UserColorPick1->setColour(cell, colours[cell]);
  });
  const morvel::OkCancel buttons = morvel::okCancelButtons(this);
  cmdOk = buttons.ok;
  cmdOk->setText(QStringLiteral("OK"));
  cmdAnnuller = buttons.cancel;
  connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
  if (showHelpButton) {
    // The help file is not part of this program; the button is there for
    // callers that ask for it.
    auto* help = new QPushButton(QStringLiteral("&Hjælp"), this);
    help->setObjectName(QStringLiteral("cmdHjaelp"));
    buttons.row->addWidget(help);
  }

  auto* bars = new QGridLayout;
  const std::tuple<QString, QSlider*, QLabel*> rows[] = {{QStringLiteral("&Rød:"), tbRed, lblRedValue},
                                                         {QStringLiteral("Grø&n:"), tbGreen, lblGreenValue},
                                                         {QStringLiteral("B&lå:"), tbBlue, lblBlueValue}};
  int row = 0;
  for (const auto& [caption, bar, value] : rows) {
    auto* l = new QLabel(caption, this);
    l->setBuddy(bar);
    bars->addWidget(l, row, 0);
    bars->addWidget(bar, row, 1);
    bars->addWidget(value, row, 2);
    ++row;
  }
  auto* swatch = new QGridLayout;
  swatch->addWidget(new QLabel(QStringLiteral("Farve:"), this), 0, 0);
  swatch->addWidget(lblColor, 0, 1);
  swatch->addWidget(new QLabel(QStringLiteral("HTML-kode:"), this), 1, 0);
  swatch->addWidget(lblHTMLcode, 1, 1);
  auto* top = new QHBoxLayout;
  top->addLayout(bars);
  top->addSpacing(16);
  top->addLayout(swatch);
  top->addStretch();

  auto* basicLabel = new QLabel(QStringLiteral("&Grundfarver:"), this);
  basicLabel->setBuddy(ColorPick1->cell(0));
  auto* userLabel = new QLabel(QStringLiteral("&Brugerdefinerede farver:"), this);
  userLabel->setBuddy(UserColorPick1->cell(0));
  auto* add = new QHBoxLayout;
  add->addWidget(cmdAdd);
  add->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addSpacing(6);
  layout->addWidget(basicLabel);
  layout->addWidget(ColorPick1);
  layout->addWidget(userLabel);
  layout->addWidget(UserColorPick1);
  layout->addLayout(add);
  layout->addLayout(buttons.row);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  showColour(morvel::kWhite);
}

void TWebCol::showSwatch(const QColor& colour) {
  QPalette p = lblColor->palette();
  p.setColor(QPalette::Window, colour);
  lblColor->setPalette(p);
}

void TWebCol::showColour(ColorValue colour) {
  colour_ = colour & 0xFFFFFF;
  const std::optional<morvel::WebSteps> steps = morvel::webSteps(colour_);
  showing_ = true;
  tbRed->setValue(steps ? steps->red : 0);
  tbGreen->setValue(steps ? steps->green : 0);
  tbBlue->setValue(steps ? steps->blue : 0);
  showing_ = false;
  if (steps) {
    lblRedValue->setNum(steps->red * morvel::kWebStep);
    lblGreenValue->setNum(steps->green * morvel::kWebStep);
    lblBlueValue->setNum(steps->blue * morvel::kWebStep);
    showSwatch(qtColour(colour_));
    lblHTMLcode->setText(QString::fromStdString(morvel::hexColorCode(colour_)));
  } else {
    for (QLabel* l : {lblRedValue, lblGreenValue, lblBlueValue, lblHTMLcode}) l->setText(QStringLiteral("-"));
    showSwatch(palette().color(QPalette::Button));
  }
}

void TWebCol::trackBarMoved() {
  if (showing_) return;
  const morvel::WebSteps steps{tbRed->value(), tbGreen->value(), tbBlue->value()};
  colour_ = morvel::colorOfSteps(steps);
  lblRedValue->setNum(steps.red * morvel::kWebStep);
  lblGreenValue->setNum(steps.green * morvel::kWebStep);
  lblBlueValue->setNum(steps.blue * morvel::kWebStep);
  showSwatch(qtColour(colour_));
  lblHTMLcode->setText(QString::fromStdString(morvel::hexColorCode(colour_)));
}

// A colour the track bars cannot show is still the chosen one: its code is
// "#RRGGBB" even while the window shows "-".
QString TWebCol::code() const { return QString::fromStdString(morvel::hexColorCode(colour_)); }

void TWebCol::setUserColours(const morvel::UserColours& colours) {
  for (std::size_t i = 0; i < colours.size(); ++i) UserColorPick1->setColour(i, colours[i]);
}

morvel::UserColours TWebCol::userColours() const {
  morvel::UserColours colours;
  for (std::size_t i = 0; i < colours.size(); ++i) colours[i] = UserColorPick1->colour(i);
  return colours;
}

namespace morvel {

UserColours readUserColours(const RegIniFile& store, std::string_view section) {
  UserColours colours;
  for (std::size_t i = 0; i < kUserColourCount; ++i) {
    const std::string text = store.ReadString(section, "Color" + std::to_string(i), "");
    unsigned long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool valid = error == std::errc{} && end == text.data() + text.size() && !text.empty() && value <= 0xFFFFFF;
    colours[i] = valid ? static_cast<ColorValue>(value) : kWhite;
  }
  return colours;
}

void writeUserColours(RegIniFile& store, const UserColours& colours, std::string_view section) {
  for (std::size_t i = 0; i < kUserColourCount; ++i)
    store.WriteString(section, "Color" + std::to_string(i), std::to_string(colours[i]));
}

}  // namespace morvel

namespace {

// The user colours kept under a key; white where nothing is kept.
morvel::UserColours userColoursOf(const morvel::RegIniFile& store, HKEY root, const std::string& key) {
  if (const std::optional<std::string> section = morvel::userColoursSection(root, key))
    return morvel::readUserColours(store, *section);
  morvel::UserColours white;
  white.fill(morvel::kWhite);
  return white;
}

void keepUserColours(morvel::RegIniFile& store, HKEY root, const std::string& key, const morvel::UserColours& colours) {
  if (const std::optional<std::string> section = morvel::userColoursSection(root, key))
    morvel::writeUserColours(store, colours, *section);
}

}  // namespace

bool TWebColorDialog::Execute(QWidget* parent, morvel::RegIniFile& store) {
  TWebCol window(parent, ShowHelp);
  const std::optional<ColorValue> start = morvel::colorFromCode(Color.toStdString());
  window.showColour(start.value_or(morvel::kWhite));
  window.setUserColours(userColoursOf(store, RootKey, Key));
  if (platform::runModal(&window, parent) != QDialog::Accepted) return false;
  keepUserColours(store, RootKey, Key, window.userColours());
  colour_ = window.colour();
  Color = window.code();
  return true;
}

TWebColorButton::TWebColorButton(morvel::RegIniFile& store, QWidget* parent) : QPushButton(parent), store_(store) {
  setMinimumWidth(40);
  setColor(0);
  connect(this, &QPushButton::clicked, this, [this] {
    if (ActivationEvent == TActivationEvent::aeClick) chooseColour();
  });
}

void TWebColorButton::setColor(ColorValue colour) {
  colour_ = colour & 0xFFFFFF;
  setStyleSheet(
      QStringLiteral("QPushButton { background: %1; border: 1px solid gray; }").arg(qtColour(colour_).name()));
}

void TWebColorButton::mouseDoubleClickEvent(QMouseEvent* event) {
  QPushButton::mouseDoubleClickEvent(event);
  if (ActivationEvent == TActivationEvent::aeDoubleClick) chooseColour();
}

void TWebColorButton::chooseColour() {
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  std::optional<ColorValue> chosen;
  if (WebColorDialog != shift) {
    TWebColorDialog dialog;
    dialog.Color = QString::fromStdString(morvel::hexColorCode(colour_));
    dialog.Key = Key;
    dialog.RootKey = RootKey;
    dialog.ShowHelp = (Options & morvel::cdShowHelp) != 0;
    if (dialog.Execute(window(), store_)) chosen = dialog.colour();
  } else {
    chosen = chooseInStandardDialog();
  }
  if (!chosen) return;
  setColor(*chosen);
  if (OnColorChange) OnColorChange();
}

// The standard dialog's first custom colours are the user colours.
std::optional<ColorValue> TWebColorButton::chooseInStandardDialog() {
  platform::ColourDialogRequest choice(colour_, morvel::colourDialogFlags(Options));
  const morvel::UserColours kept = userColoursOf(store_, RootKey, Key);
  choice.customColours = QList<COLORREF>(kept.begin(), kept.end());
  platform::Request r(platform::RequestKind::Colour);
  r.parentWidget = window();
  r.data = &choice;
  if (!platform::ask(r)) return std::nullopt;
  morvel::UserColours colours = kept;
  for (std::size_t i = 0; i < colours.size() && i < static_cast<std::size_t>(choice.customColours.size()); ++i)
    colours[i] = choice.customColours[static_cast<qsizetype>(i)] & 0xFFFFFF;
  keepUserColours(store_, RootKey, Key, colours);
  return choice.colour & 0xFFFFFF;
}
