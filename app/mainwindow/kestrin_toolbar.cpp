// TKestrin: the tool bar ToolBar1. Each button does what a menu command
// does; its hint says which. The pictures are drawn here.
#include "mainwindow/kestrin.h"

#include <QAction>
#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QToolBar>

#include <functional>

namespace {

constexpr int kButtonSize = 24;

// How a button's picture is drawn: a short text in a given style, or lines.
enum class Picture { Text, CentredLines, JustifiedLines, Table, Bullets, Frames };

struct Glyph {
  Picture picture = Picture::Text;
  QString text;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  QColor colour = Qt::black;
};

void drawLines(QPainter& p, bool centred) {
  const int widths[] = {16, 10, 16, 12};
  for (int i = 0; i < 4; ++i) {
    const int w = centred ? widths[i] : 16;
    const int x = (kButtonSize - w) / 2;
    p.drawLine(x, 6 + i * 4, x + w, 6 + i * 4);
  }
}

void drawPicture(QPainter& p, const Glyph& g) {
  p.setPen(QPen(g.colour, 1.5));
  switch (g.picture) {
    case Picture::CentredLines:
      drawLines(p, true);
      return;
    case Picture::JustifiedLines:
      drawLines(p, false);
      return;
    case Picture::Table:
      p.drawRect(4, 5, 16, 14);
      p.drawLine(4, 10, 20, 10);
      p.drawLine(4, 15, 20, 15);
      p.drawLine(12, 5, 12, 19);
      return;
    case Picture::Bullets:
      for (int i = 0; i < 3; ++i) {
        p.drawEllipse(QPointF(6, 7 + i * 5), 1.2, 1.2);
        p.drawLine(10, 7 + i * 5, 19, 7 + i * 5);
      }
      return;
    case Picture::Frames:
      p.drawRect(3, 4, 18, 16);
      p.drawLine(9, 4, 9, 20);
      p.drawLine(9, 10, 21, 10);
      return;
    case Picture::Text:
      break;
  }
  QFont f = QApplication::font();
  f.setPixelSize(g.text.size() > 2 ? 9 : 14);
  f.setBold(g.bold);
  f.setItalic(g.italic);
  f.setUnderline(g.underline);
  p.setFont(f);
  p.drawText(QRect(0, 0, kButtonSize, kButtonSize), Qt::AlignCenter, g.text);
}

QIcon glyphIcon(const Glyph& g) {
  QPixmap pixmap(kButtonSize, kButtonSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  drawPicture(p, g);
  return QIcon(pixmap);
}

Glyph text(const QString& t, bool bold = false, bool italic = false, bool underline = false,
           QColor colour = Qt::black) {
  return Glyph{Picture::Text, t, bold, italic, underline, colour};
}

Glyph shape(Picture picture) { return Glyph{picture, QString(), false, false, false, Qt::black}; }

}  // namespace

void TKestrin::createToolBar() {
  toolBar_ = addToolBar(QStringLiteral("ToolBar1"));
  toolBar_->setObjectName(QStringLiteral("ToolBar1"));
  toolBar_->setMovable(false);
  toolBar_->setIconSize(QSize(kButtonSize - 6, kButtonSize - 6));
  QStyle* style = QApplication::style();

  auto button = [this](const QString& name, const QString& hint, const QIcon& icon, const std::function<void()>& run) {
    QAction* a = toolBar_->addAction(icon, hint);
    a->setObjectName(name);
    a->setToolTip(hint);
    connect(a, &QAction::triggered, this, run);
    return a;
  };
  // Most buttons do exactly what a menu command does.
  auto like = [this](const char* commandName) {
    return [this, commandName] { command(QString::fromLatin1(commandName))->trigger(); };
  };
  auto drawn = [](const Glyph& g) { return glyphIcon(g); };

  button(QStringLiteral("newDocumentButton"), QStringLiteral("Nyt dokument"), style->standardIcon(QStyle::SP_FileIcon),
         [this] { newDocumentButton(); });
  button(QStringLiteral("saveButton"), QStringLiteral("Gem"), style->standardIcon(QStyle::SP_DialogSaveButton),
         like("mnuGem"));
  button(QStringLiteral("undoButton"), QStringLiteral("Fortryd"), style->standardIcon(QStyle::SP_ArrowBack),
         like("undo"));
  QAction* panes =
      toolBar_->addAction(style->standardIcon(QStyle::SP_DirIcon), QStringLiteral("Vis/skjul filhåndtering"));
  panes->setObjectName(QStringLiteral("filePanesButton"));
  panes->setToolTip(panes->text());
  panes->setCheckable(true);
  connect(panes, &QAction::triggered, this, [this](bool checked) { setFilePanesShown(checked); });
  toolBar_->addSeparator();

  button(QStringLiteral("boldButton"), QStringLiteral("Fed skrift"), drawn(text(QStringLiteral("F"), true)),
         like("bold"));
  button(QStringLiteral("italicButton"), QStringLiteral("Kursiv skrift"), drawn(text(QStringLiteral("K"), true, true)),
         like("italic"));
  button(QStringLiteral("underlineButton"), QStringLiteral("Understreget skrift"),
         drawn(text(QStringLiteral("U"), true, false, true)), like("underline"));
  button(QStringLiteral("fontButton"), QStringLiteral("Skrifttype (dialogboks)"),
         drawn(text(QStringLiteral("A"), false, false, false, QColor(0x80, 0, 0))), like("fontDialog"));
  button(QStringLiteral("centerButton"), QStringLiteral("Centrér"), drawn(shape(Picture::CentredLines)),
         like("center"));
  button(QStringLiteral("justifyButton"), QStringLiteral("Lige margener"), drawn(shape(Picture::JustifiedLines)),
         like("justify"));
  button(QStringLiteral("lineBreakButton"), QStringLiteral("Linieskift"), drawn(text(QStringLiteral("↵"), true)),
         like("lineBreak"));
  button(QStringLiteral("paragraphButton"), QStringLiteral("Nyt afsnit"), drawn(text(QStringLiteral("¶"), true)),
         like("paragraph"));
  button(QStringLiteral("horizontalRuleButton"), QStringLiteral("Vandret linie"),
         drawn(text(QStringLiteral("—"), true)), like("horizontalRule"));
  toolBar_->addSeparator();

  button(QStringLiteral("baseCodesButton"), QStringLiteral("Basiskoder - i gang med ny Web-side"),
         drawn(text(QStringLiteral("<>"), true, false, false, QColor(0, 0, 0x80))), like("baseCodes"));
  button(QStringLiteral("linkButton"), QStringLiteral("Henvisning (dialogboks)"),
         drawn(text(QStringLiteral("a"), true, false, true, QColor(0, 0, 0xFF))), like("linkDialog"));
  button(QStringLiteral("pictureButton"), QStringLiteral("Grafik (dialogboks)"),
         drawn(text(QStringLiteral("▲"), false, false, false, QColor(0, 0x80, 0))), like("pictureDialog"));
  button(QStringLiteral("soundButton"), QStringLiteral("Lyd (dialogboks)"), drawn(text(QStringLiteral("♪"), true)),
         like("soundDialog"));
  button(QStringLiteral("lineDialogButton"), QStringLiteral("Vandret linie (dialogboks)"),
         drawn(text(QStringLiteral("═"), true, false, false, QColor(0x80, 0x80, 0x80))), like("lineDialog"));
  button(QStringLiteral("emailButton"), QStringLiteral("E-mailadresse (dialogboks)"),
         drawn(text(QStringLiteral("@"), true)), like("emailDialog"));
  button(QStringLiteral("tableButton"), QStringLiteral("Tabel (dialogboks)"), drawn(shape(Picture::Table)),
         like("tableDialog"));
  button(QStringLiteral("listButton"), QStringLiteral("Punktopstilling (dialogboks)"), drawn(shape(Picture::Bullets)),
         like("listDialog"));
  button(QStringLiteral("listItemButton"), QStringLiteral("Nyt punkt"), drawn(text(QStringLiteral("•"), true)),
         like("listItem"));
  button(QStringLiteral("framesButton"), QStringLiteral("Rammer (dialogboks)"), drawn(shape(Picture::Frames)),
         like("framesDialog"));
  button(QStringLiteral("commentButton"), QStringLiteral("Kommentar"),
         drawn(text(QStringLiteral("!--"), true, false, false, QColor(0x80, 0x80, 0x80))), like("comment"));
  button(QStringLiteral("updateDateButton"), QStringLiteral("Indsæt opdateringsdato"),
         drawn(text(QStringLiteral("31"), true, false, false, QColor(0x80, 0, 0))), like("updateDate"));
  toolBar_->addSeparator();

  button(QStringLiteral("codeBoxButton"), QStringLiteral("Vis/skjul HTML-kodeboks"),
         drawn(text(QStringLiteral("{}"), true, false, false, QColor(0x80, 0, 0x80))), like("codeBox"))
      ->setCheckable(true);
  button(QStringLiteral("settingsButton"), QStringLiteral("Indstillinger"),
         style->standardIcon(QStyle::SP_FileDialogDetailedView), like("showSettings"));
  button(QStringLiteral("publishButton"), QStringLiteral("Overførsel til Internet"),
         style->standardIcon(QStyle::SP_DriveNetIcon), like("mnuWWW"));
  toolBar_->addSeparator();
  button(QStringLiteral("externalBrowserButton"), QStringLiteral("Vis i ekstern browser"),
         style->standardIcon(QStyle::SP_ComputerIcon), like("externalBrowser"));
  button(QStringLiteral("internalBrowserButton"), QStringLiteral("Intern browser"),
         style->standardIcon(QStyle::SP_DesktopIcon), like("internalBrowser"));
}
