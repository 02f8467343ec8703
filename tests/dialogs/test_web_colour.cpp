// The web colour window: web-safe colours on the track bars and their codes,
// the palettes and the remembered user colours, the command that inserts a
// colour code, and the colour button of the element dialogs.
#include "dialog_run.h"

#include "common_dialogs.h"
#include "dialogs/web_colour.h"
#include "dialogs/web_colour_dialog.h"
#include "host.h"
#include "registry.h"
#include "settings/indstillinger.h"

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

using dialog_test::control;
using dialog_test::picture;
using morvel::colorFromRgb;

TEST(WebColours, StepsAndCodesOfWebSafeColours) {
  EXPECT_EQ(morvel::webSteps(colorFromRgb(255, 0, 51)), (morvel::WebSteps{5, 0, 1}));
  EXPECT_EQ(morvel::hexColorCode(morvel::colorOfSteps({5, 0, 1})), "#FF0033");
  // Named colours are written as digits here.
  EXPECT_EQ(morvel::hexColorCode(colorFromRgb(255, 0, 0)), "#FF0000");
  EXPECT_EQ(morvel::hexColorCode(0xFF123456), "#563412");
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) {
        const morvel::WebSteps steps{r, g, b};
        EXPECT_EQ(morvel::webSteps(morvel::colorOfSteps(steps)), steps);
      }
}

TEST(WebColours, AColourWithAnyComponentOffTheStepsIsNoWebColour) {
  EXPECT_FALSE(morvel::webSteps(colorFromRgb(192, 192, 192)));
  EXPECT_FALSE(morvel::webSteps(colorFromRgb(255, 0, 1)));
  // Components whose remainders add up to 51 must not pass for a web colour
  // (that would put a track bar at 6).
  EXPECT_FALSE(morvel::webSteps(colorFromRgb(50, 1, 0)));
  EXPECT_FALSE(morvel::webSteps(colorFromRgb(0, 50, 1)));
}

class UserColourStore : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  morvel::RegIniFile store{dir.filePath(QStringLiteral("store.ini")).toStdString()};
};

TEST_F(UserColourStore, ColoursSurviveTheStoreAndBadValuesReadAsWhite) {
  morvel::UserColours colours;
  colours.fill(morvel::kWhite);
  colours[0] = 0;
  colours[11] = colorFromRgb(1, 2, 3);
  morvel::writeUserColours(store, colours);
  EXPECT_EQ(store.ReadString("UserColors", "Color11", ""), "197121");
  EXPECT_EQ(morvel::readUserColours(store), colours);

  store.WriteString("UserColors", "Color0", "rød");
  store.WriteString("UserColors", "Color1", "99999999");
  store.DeleteValue("UserColors", "Color11");
  const morvel::UserColours read = morvel::readUserColours(store);
  EXPECT_EQ(read[0], morvel::kWhite);
  EXPECT_EQ(read[1], morvel::kWhite);
  EXPECT_EQ(read[11], morvel::kWhite);
}

TEST(WebColours, AddedColoursFillWhiteCellsThenTheSelectedCell) {
  morvel::UserColours colours;
  colours.fill(morvel::kWhite);
  colours[0] = 1;
  EXPECT_EQ(morvel::addUserColour(colours, 7, 5), 1u);
  for (morvel::ColorValue c = 8; c < 18; ++c) morvel::addUserColour(colours, c, 5);
  EXPECT_EQ(colours[11], 17u);
  EXPECT_EQ(morvel::addUserColour(colours, 99, 5), 5u);
  EXPECT_EQ(colours[5], 99u);
  EXPECT_EQ(colours[4], 10u);
}

class WebColourWindow : public dialog_test::DialogRun {
 protected:
  void openWebColour() { k().command(QStringLiteral("webColour"))->trigger(); }
  static QString text(QDialog& form, const char* name) { return control<QLabel>(form, name)->text(); }
  static void setBars(QDialog& form, int red, int green, int blue) {
    control<QSlider>(form, "tbRed")->setValue(red);
    control<QSlider>(form, "tbGreen")->setValue(green);
    control<QSlider>(form, "tbBlue")->setValue(blue);
  }
  static QToolButton* cell(QDialog& form, const char* palette, int i) {
    return control<QWidget>(form, palette)->findChild<QToolButton*>(QStringLiteral("cell%1").arg(i));
  }
};

