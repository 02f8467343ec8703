// The picture dialog: the picture code built from its fields, a picture
// chosen through the dialog giving its size, and a picture code taken
// apart by the edit-element command and rebuilt.
#include "dialog_run.h"

#include "common_dialogs.h"
#include "dialogs/picture_codes.h"
#include "picture_files.h"
#include "settings/indstillinger.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QScrollArea>
#include <QSpinBox>

namespace {

using dialog_test::control;
using dialog_test::field;
using dialog_test::picture;
using dialog_test::setField;

TEST(PictureCode, SizesMarginsAndAlignment) {
  morvel::PictureFields p;
  p.file = "billeder/logo.gif";
  p.width = 120;
  p.height = 60;
  EXPECT_EQ(morvel::pictureCode(p, ""),
            "<IMG SRC=\"billeder/logo.gif\" BORDER=\"0\" WIDTH=\"120\" HEIGHT=\"60\" ALIGN=\"BOTTOM\" ALT=\"\">");

  p.width = 50;
  p.widthPercent = true;
  p.height = 0;
  p.heightPercent = true;
  p.border = 2;
  p.align = 3;
  p.marginSides = 5;
  p.altText = "Logo";
  EXPECT_EQ(morvel::pictureCode(p, " ID=\"x\""),
            "<IMG SRC=\"billeder/logo.gif\" BORDER=\"2\" WIDTH=\"50%\" ALIGN=\"LEFT\" VSPACE=\"0\" HSPACE=\"5\" "
            "ALT=\"Logo\" ID=\"x\">");
}

TEST(PictureCode, FieldsFromTheAttributesOfAnElement) {
  morvel::PictureAttributes a;
  a.src = "a.gif";
  a.align = "right";
  a.width = {"50", true};
  a.height = {"abc", false};
  a.border = "3";
  a.vspace = "4";
  a.alt = "Tekst";
  const morvel::PictureFields p = morvel::pictureFields(a);
  EXPECT_EQ(p.file, "a.gif");
  EXPECT_EQ(p.align, 4);
  EXPECT_EQ(p.width, 50);
  EXPECT_TRUE(p.widthPercent);
  EXPECT_EQ(p.height, 0);
  EXPECT_FALSE(p.heightPercent);
  EXPECT_EQ(p.border, 3);
  EXPECT_EQ(p.marginTopBottom, 4);
  EXPECT_EQ(p.marginSides, 0);
  EXPECT_EQ(p.altText, "Tekst");
  for (const auto& [value, index] : {std::pair{"Top", 0}, {"MIDDLE", 1}, {"left", 3}, {"center", 2}, {"", 2}})
    EXPECT_EQ(morvel::pictureAlignIndex(value), index) << value;
  EXPECT_EQ(morvel::numberOrZero("12px"), 0);
}

class PictureDialog : public dialog_test::DialogRun {
 protected:
  void openPictureDialog() { k().command(QStringLiteral("pictureDialog"))->trigger(); }
  // The next open-file request chooses this file.
  void chooseFile(const QString& path) {
    responder.answer([path](platform::Request& r) {
      EXPECT_EQ(r.kind, platform::RequestKind::OpenFile);
      auto* choice = static_cast<platform::FileDialogRequest*>(r.data);
      EXPECT_EQ(choice->title, "Grafikfiler");
      choice->chosen = {path};
      return 1;
    });
  }
  static int number(QDialog& form, const char* name) { return control<QSpinBox>(form, name)->value(); }
  static bool checked(QDialog& form, const char* name) { return control<QCheckBox>(form, name)->isChecked(); }
};

TEST_F(PictureDialog, AChosenPictureGivesItsAddressAndSize) {
  const QString folder = run.dir.filePath(QStringLiteral("billeder"));
  QDir().mkpath(folder);
  const QString gif = folder + QStringLiteral("/logo.gif");
  ASSERT_TRUE(testing_support::writeGif(gif.toStdString(), 120, 60));
  setPage("<P>|</P>");
  confirmNextForm([this, gif](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Grafik");
    EXPECT_EQ(control<QComboBox>(form, "cmbJust")->currentText(), "Bund");
    EXPECT_FALSE(control<QCheckBox>(form, "chkTilpas")->isEnabled());
    control<QCheckBox>(form, "chkBredde")->setChecked(true);
    chooseFile(gif);
    control<QPushButton>(form, "cmdFil")->click();
    // Without a file of its own the page takes the file name alone.
    EXPECT_EQ(field(form, "txtFil"), "logo.gif");
    EXPECT_EQ(number(form, "updBredde"), 120);
    EXPECT_EQ(number(form, "updHoejde"), 60);
    EXPECT_FALSE(checked(form, "chkBredde"));
    EXPECT_TRUE(control<QCheckBox>(form, "chkTilpas")->isEnabled());
    EXPECT_EQ(control<QLabel>(form, "imgBillede")->size(), QSize(120, 60));
    // Fitted, the preview fills the box less 4 pixels on one axis and keeps
    // its shape.
    form.show();
    control<QCheckBox>(form, "chkTilpas")->setChecked(true);
    const QSize box = control<QScrollArea>(form, "srlBillede")->viewport()->size() - QSize(4, 4);
    const QSize fitted = control<QLabel>(form, "imgBillede")->size();
    EXPECT_TRUE(fitted.width() == box.width() || fitted.height() == box.height())
        << fitted.width() << " " << fitted.height();
    EXPECT_LE(fitted.width(), box.width());
    EXPECT_LE(fitted.height(), box.height());
    EXPECT_NEAR(fitted.width(), 2 * fitted.height(), 2);
    picture(form, "grafik");
    control<QCheckBox>(form, "chkTilpas")->setChecked(false);
    EXPECT_EQ(control<QLabel>(form, "imgBillede")->size(), QSize(120, 60));
  });
  openPictureDialog();
  EXPECT_EQ(page(), "<P><IMG SRC=\"logo.gif\" BORDER=\"0\" WIDTH=\"120\" HEIGHT=\"60\" ALIGN=\"BOTTOM\" ALT=\"\"></P>");
}

TEST_F(PictureDialog, AJpegNamedDotJpegGivesItsAddressButNoSize) {
  const QString jpeg = run.dir.filePath(QStringLiteral("foto.jpeg"));
  ASSERT_TRUE(testing_support::writeJpeg(jpeg.toStdString(), 40, 30));
  setPage("|");
  cancelNextForm([this, jpeg](QDialog& form) {
    control<QSpinBox>(form, "updBredde")->setValue(7);
    chooseFile(jpeg);
    control<QPushButton>(form, "cmdFil")->click();
    EXPECT_EQ(field(form, "txtFil"), "foto.jpeg");
    EXPECT_EQ(number(form, "updBredde"), 7);
    EXPECT_EQ(number(form, "updHoejde"), 0);
    EXPECT_FALSE(control<QCheckBox>(form, "chkTilpas")->isEnabled());
  });
  openPictureDialog();
  EXPECT_EQ(page(), "");
}

TEST_F(PictureDialog, AnEditedPictureShowsItsAttributesAndIsRebuiltInUpperCase) {
  run.changeSettings([](morvel::Settings& s) { s.keepUnknownAttributes = true; });
  setPage("<P><img src=\"a.gif\" wid|th=\"50%\" align=middle vspace=\"2\" title=\"t\"> x</P>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Grafik - redigering");
    EXPECT_EQ(field(form, "txtFil"), "a.gif");
    EXPECT_EQ(number(form, "updBredde"), 50);
    EXPECT_TRUE(checked(form, "chkBredde"));
    EXPECT_FALSE(checked(form, "chkHoejde"));
    EXPECT_EQ(number(form, "updMarginTB"), 2);
    EXPECT_EQ(control<QComboBox>(form, "cmbJust")->currentText(), "Midten");
    setField(form, "txtAltTekst", "Billede");
  });
  k().elementDialogs().editElement();
  EXPECT_EQ(page(),
            "<P><IMG SRC=\"a.gif\" BORDER=\"0\" WIDTH=\"50%\" ALIGN=\"MIDDLE\" VSPACE=\"2\" HSPACE=\"0\" "
            "ALT=\"Billede\" title=\"t\"> x</P>");
}

