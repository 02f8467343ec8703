// The colour, font and folder dialogs: how a request of kind Colour, Font or
// BrowseFolder is shown when no responder answers it.
#include "common_dialogs.h"
#include "host.h"
#include "interaction.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>

#include <algorithm>

namespace platform {

namespace {

QWidget* ownerOf(const Request& r) {
  if (r.parentWidget) return r.parentWidget;
  QWidget* w = hostWidget(r.owner);
  return w ? w->window() : nullptr;
}

int showColourDialog(Request& r) {
  auto& cr = *static_cast<ColourDialogRequest*>(r.data);
  const auto qtColour = [](COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); };
  const int custom = std::min<int>(static_cast<int>(cr.customColours.size()), QColorDialog::customCount());
  for (int i = 0; i < custom; ++i) QColorDialog::setCustomColor(i, qtColour(cr.customColours[i]));
  const QColor chosen = QColorDialog::getColor(qtColour(cr.colour), ownerOf(r), r.caption);
  // Custom colours the user added are kept also when the dialog is cancelled.
  for (int i = 0; i < custom; ++i) {
    const QColor c = QColorDialog::customColor(i);
    cr.customColours[i] = RGB(c.red(), c.green(), c.blue());
  }
  if (!chosen.isValid()) return 0;
  cr.colour = RGB(chosen.red(), chosen.green(), chosen.blue());
  return 1;
}

int showFontDialog(Request& r) {
  auto& fr = *static_cast<FontDialogRequest*>(r.data);
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, fr.font, ownerOf(r), r.caption);
  if (!ok) return 0;
  fr.font = chosen;
  return 1;
}

int showFolderDialog(Request& r) {
  auto& fr = *static_cast<FolderDialogRequest*>(r.data);
  const QString chosen = QFileDialog::getExistingDirectory(ownerOf(r), fr.title, fr.folder);
  if (chosen.isEmpty()) return 0;
  fr.chosen = chosen;
  return 1;
}

[[maybe_unused]] const bool g_registered = [] {
  setDefaultHandler(RequestKind::Colour, showColourDialog);
  setDefaultHandler(RequestKind::Font, showFontDialog);
  setDefaultHandler(RequestKind::BrowseFolder, showFolderDialog);
  return true;
}();

}  // namespace

}  // namespace platform
