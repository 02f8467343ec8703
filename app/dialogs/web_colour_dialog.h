// The web colour window TWebCol, the component TWebColorDialog that runs it
// and hands back the chosen colour and its code, and the colour button
// TWebColorButton of the element dialogs.
#pragma once

#include "dialogs/web_colour.h"

#include <QDialog>
#include <QPushButton>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QSlider;
class QToolButton;

namespace morvel {
class RegIniFile;
}

// A grid of colour cells; a click on a cell, or the focus coming to it from
// the keyboard, selects the cell and picks its colour.
class ColourCells : public QWidget {
 public:
  ColourCells(const std::vector<morvel::ColorValue>& colours, int columns, QWidget* parent);

  morvel::ColorValue colour(std::size_t cell) const { return colours_[cell]; }
  void setColour(std::size_t cell, morvel::ColorValue colour);
  std::size_t selected() const { return selected_; }
  QToolButton* cell(std::size_t i) const { return cells_[i]; }

  std::function<void(morvel::ColorValue)> picked;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void select(std::size_t cell);

  std::vector<morvel::ColorValue> colours_;
  std::vector<QToolButton*> cells_;
  std::size_t selected_ = 0;
};

class TWebCol : public QDialog {
 public:
  explicit TWebCol(QWidget* parent, bool showHelpButton = false);

  // A colour from outside the track bars: its steps when it is a web
  // colour, otherwise "-" everywhere and a neutral swatch.
  void showColour(morvel::ColorValue colour);
  // The colour last shown or built on the track bars.
  morvel::ColorValue colour() const { return colour_; }
  QString code() const;

  void setUserColours(const morvel::UserColours& colours);
  morvel::UserColours userColours() const;

  QSlider* tbRed = nullptr;
  QSlider* tbGreen = nullptr;
  QSlider* tbBlue = nullptr;
  QLabel* lblRedValue = nullptr;
  QLabel* lblGreenValue = nullptr;
  QLabel* lblBlueValue = nullptr;
  QLabel* lblColor = nullptr;
  QLabel* lblHTMLcode = nullptr;
  ColourCells* ColorPick1 = nullptr;
  ColourCells* UserColorPick1 = nullptr;
  QPushButton* cmdAdd = nullptr;
  QPushButton* cmdOk = nullptr;
  QPushButton* cmdAnnuller = nullptr;

 private:
  void buildControls(bool showHelpButton);
  void trackBarMoved();
  void showSwatch(const QColor& colour);

  morvel::ColorValue colour_ = morvel::kWhite;
  // Keeps the track bars' signals from rebuilding the colour while a picked
  // colour sets them.
  bool showing_ = false;
};

class TWebColorDialog {
 public:
  // The chosen colour's code; on start, the colour the window shows first.
  QString Color = QStringLiteral("#FFFFFF");
  bool ShowHelp = false;
  // Where the user colours are kept (userColoursSection).
  std::string Key = "Software\\UserColors";
  HKEY RootKey = HKEY_CURRENT_USER;

  // True only for OK, which also stores the user colours.
  bool Execute(QWidget* parent, morvel::RegIniFile& store);
  morvel::ColorValue colour() const { return colour_; }

 private:
  morvel::ColorValue colour_ = morvel::kWhite;
};

// What opens a colour button's dialog.
enum class TActivationEvent { aeClick, aeDoubleClick };

// A button that shows its colour and lets the user choose another one, in
// the web colour window or in the standard colour dialog. Both dialogs show
// the user colours kept under Key and RootKey and keep them on OK.
class TWebColorButton : public QPushButton {
 public:
  TWebColorButton(morvel::RegIniFile& store, QWidget* parent);

  morvel::ColorValue Color() const { return colour_; }
  void setColor(morvel::ColorValue colour);

  // True: the web colour window opens; Shift held chooses the other dialog.
  bool WebColorDialog = true;
  std::string Key = "Software\\Morvel\\UserColors";
  HKEY RootKey = HKEY_CURRENT_USER;
  // The standard colour dialog's options; cdShowHelp also gives the web
  // colour window its help button.
  morvel::TColorDialogOptions Options = 0;
  TActivationEvent ActivationEvent = TActivationEvent::aeClick;
  std::function<void()> OnColorChange;

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void chooseColour();
  std::optional<morvel::ColorValue> chooseInStandardDialog();

  morvel::RegIniFile& store_;
  morvel::ColorValue colour_ = 0;
};
