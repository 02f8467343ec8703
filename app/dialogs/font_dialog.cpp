#include "dialogs/font_dialog.h"

#include "commands/code_insertion.h"
#include "commands/document_host.h"
#include "component/tivra_component.h"
#include "controls/dynamic_help.h"
#include "dialogs/edited_element.h"
#include "dialogs/element_dialogs.h"
#include "dialogs/web_colour_dialog.h"
#include "interaction.h"
#include "markup/color_codes.h"
#include "markup/text_position.h"
#include "qtext.h"
#include "settings/settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr std::array<const char*, 16> kGridColours{"black", "maroon",  "green",  "olive", "navy", "purple",
                                                   "teal",  "gray",    "silver", "red",   "lime", "yellow",
                                                   "blue",  "fuchsia", "aqua",   "white"};
const QStringList kStyleNames{QStringLiteral("normal"), QStringLiteral("kursiv"), QStringLiteral("fed"),
                              QStringLiteral("fed kursiv")};

QString text(const std::string& bytes) { return platform::fromCp1252(bytes); }
std::string bytes(const QString& text) { return platform::toCp1252(text); }

// The same colour however it is written; other values as they are.
std::string sameColourCode(const std::string& code) {
  const std::optional<morvel::ColorValue> value = morvel::colorFromCode(code);
  return value ? morvel::colorCode(*value) : code;
}

bool isNumber(const QString& text) {
  bool ok = false;
  text.toInt(&ok);
  return ok && !text.startsWith(QLatin1Char('+')) && !text.startsWith(QLatin1Char('-'));
}

// The preview's point size for an HTML size, absolute or relative to 3.
int pointSize(const QString& sign, const QString& size) {
  static constexpr std::array<int, 7> points{8, 10, 12, 14, 18, 24, 36};
  int n = size.toInt();
  if (sign == QLatin1String("+"))
    n += 3;
  else if (sign == QLatin1String("-"))
    n = 3 - n;
  return points[std::clamp(n, 1, 7) - 1];
}

}  // namespace

TSkrift::TSkrift(morvel::DocumentHost& host, const morvel::EditedElement& element, QWidget* parent)
    : QDialog(parent ? parent : host.dialogParent()), host_(host), element_(element) {
  setObjectName(QStringLiteral("TSkrift"));
  setWindowFlag(Qt::Tool);
  buildControls();
  setWindowTitle(element_.editMode ? QStringLiteral("Skrifttype - redigering") : QStringLiteral("Skrifttype"));
  readSelection();
  fill();
  showPreview();
}

