// An up-down control beside a number field: its arrows step the number in
// the field within a range, and its position is read from the field.
#pragma once

#include <QWidget>

class QLineEdit;

class TUpDown : public QWidget {
 public:
  TUpDown(QLineEdit* associate, int min, int max, QWidget* parent = nullptr);

  int Min() const { return min_; }
  int Max() const { return max_; }
  // The number in the field, brought into the range; while the field holds
  // no number, the last position it held.
  int Position() const;
  void setPosition(int position);

 private:
  void step(int delta);

  QLineEdit* associate_;
  int min_;
  int max_;
  mutable int last_;
};
