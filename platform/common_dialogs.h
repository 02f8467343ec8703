// What the common dialogs put through the interaction seam. A request of
// kind OpenFile or SaveFile carries a FileDialogRequest in Request::data,
// Print and PrintSetup a PrintDialogRequest, Colour a ColourDialogRequest,
// Font a FontDialogRequest and BrowseFolder a FolderDialogRequest. The responder
// (the Qt dialog, or a test) reads what the dialog would show, fills in the
// choice and answers nonzero; 0 cancels. The stand-in turns the choice into
// the caller's OPENFILENAME or PRINTDLG record.
#pragma once

#include "win32.h"

#include <QFont>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class QPrinter;

namespace platform {

struct FileDialogRequest {
  // What the dialog shows
  bool save = false;
  bool multiSelect = false;
  bool fileMustExist = false;
  QString title;                               // empty: the dialog's own title
  QString folder;                              // where it starts
  QString suggestedName;                       // the name it offers
  QString defaultExtension;                    // without the dot; empty for none
  QList<QPair<QString, QStringList>> filters;  // description and masks
  int filterIndex = 0;                         // into filters
  bool executablesOnly = false;                // list only files the user may run
  QStringList places;                          // further folders offered beside the start folder

  // The choice: full paths (several only with multiSelect, all in one
  // folder), and the filter in use at the end.
  QStringList chosen;
  int chosenFilter = -1;  // -1: the one it started with
};

struct PrintDialogRequest {
  bool setupOnly = false;       // the print setup dialog
  QPrinter* printer = nullptr;  // set up from the caller's record; the responder changes it
};

// The colour dialog: starts with `colour` and leaves the choice there.
// `flags` are the CC_ options the caller asked for; the custom colours are
// shown in the dialog and come back as the user left them.
struct ColourDialogRequest {
  explicit ColourDialogRequest(COLORREF start = 0, DWORD options = 0) : colour(start), flags(options) {}
  COLORREF colour;
  DWORD flags;
  QList<COLORREF> customColours;
};

// The font dialog: starts with `font` and leaves the choice there.
struct FontDialogRequest {
  QFont font;
};

// The folder dialog: starts in `folder`; the choice is a full path.
struct FolderDialogRequest {
  QString title;
  QString folder;
  QString chosen;
};

namespace detail {
// What CommDlgExtendedError reports for the last common dialog.
void setCommonDialogError(DWORD error);
}  // namespace detail

}  // namespace platform