void TSkrift::buildControls() {
  auto combo = [this](const char* name, bool editable) {
    auto* c = new QComboBox(this);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(editable);
    return c;
  };
  cmbSkrift = combo("cmbSkrift", true);
  if (host_.settings().webFonts)
    cmbSkrift->addItems({QStringLiteral("Arial, Helvetica"), QStringLiteral("Arial Black, Arial, Helvetica"),
                         QStringLiteral("Comic Sans MS, Comic, Arial, Helvetica"),
                         QStringLiteral("Courier New, Courier"),
                         QStringLiteral("Impact, Haettenschweiler, Arial, Helvetica"),
                         QStringLiteral("Times New Roman"), QStringLiteral("Verdana, Arial, Helvetica")});
  else
    cmbSkrift->addItems(QFontDatabase::families());
  cmbSkrift->setCurrentIndex(-1);
  cmbTypografi = combo("cmbTypografi", false);
  cmbTypografi->addItems(kStyleNames);
  chkUnder = new QCheckBox(QStringLiteral("&Understreget"), this);
  chkUnder->setObjectName(QStringLiteral("chkUnder"));
  chkUnder->setTristate(true);
  cmbTegn = combo("cmbTegn", false);
  cmbTegn->addItems({QString(), QStringLiteral("+"), QStringLiteral("-")});
  cmbStoerrelse = combo("cmbStoerrelse", true);
  for (int size = 7; size >= 1; --size) cmbStoerrelse->addItem(QString::number(size));
  cmbStoerrelse->setCurrentIndex(-1);
  chkFarve = new QCheckBox(QStringLiteral("&Farve"), this);
  chkFarve->setObjectName(QStringLiteral("chkFarve"));
  cbtFarve = new TWebColorButton(host_.store(), this);
  cbtFarve->setObjectName(QStringLiteral("cbtFarve"));
  cbtFarve->WebColorDialog = host_.settings().webColourDialog;
  cbtFarve->Key = "Software\\Brimvale\\Morvel\\UserColors";
  cbtFarve->OnColorChange = [this] {
    chkFarve->setChecked(true);
    showPreview();
  };
  ColorGrid1 = new QWidget(this);
  ColorGrid1->setObjectName(QStringLiteral("ColorGrid1"));
  auto* grid = new QHBoxLayout(ColorGrid1);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(1);
  for (const char* name : kGridColours) {
    const morvel::ColorValue colour = *morvel::colorFromCode(name);
    auto* cell = new QToolButton(ColorGrid1);
    cell->setObjectName(QStringLiteral("ColorGrid1_") + QLatin1String(name));
    cell->setFixedSize(16, 16);
    cell->setStyleSheet(QStringLiteral("QToolButton { background: %1; }").arg(QLatin1String(name)));
    grid->addWidget(cell);
    connect(cell, &QToolButton::clicked, this, [this, colour] {
      cbtFarve->setColor(colour);
      chkFarve->setChecked(true);
      showPreview();
    });
  }
  lblVis = new QLabel(this);
  lblVis->setObjectName(QStringLiteral("lblVis"));
  lblVis->setTextFormat(Qt::PlainText);
  lblVis->setAlignment(Qt::AlignCenter);
  lblVis->setMinimumSize(220, 60);
  lblVis->setFrameShape(QFrame::StyledPanel);
  lblBlandetInf = new QLabel(this);
  lblBlandetInf->setObjectName(QStringLiteral("lblBlandetInf"));
  const morvel::OkCancel buttons = morvel::okCancelButtons(this);
  cmdOk = buttons.ok;
  cmdAnnuller = buttons.cancel;

  connect(cmdOk, &QPushButton::clicked, this, [this] { confirm(); });
  connect(cmbStoerrelse->lineEdit(), &QLineEdit::editingFinished, this, [this] {
    if (!isNumber(cmbStoerrelse->currentText())) cmbStoerrelse->setEditText(QString());
    showPreview();
  });
  for (QComboBox* c : {cmbSkrift, cmbTypografi, cmbTegn, cmbStoerrelse})
    connect(c, &QComboBox::currentTextChanged, this, [this] { showPreview(); });
  connect(chkUnder, &QCheckBox::stateChanged, this, [this] { showPreview(); });
  connect(chkFarve, &QCheckBox::toggled, this, [this] { showPreview(); });

  auto label = [this](const QString& caption, QWidget* buddy) {
    auto* l = new QLabel(caption, this);
    l->setBuddy(buddy);
    return l;
  };
  auto* fields = new QGridLayout;
  fields->addWidget(label(QStringLiteral("&Skrifttype:"), cmbSkrift), 0, 0);
  fields->addWidget(cmbSkrift, 0, 1, 1, 3);
  fields->addWidget(label(QStringLiteral("&Typografi:"), cmbTypografi), 1, 0);
  fields->addWidget(cmbTypografi, 1, 1);
  fields->addWidget(chkUnder, 1, 2, 1, 2);
  fields->addWidget(label(QStringLiteral("T&egn:"), cmbTegn), 2, 0);
  fields->addWidget(cmbTegn, 2, 1);
  fields->addWidget(label(QStringLiteral("Stø&rrelse:"), cmbStoerrelse), 2, 2);
  fields->addWidget(cmbStoerrelse, 2, 3);
  fields->addWidget(chkFarve, 3, 0);
  fields->addWidget(ColorGrid1, 3, 1, 1, 2);
  fields->addWidget(cbtFarve, 3, 3);
  fields->addWidget(lblVis, 4, 0, 1, 4);
  fields->addWidget(new QLabel(QStringLiteral("Blandet typografi:"), this), 5, 0);
  fields->addWidget(lblBlandetInf, 5, 1, 1, 3);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  addHelpTexts(*morvel::endWithHelpLine(this, layout, buttons.row, kIdleHelpText));
}

void TSkrift::addHelpTexts(DynamicHelp& help) {
  help.add(cmdOk, morvel::kOkHelpText);
  help.add(cmdAnnuller, morvel::kCancelHelpText);
}

void TSkrift::readSelection() {
  TTivra* e = host_.activeEditor();
  if (!e) return;
  const morvel::FontAttributes* edited = element_.editMode ? element_.as<morvel::FontAttributes>() : nullptr;
  std::string page = e->TextBytes();
  morvel::Selection selection = morvel::selectionOf(*e);
  if (edited) {
    // The edit-element command selected the start tag and noted where its
    // end tag ends.
    morvel::select(*e, selection.first(), edited->endTagEnd);
    selection = morvel::selectionOf(*e);
  }
  begin_ = morvel::offsetOf(page, selection.first());
  end_ = morvel::offsetOf(page, selection.last());
  enclosing_ = morvel::enclosingFont(page, begin_).values;
  if (edited) {
    inForce_ = {edited->face.empty() ? enclosing_.face : edited->face,
                edited->colour.empty() ? enclosing_.colour : edited->colour,
                edited->size.empty() ? enclosing_.size : edited->size};
  } else {
    inForce_ = enclosing_;
  }
  for (int s = morvel::kBold; s <= morvel::kUnderline; ++s) {
    styles_[s] = morvel::styleAround(page, begin_, end_, morvel::kStyleStartTags[s], morvel::kStyleEndTags[s]);
    on_[s] = styles_[s].openBefore;
  }
}

