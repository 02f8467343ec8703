// The help line at the bottom of a dialog: while the mouse is over a control,
// or a control has the focus, the line shows that control's help text;
// elsewhere the general hint.
#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class QDialog;
class QLabel;
class QWidget;

class DynamicHelp : public QObject {
 public:
  // The line shows `idle` until a control with a help text is pointed at.
  DynamicHelp(QLabel* line, const QString& idle);

  void add(QWidget* control, const QString& text);
  QString textOf(const QWidget* control) const { return texts_.value(control); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QString textAround(const QWidget* control) const;

  QLabel* line_;
  QString idle_;
  QHash<const QWidget*, QString> texts_;
};

// "Hjælp: Før musen hen over ...": the line's text where no control is.
extern const QString kIdleHelpText;

namespace morvel {

// The help line at a dialog's bottom, named lblHjaelp.
QLabel* helpLine(QDialog* dialog);

// The texts of the help line for the OK and Cancel buttons of a dialog.
extern const QString kOkHelpText;
extern const QString kCancelHelpText;

}  // namespace morvel
