// A button that shows a colour and lets the user choose another with the
// colour dialog.
#pragma once

#include "win32.h"

#include <QPushButton>

#include <functional>

class TColourButton : public QPushButton {
 public:
  explicit TColourButton(QWidget* parent = nullptr);

  COLORREF Color() const { return colour_; }
  // Shows the colour; OnColorChange is raised only for the user's choice.
  void setColor(COLORREF colour);

  std::function<void(TColourButton& Sender)> OnColorChange;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void choose();

  COLORREF colour_ = 0;
};