void TSkrift::fill() {
  QStringList mixed;
  const QStringList names{QStringLiteral("fed"), QStringLiteral("kursiv"), QStringLiteral("understreget")};
  for (int s = morvel::kBold; s <= morvel::kUnderline; ++s)
    if (styles_[s].inside) mixed << names[s];
  lblBlandetInf->setText(mixed.isEmpty() ? QStringLiteral("Ingen") : mixed.join(QStringLiteral(", ")));
  cmbSkrift->setEditText(text(inForce_.face));
  if (!inForce_.colour.empty()) {
    if (const std::optional<morvel::ColorValue> colour = morvel::colorFromCode(inForce_.colour))
      cbtFarve->setColor(*colour);
    chkFarve->setChecked(true);
  }
  QString size = text(inForce_.size);
  if (size.startsWith(QLatin1Char('+')) || size.startsWith(QLatin1Char('-'))) {
    cmbTegn->setCurrentText(size.left(1));
    size.remove(0, 1);
  }
  cmbStoerrelse->setEditText(size);
  if (styles_[morvel::kBold].inside || styles_[morvel::kItalic].inside)
    cmbTypografi->setCurrentIndex(-1);
  else
    cmbTypografi->setCurrentIndex((on_[morvel::kBold] ? 2 : 0) + (on_[morvel::kItalic] ? 1 : 0));
  chkUnder->setCheckState(styles_[morvel::kUnderline].inside ? Qt::PartiallyChecked
                          : on_[morvel::kUnderline]          ? Qt::Checked
                                                             : Qt::Unchecked);
}

morvel::FontValues TSkrift::chosen() const {
  morvel::FontValues values;
  values.face = bytes(cmbSkrift->currentText().trimmed());
  if (chkFarve->isChecked()) values.colour = morvel::colorCode(cbtFarve->Color());
  const QString size = cmbStoerrelse->currentText().trimmed();
  if (!size.isEmpty()) values.size = bytes(cmbTegn->currentText() + size);
  return values;
}

void TSkrift::showPreview() {
  if (!lblVis) return;
  QFont font = lblVis->font();
  const QString face = cmbSkrift->currentText().section(QLatin1Char(','), 0, 0).trimmed();
  if (!face.isEmpty()) font.setFamily(face);
  const int style = cmbTypografi->currentIndex();
  font.setBold(style >= 2);
  font.setItalic(style == 1 || style == 3);
  font.setUnderline(chkUnder->checkState() == Qt::Checked);
  const QString size = cmbStoerrelse->currentText().trimmed();
  font.setPointSize(size.isEmpty() ? pointSize(QString(), QStringLiteral("3"))
                                   : pointSize(cmbTegn->currentText(), size));
  lblVis->setFont(font);
  lblVis->setText(size.isEmpty() ? QStringLiteral("AaBbØøÅå") : QStringLiteral("AaBbYyZz"));
  QPalette palette = lblVis->palette();
  const morvel::ColorValue c = chkFarve->isChecked() ? cbtFarve->Color() : 0;
  palette.setColor(QPalette::WindowText, QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
  lblVis->setPalette(palette);
}

void TSkrift::confirm() {
  hide();
  TTivra* e = host_.activeEditor();
  if (!e) {
    accept();
    return;
  }
  const morvel::FontValues values = chosen();
  morvel::FontChange change;
  change.editMode = element_.editMode;
  change.fontChanged = values.face != inForce_.face ||
                       (chkFarve->isChecked() && values.colour != sameColourCode(inForce_.colour)) ||
                       values.size != inForce_.size;
  morvel::FontValues enclosing = enclosing_;
  enclosing.colour = sameColourCode(enclosing.colour);
  change.fontTag = morvel::fontStartTag(values, enclosing, element_.keptAttributes);
  // A style counts as changed when the user set it to something other than
  // it was, or set it at all where it was mixed.
  const int style = cmbTypografi->currentIndex();
  if (style >= 0) {
    const std::array<bool, 2> wanted{style >= 2, style == 1 || style == 3};
    for (int s = morvel::kBold; s <= morvel::kItalic; ++s)
      change.styles[s] = {wanted[s] != on_[s] || styles_[s].inside, wanted[s], styles_[s]};
  }
  if (chkUnder->checkState() != Qt::PartiallyChecked) {
    const bool wanted = chkUnder->checkState() == Qt::Checked;
    const int u = morvel::kUnderline;
    change.styles[u] = {wanted != on_[u] || styles_[u].inside, wanted, styles_[u]};
  }
  const morvel::WrappedText wrapped = morvel::applyFont(e->SelTextBytes(), change);
  e->InsertBytes(wrapped.prefix + wrapped.text + wrapped.suffix);
  // The original text selected again, now inside its new markup.
  const std::string page = e->TextBytes();
  const std::size_t from = begin_ + wrapped.prefix.size();
  morvel::select(*e, morvel::positionAt(page, from), morvel::positionAt(page, from + wrapped.text.size()));
  accept();
}
