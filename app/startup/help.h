// The program's help: Danish HTML pages installed with the program, opened
// in the user's web browser. A page per topic; the keyboard shortcuts have
// help context 340, the settings dialog 80.
#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class QWidget;

namespace morvel::help {

inline constexpr int kKeyboardShortcutsContext = 340;
inline constexpr int kSettingsContext = 80;

// The folder of the help pages: "hjaelp" beside the program, or the
// installed share/morvel/hjaelp, or the copy in the build tree.
QString folder();

QUrl contentsPage();
QUrl pageForContext(int context);
QUrl searchPage();

// Opens a page: in the default browser unless a test put its own opener in
// place. The opener returns false when nothing could be opened. Returns the
// previous opener.
using Opener = std::function<bool(const QUrl&)>;
Opener setOpener(Opener opener);

// Opens the page; a missing page or a failed start gets a message.
bool show(QWidget* parent, const QUrl& page);

}  // namespace morvel::help