TEST_F(PictureDialog, PicturesBesideAPageAreFoundFromItsFolder) {
  const QString site = run.dir.filePath(QStringLiteral("site"));
  QDir().mkpath(site + QStringLiteral("/billeder"));
  const QString pagePath = site + QStringLiteral("/index.htm");
  const QString jpeg = site + QStringLiteral("/billeder/foto.jpg");
  ASSERT_TRUE(testing_support::writeJpeg(jpeg.toStdString(), 40, 30));
  QFile damaged(site + QStringLiteral("/billeder/skadet.gif"));
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
  damaged.write("GIF89a");
  damaged.close();
  QFile pageFile(pagePath);
  ASSERT_TRUE(pageFile.open(QIODevice::WriteOnly));
  pageFile.close();
  ASSERT_TRUE(k().openFile(pagePath));

  setPage("<IMG SRC=\"billeder/foto.jpg\"| HEIGHT=\"31\">");
  confirmNextForm([this, damaged = damaged.fileName()](QDialog& form) {
    // The edited picture is shown; its numbers stay those of the code.
    EXPECT_TRUE(control<QCheckBox>(form, "chkTilpas")->isEnabled());
    EXPECT_FALSE(control<QLabel>(form, "imgBillede")->pixmap().isNull());
    EXPECT_EQ(number(form, "updBredde"), 0);
    EXPECT_EQ(number(form, "updHoejde"), 31);
    // A picture that cannot be read changes no number and shows nothing.
    chooseFile(damaged);
    control<QPushButton>(form, "cmdFil")->click();
    EXPECT_EQ(field(form, "txtFil"), "billeder/skadet.gif");
    EXPECT_EQ(number(form, "updHoejde"), 31);
    EXPECT_TRUE(control<QLabel>(form, "imgBillede")->isHidden());
  });
  k().elementDialogs().editElement();
  EXPECT_EQ(page(), "<IMG SRC=\"billeder/skadet.gif\" BORDER=\"0\" HEIGHT=\"31\" ALIGN=\"BOTTOM\" ALT=\"\">");
}

}  // namespace