TEST_F(WebColourWindow, TrackBarsBuildTheCodeThatOkInsertsAtTheCaret) {
  setPage("<BODY BGCOLOR=\"|\">");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Webfarver");
    EXPECT_EQ(text(form, "lblHTMLcode"), "#FFFFFF");
    setBars(form, 5, 0, 1);
    EXPECT_EQ(text(form, "lblRedValue"), "255");
    EXPECT_EQ(text(form, "lblGreenValue"), "0");
    EXPECT_EQ(text(form, "lblBlueValue"), "51");
    EXPECT_EQ(text(form, "lblHTMLcode"), "#FF0033");
    EXPECT_EQ(control<QLabel>(form, "lblColor")->palette().color(QPalette::Window), QColor(255, 0, 51));
    picture(form, "webfarver");
  });
  openWebColour();
  EXPECT_EQ(page(), "<BODY BGCOLOR=\"#FF0033\">");

  cancelNextForm([](QDialog& form) { setBars(form, 1, 1, 1); });
  openWebColour();
  EXPECT_EQ(page(), "<BODY BGCOLOR=\"#FF0033\">");
}

TEST_F(WebColourWindow, PalettesShowWebColoursOnTheBarsAndOthersAsDashes) {
  setPage("|");
  confirmNextForm([](QDialog& form) {
    // The first basic colour is a web colour, the grey of cell 40 is not.
    cell(form, "ColorPick1", 0)->click();
    EXPECT_EQ(text(form, "lblHTMLcode"), "#FFCCCC");
    EXPECT_EQ(control<QSlider>(form, "tbGreen")->value(), 4);
    cell(form, "ColorPick1", 40)->click();
    for (const char* name : {"lblRedValue", "lblGreenValue", "lblBlueValue", "lblHTMLcode"})
      EXPECT_EQ(text(form, name), "-") << name;
    EXPECT_EQ(control<QSlider>(form, "tbRed")->value(), 0);
    EXPECT_EQ(control<QLabel>(form, "lblColor")->palette().color(QPalette::Window),
              form.palette().color(QPalette::Button));
  });
  openWebColour();
  // The picked colour stays the chosen one, not the neutral swatch or "-".
  EXPECT_EQ(page(), "#808080");
}

TEST_F(WebColourWindow, UserColoursAreKeptOnOkOnly) {
  setPage("|");
  cancelNextForm([](QDialog& form) {
    setBars(form, 0, 0, 5);
    control<QPushButton>(form, "cmdAdd")->click();
  });
  openWebColour();
  EXPECT_FALSE(run.store().ValueExists("UserColors", "Color0"));

  confirmNextForm([](QDialog& form) {
    setBars(form, 0, 0, 5);
    control<QPushButton>(form, "cmdAdd")->click();
    setBars(form, 0, 5, 0);
    control<QPushButton>(form, "cmdAdd")->click();
  });
  openWebColour();
  const morvel::UserColours kept = morvel::readUserColours(run.store());
  EXPECT_EQ(kept[0], colorFromRgb(0, 0, 255));
  EXPECT_EQ(kept[1], colorFromRgb(0, 255, 0));
  EXPECT_EQ(kept[2], morvel::kWhite);

  // A remembered colour is shown again and picks like a basic colour.
  confirmNextForm([](QDialog& form) { cell(form, "UserColorPick1", 1)->click(); });
  openWebColour();
  EXPECT_EQ(page(), "#00FF00#00FF00");
}

TEST_F(WebColourWindow, TheColourButtonChoosesThroughEitherDialog) {
  TWebColorButton button(run.store(), &k());
  button.setColor(colorFromRgb(0, 0, 0));
  int changes = 0;
  button.OnColorChange = [&] { ++changes; };

  cancelNextForm([](QDialog& form) { setBars(form, 5, 5, 0); });
  button.click();
  EXPECT_EQ(button.Color(), colorFromRgb(0, 0, 0));
  EXPECT_EQ(changes, 0);

  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(text(form, "lblHTMLcode"), "#000000");
    setBars(form, 5, 5, 0);
  });
  button.click();
  EXPECT_EQ(button.Color(), colorFromRgb(255, 255, 0));
  EXPECT_EQ(changes, 1);
  // The button's face shows the colour it holds.
  button.resize(60, 24);
  const QImage face = button.grab().toImage();
  EXPECT_EQ(face.pixelColor(face.width() / 2, face.height() / 2), QColor(255, 255, 0));

  // Shift held chooses the standard colour dialog.
  platform::setKeyDown(VK_SHIFT, true);
  responder.answer([](platform::Request& r) {
    EXPECT_EQ(r.kind, platform::RequestKind::Colour);
    static_cast<platform::ColourDialogRequest*>(r.data)->colour = colorFromRgb(1, 2, 3);
    return 1;
  });
  button.click();
  platform::setKeyDown(VK_SHIFT, false);
  EXPECT_EQ(button.Color(), colorFromRgb(1, 2, 3));
  EXPECT_EQ(changes, 2);
}

