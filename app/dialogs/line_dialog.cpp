#include "dialogs/line_dialog.h"

#include "commands/document_host.h"
#include "component/tivra_component.h"
#include "controls/dynamic_help.h"
#include "dialogs/edited_element.h"
#include "dialogs/element_dialogs.h"
#include "dialogs/line_codes.h"
#include "interaction.h"
#include "registry.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr std::string_view kSection = "Linie";
constexpr int kLongestPercent = 100;
constexpr int kLongestPixels = 1600;
constexpr int kThickest = 100;

}  // namespace

TLinie::TLinie(morvel::DocumentHost& host, const morvel::EditedElement& element, QWidget* parent)
    : QDialog(parent ? parent : host.dialogParent()), host_(host), element_(element) {
  setObjectName(QStringLiteral("TLinie"));
  setWindowFlag(Qt::Tool);
  buildControls();
  if (const morvel::LineAttributes* edited = element_.editMode ? element_.as<morvel::LineAttributes>() : nullptr) {
    setWindowTitle(QStringLiteral("Vandret linie - redigering"));
    showLine(morvel::lineFields(*edited));
    return;
  }
  setWindowTitle(QStringLiteral("Vandret linie"));
  const morvel::RegIniFile& store = host_.store();
  morvel::LineFields line;
  line.length = store.ReadInteger(kSection, "Laengde", line.length);
  line.thickness = store.ReadInteger(kSection, "Tykkelse", line.thickness);
  line.percent = store.ReadBool(kSection, "Procent", line.percent);
  line.shadow = store.ReadBool(kSection, "3D", line.shadow);
  line.align = store.ReadInteger(kSection, "Justering", line.align);
  showLine(line);
}

void TLinie::buildControls() {
  auto number = [this](const char* name, const char* fieldName) {
    auto* n = new QSpinBox(this);
    n->setObjectName(QString::fromLatin1(name));
    if (auto* edit = n->findChild<QLineEdit*>()) edit->setObjectName(QString::fromLatin1(fieldName));
    return n;
  };
  auto radio = [this](const char* name, const QString& caption) {
    auto* r = new QRadioButton(caption, this);
    r->setObjectName(QString::fromLatin1(name));
    return r;
  };
  updLaengde = number("updLaengde", "txtLaengde");
  updLaengde->setSingleStep(5);
  chkProcent = new QCheckBox(QStringLiteral("&%"), this);
  chkProcent->setObjectName(QStringLiteral("chkProcent"));
  updTykkelse = number("updTykkelse", "txtTykkelse");
  updTykkelse->setRange(1, kThickest);
  chk3D = new QCheckBox(QStringLiteral("&3D-skygge"), this);
  chk3D->setObjectName(QStringLiteral("chk3D"));
  optVenstre = radio("optVenstre", QStringLiteral("&Venstrestillet"));
  optCenter = radio("optCenter", QStringLiteral("&Centreret"));
  optHoejre = radio("optHoejre", QStringLiteral("&Højrestillet"));
  btnGemSomStandard = new QPushButton(QStringLiteral("&Gem som standard"), this);
  btnGemSomStandard->setObjectName(QStringLiteral("btnGemSomStandard"));
  const morvel::OkCancel buttons = morvel::okCancelButtons(this);
  cmdOk = buttons.ok;
  cmdAnnuller = buttons.cancel;

  connect(chkProcent, &QCheckBox::toggled, this,
          [this](bool percent) { updLaengde->setMaximum(percent ? kLongestPercent : kLongestPixels); });
  connect(btnGemSomStandard, &QPushButton::clicked, this, [this] { saveAsDefaults(); });
  connect(cmdOk, &QPushButton::clicked, this, [this] { confirm(); });

  auto label = [this](const QString& caption, QWidget* buddy) {
    auto* l = new QLabel(caption, this);
    l->setBuddy(buddy);
    return l;
  };
  auto* fields = new QGridLayout;
  fields->addWidget(label(QStringLiteral("&Længde:"), updLaengde), 0, 0);
  fields->addWidget(updLaengde, 0, 1);
  fields->addWidget(chkProcent, 0, 2);
  fields->addWidget(label(QStringLiteral("&Tykkelse:"), updTykkelse), 1, 0);
  fields->addWidget(updTykkelse, 1, 1);
  fields->addWidget(chk3D, 2, 0, 1, 3);
  auto* align = new QVBoxLayout;
  align->addWidget(optVenstre);
  align->addWidget(optCenter);
  align->addWidget(optHoejre);
  auto* top = new QHBoxLayout;
  top->addLayout(fields);
  top->addSpacing(12);
  top->addLayout(align);
  buttons.row->insertWidget(0, btnGemSomStandard);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  addHelpTexts(*morvel::endWithHelpLine(this, layout, buttons.row, kIdleHelpText));
}

void TLinie::addHelpTexts(DynamicHelp& help) {
  help.add(updLaengde, QStringLiteral("Sætter længden på linien i procent eller pixels. (<HR WIDTH=>)"));
  help.add(chkProcent, QStringLiteral("Bestemmer, om længden skal angives i procent eller i pixels."));
  help.add(updTykkelse, QStringLiteral("Sætter tykkelsen på linien i pixels.(SIZE=)"));
  help.add(chk3D, QStringLiteral("Bestemmer, om linien skal have 3D-skygge eller ej. (NOSHADE)"));
  const QString align =
      QStringLiteral("Bestemmer, om linien skal venstrestilles, centreres eller højrestilles. (ALIGN=)");
  help.add(optVenstre, align);
  help.add(optCenter, align);
  help.add(optHoejre, align);
  help.add(btnGemSomStandard, QStringLiteral("Gemmer indstillingerne som standard."));
  help.add(cmdOk, morvel::kOkHelpText);
  help.add(cmdAnnuller, morvel::kCancelHelpText);
}

void TLinie::showLine(const morvel::LineFields& line) {
  // The unit first: it sets the range the length must fit.
  chkProcent->setChecked(line.percent);
  updLaengde->setMaximum(line.percent ? kLongestPercent : kLongestPixels);
  updLaengde->setValue(line.length);
  updTykkelse->setValue(line.thickness);
  chk3D->setChecked(line.shadow);
  optVenstre->setChecked(line.align == morvel::kLineLeft);
  optHoejre->setChecked(line.align == morvel::kLineRight);
  optCenter->setChecked(line.align != morvel::kLineLeft && line.align != morvel::kLineRight);
}

morvel::LineFields TLinie::fields() const {
  morvel::LineFields line;
  line.length = updLaengde->value();
  line.percent = chkProcent->isChecked();
  line.thickness = updTykkelse->value();
  line.shadow = chk3D->isChecked();
  line.align = optVenstre->isChecked()  ? morvel::kLineLeft
               : optHoejre->isChecked() ? morvel::kLineRight
                                        : morvel::kLineCentre;
  return line;
}

void TLinie::saveAsDefaults() {
  const morvel::LineFields line = fields();
  morvel::RegIniFile& store = host_.store();
  store.WriteInteger(kSection, "Laengde", line.length);
  store.WriteInteger(kSection, "Tykkelse", line.thickness);
  store.WriteBool(kSection, "Procent", line.percent);
  store.WriteBool(kSection, "3D", line.shadow);
  store.WriteInteger(kSection, "Justering", line.align);
}

void TLinie::confirm() {
  hide();
  // The selection (the whole line when editing) gives way to the code.
  if (TTivra* e = host_.activeEditor()) e->InsertBytes(morvel::lineCode(fields(), element_.keptAttributes));
  accept();
}
