// TfrmKode: the small window that asks for one line of text (a name, a
// title), run modally through the interaction seam.
#pragma once

#include <QString>

#include <optional>

class QWidget;

// The text the user typed and confirmed with OK, trimmed of blanks at its
// ends; none when the user cancelled. The field starts with `proposal`.
std::optional<QString> askForText(QWidget* parent, const QString& caption, const QString& prompt,
                                  const QString& proposal = QString());