TEST(WebColours, EveryKeyOfTheCurrentUserSharesTheSectionNamedByItsLastPart) {
  using morvel::userColoursSection;
  EXPECT_EQ(userColoursSection(HKEY_CURRENT_USER, "Software\\UserColors"), "UserColors");
  EXPECT_EQ(userColoursSection(HKEY_CURRENT_USER, "Software\\Morvel\\UserColors"), "UserColors");
  EXPECT_EQ(userColoursSection(HKEY_CURRENT_USER, "Software\\Brimvale\\Morvel\\UserColors\\"), "UserColors");
  EXPECT_EQ(userColoursSection(HKEY_CURRENT_USER, "Farver"), "Farver");
  // No store behind other roots, nor behind an empty key.
  EXPECT_EQ(userColoursSection(HKEY_LOCAL_MACHINE, "Software\\UserColors"), std::nullopt);
  EXPECT_EQ(userColoursSection(HKEY_CURRENT_USER, ""), std::nullopt);
  EXPECT_EQ(morvel::colourDialogFlags(morvel::cdFullOpen | morvel::cdAnyColor), CC_FULLOPEN | CC_ANYCOLOR);
}

TEST_F(WebColourWindow, ACellReachedFromTheKeyboardShowsItsColour) {
  setPage("|");
  confirmNextForm([](QDialog& form) {
    QToolButton* white = cell(form, "ColorPick1", 0);
    QToolButton* other = nullptr;
    // A web colour of the basic palette other than the one the window starts with.
    for (int i = 1; i < 48 && !other; ++i) {
      QToolButton* c = cell(form, "ColorPick1", i);
      c->click();
      if (text(form, "lblHTMLcode") != "-" && text(form, "lblHTMLcode") != "#FFFFFF") other = c;
    }
    ASSERT_NE(other, nullptr);
    white->click();
    const QString whiteCode = text(form, "lblHTMLcode");
    other->click();
    const QString otherCode = text(form, "lblHTMLcode");
    ASSERT_NE(whiteCode, otherCode);
    // Tab onto the first cell: it is shown without a click.
    QFocusEvent tab(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(white, &tab);
    EXPECT_EQ(text(form, "lblHTMLcode"), whiteCode);
    EXPECT_TRUE(white->isChecked());
  });
  openWebColour();
}

TEST_F(WebColourWindow, TheStandardDialogOfTheButtonSharesTheUserColoursAndTakesItsOptions) {
  // A colour kept by the program's own window...
  morvel::UserColours kept;
  kept.fill(morvel::kWhite);
  kept[0] = colorFromRgb(0, 51, 102);
  morvel::writeUserColours(run.store(), kept);

  TWebColorButton button(run.store(), &k());
  button.Key = "Software\\Brimvale\\Morvel\\UserColors";
  button.WebColorDialog = false;
  button.Options = morvel::cdFullOpen;
  responder.answer([](platform::Request& r) {
    EXPECT_EQ(r.kind, platform::RequestKind::Colour);
    auto& choice = *static_cast<platform::ColourDialogRequest*>(r.data);
    EXPECT_EQ(choice.flags, CC_FULLOPEN);
    // ...is among the standard dialog's custom colours,
    EXPECT_EQ(choice.customColours.value(0), colorFromRgb(0, 51, 102));
    choice.customColours[1] = colorFromRgb(9, 8, 7);
    choice.colour = colorFromRgb(9, 8, 7);
    return 1;
  });
  button.click();
  EXPECT_EQ(button.Color(), colorFromRgb(9, 8, 7));
  // and what the user adds there is kept for the web colour window.
  EXPECT_EQ(morvel::readUserColours(run.store())[1], colorFromRgb(9, 8, 7));
  EXPECT_EQ(morvel::readUserColours(run.store())[0], colorFromRgb(0, 51, 102));

  // Under a root without a store nothing is shown or kept.
  button.RootKey = HKEY_LOCAL_MACHINE;
  responder.answer([](platform::Request& r) {
    auto& choice = *static_cast<platform::ColourDialogRequest*>(r.data);
    EXPECT_EQ(choice.customColours.value(0), morvel::kWhite);
    choice.customColours[2] = colorFromRgb(1, 1, 1);
    return 1;
  });
  button.click();
  EXPECT_EQ(morvel::readUserColours(run.store())[2], morvel::kWhite);
}

TEST_F(WebColourWindow, AButtonActivatedByDoubleClickIgnoresASingleClick) {
  TWebColorButton button(run.store(), &k());
  button.WebColorDialog = false;
  button.ActivationEvent = TActivationEvent::aeDoubleClick;
  button.resize(60, 24);
  // No request is expected: the responder fails the test on one.
  button.click();
  responder.answer([](platform::Request& r) {
    static_cast<platform::ColourDialogRequest*>(r.data)->colour = colorFromRgb(255, 0, 0);
    return 1;
  });
  QTest::mouseDClick(&button, Qt::LeftButton);
  EXPECT_EQ(button.Color(), colorFromRgb(255, 0, 0));
}

}  // namespace
