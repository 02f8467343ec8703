// The open and save dialogs: GetOpenFileName and GetSaveFileName through the
// interaction seam, with QFileDialog as the default. The caller's record is
// read into a FileDialogRequest and the choice written back in the form
// Windows gives it.
#include "common_dialogs.h"
#include "host.h"
#include "interaction.h"
#include "internal.h"
#include "qtext.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <cstring>
#include <string>

namespace platform {

namespace detail {

DWORD g_commonDialogError = 0;

void setCommonDialogError(DWORD error) { g_commonDialogError = error; }

}  // namespace detail

namespace {

BOOL fail(DWORD error) {
  detail::setCommonDialogError(error);
  return FALSE;
}

// "description\0mask;mask\0...\0\0"
QList<QPair<QString, QStringList>> parseFilter(LPCSTR filter) {
  QList<QPair<QString, QStringList>> out;
  if (!filter) return out;
  for (const char* p = filter; *p;) {
    const char* description = p;
    p += std::strlen(p) + 1;
    const char* masks = p;
    p += std::strlen(p);
    QStringList list;
    for (const QString& m : fromCp1252(masks).split(QLatin1Char(';'), Qt::SkipEmptyParts)) list << m.trimmed();
    out.append({fromCp1252(description), list});
    if (*p) break;  // a description without masks ends the list
    ++p;
  }
  return out;
}

FileDialogRequest describe(const OPENFILENAME& ofn, bool save) {
  FileDialogRequest fr;
  fr.save = save;
  fr.multiSelect = !save && (ofn.Flags & OFN_ALLOWMULTISELECT);
  fr.fileMustExist = !save && (ofn.Flags & OFN_FILEMUSTEXIST);
  fr.title = ofn.lpstrTitle ? fromCp1252(ofn.lpstrTitle) : QString();
  fr.filters = parseFilter(ofn.lpstrFilter);
  fr.filterIndex = fr.filters.isEmpty() ? 0
                                        : std::clamp<int>(static_cast<int>(ofn.nFilterIndex) - 1, 0,
                                                          static_cast<int>(fr.filters.size()) - 1);
  fr.defaultExtension = ofn.lpstrDefExt ? fromCp1252(ofn.lpstrDefExt) : QString();
  fr.folder = ofn.lpstrInitialDir && *ofn.lpstrInitialDir ? fromCp1252(ofn.lpstrInitialDir) : QDir::currentPath();
  // A suggested name with a folder starts the dialog in that folder.
  const QString suggested = ofn.lpstrFile && ofn.nMaxFile
                                ? fromCp1252(std::string_view(ofn.lpstrFile, strnlen(ofn.lpstrFile, ofn.nMaxFile)))
                                : QString();
  if (suggested.contains(QLatin1Char('/'))) {
    QFileInfo info(suggested);
    fr.folder = info.absolutePath();
    fr.suggestedName = info.fileName();
  } else {
    fr.suggestedName = suggested;
  }
  return fr;
}

// A name typed without an extension gets the default one, unless an
// existing file to open has exactly that name.
QString withDefaultExtension(const FileDialogRequest& fr, const QString& path) {
  if (fr.defaultExtension.isEmpty()) return path;
  const QString name = QFileInfo(path).fileName();
  if (name.contains(QLatin1Char('.'))) return path;
  if (!fr.save && QFileInfo::exists(path)) return path;
  return path + QLatin1Char('.') + fr.defaultExtension;
}

bool confirmReplace(const OPENFILENAME& ofn, const FileDialogRequest& fr, const QString& path) {
  Request r(RequestKind::MessageBox);
  r.owner = ofn.hwndOwner;
  r.caption = fr.title.isEmpty() ? QStringLiteral("Gem som") : fr.title;
  r.text = QStringLiteral("%1 findes allerede.\nVil du erstatte den?").arg(QDir::toNativeSeparators(path));
  r.flags = MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2;
  return ask(r) == IDYES;
}

// The path in the caller's code page, or false when a character of it has
// no place there (the caller could not open what it was given).
bool toCallerName(const QString& path, std::string* out) {
  *out = toCp1252(path);
  return fromCp1252(*out) == path;
}

void copyTitle(OPENFILENAME& ofn, const std::string& name) {
  detail::copyToBuffer(name, ofn.lpstrFileTitle, ofn.nMaxFileTitle);
}

BOOL storeResult(OPENFILENAME& ofn, const std::string& result, WORD fileOffset, WORD extensionOffset) {
  if (!ofn.lpstrFile || result.size() + 1 > ofn.nMaxFile) {
    // Windows puts the size the buffer needs into its first two bytes.
    if (ofn.lpstrFile && ofn.nMaxFile >= 2) {
      const WORD needed = static_cast<WORD>(std::min<size_t>(result.size() + 1, 0xFFFF));
      std::memcpy(ofn.lpstrFile, &needed, sizeof needed);
    }
    return fail(FNERR_BUFFERTOOSMALL);
  }
  std::memcpy(ofn.lpstrFile, result.data(), result.size());
  ofn.lpstrFile[result.size()] = 0;
  ofn.nFileOffset = fileOffset;
  ofn.nFileExtension = extensionOffset;
  return TRUE;
}

BOOL storeSingle(OPENFILENAME& ofn, const QString& path) {
  std::string full;
  if (!toCallerName(QDir::cleanPath(path), &full) || full.size() > 0xFFFE) return fail(FNERR_INVALIDFILENAME);
  const size_t slash = full.rfind('/');
  const size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = full.rfind('.');
  size_t extensionAt = full.size();  // no extension: the terminating zero
  if (dot != std::string::npos && dot >= nameAt) extensionAt = dot + 1 == full.size() ? 0 : dot + 1;
  if (!storeResult(ofn, full, static_cast<WORD>(nameAt), static_cast<WORD>(extensionAt))) return FALSE;
  copyTitle(ofn, full.substr(nameAt));
  const std::string extension = extensionAt ? full.substr(extensionAt) : std::string();
  const bool differs =
      ofn.lpstrDefExt && QString::compare(fromCp1252(extension), fromCp1252(ofn.lpstrDefExt), Qt::CaseInsensitive) != 0;
  if (differs)
    ofn.Flags |= OFN_EXTENSIONDIFFERENT;
  else
    ofn.Flags &= ~OFN_EXTENSIONDIFFERENT;
  return TRUE;
}

// Several files: "folder\0name\0name\0\0".
BOOL storeSeveral(OPENFILENAME& ofn, const QStringList& paths) {
  const QString folder = QFileInfo(paths.first()).absolutePath();
  std::string result;
  if (!toCallerName(folder, &result)) return fail(FNERR_INVALIDFILENAME);
  result += '\0';
  const WORD firstName = static_cast<WORD>(std::min<size_t>(result.size(), 0xFFFF));
  for (const QString& p : paths) {
    QFileInfo info(p);
    std::string name;
    if (info.absolutePath() != folder || !toCallerName(info.fileName(), &name)) return fail(FNERR_INVALIDFILENAME);
    result += name;
    result += '\0';
  }
  if (!storeResult(ofn, result, firstName, 0)) return FALSE;
  copyTitle(ofn, std::string());
  return TRUE;
}

BOOL runFileDialog(LPOPENFILENAME ofn, bool save) {
  detail::setCommonDialogError(0);
  if (!ofn || ofn->lStructSize < sizeof(OPENFILENAME)) return fail(CDERR_STRUCTSIZE);
  FileDialogRequest start = describe(*ofn, save);
  for (;;) {
    FileDialogRequest fr = start;
    Request r(save ? RequestKind::SaveFile : RequestKind::OpenFile);
    r.owner = ofn->hwndOwner;
    r.caption = fr.title;
    r.data = &fr;
    if (!ask(r) || fr.chosen.isEmpty()) return FALSE;
    QStringList paths;
    for (const QString& p : fr.chosen) paths << withDefaultExtension(fr, QFileInfo(p).absoluteFilePath());
    if (save && (ofn->Flags & OFN_OVERWRITEPROMPT) && QFileInfo::exists(paths.first()) &&
        !confirmReplace(*ofn, fr, paths.first())) {
      // Back to the dialog, where the user left it.
      start.folder = QFileInfo(paths.first()).absolutePath();
      start.suggestedName = QFileInfo(paths.first()).fileName();
      continue;
    }
    for (const QString& p : paths) {
      if (QFileInfo(p).isDir()) return fail(FNERR_INVALIDFILENAME);  // a folder is not a file to open or save
    }
    if (fr.chosenFilter >= 0) ofn->nFilterIndex = static_cast<DWORD>(fr.chosenFilter + 1);
    if (paths.size() > 1 && fr.multiSelect) return storeSeveral(*ofn, paths);
    return storeSingle(*ofn, paths.first());
  }
}

// ---------------------------------------------------------------------------
// The Qt dialog

QString qtMask(const QString& mask) {
  // "*.*" means every file on Windows, also those without a dot.
  return mask == QLatin1String("*.*") ? QStringLiteral("*") : mask;
}

int showFileDialog(Request& r) {
  auto& fr = *static_cast<FileDialogRequest*>(r.data);
  QWidget* owner = hostWidget(r.owner);
  QFileDialog dialog(owner ? owner->window() : nullptr, fr.title, fr.folder);
  dialog.setAcceptMode(fr.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(fr.multiSelect     ? QFileDialog::ExistingFiles
                     : fr.fileMustExist ? QFileDialog::ExistingFile
                                        : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);  // the stand-in asks, as Windows does
  QStringList nameFilters;
  for (const auto& [description, masks] : fr.filters) {
    QStringList patterns;
    for (const QString& m : masks) patterns << qtMask(m);
    nameFilters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  if (!nameFilters.isEmpty()) {
    dialog.setNameFilters(nameFilters);
    dialog.selectNameFilter(nameFilters.value(fr.filterIndex));
  }
  if (fr.executablesOnly) {
    // Only our own dialog can leave out the files that cannot be run.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFilter(QDir::AllDirs | QDir::Files | QDir::Executable | QDir::NoDotAndDotDot);
  }
  if (!fr.places.isEmpty()) {
    QList<QUrl> sidebar = dialog.sidebarUrls();
    for (const QString& place : fr.places) sidebar << QUrl::fromLocalFile(place);
    dialog.setSidebarUrls(sidebar);
  }
  if (!fr.suggestedName.isEmpty()) dialog.selectFile(fr.suggestedName);
  if (dialog.exec() != QDialog::Accepted) return 0;
  fr.chosen = dialog.selectedFiles();
  fr.chosenFilter = static_cast<int>(nameFilters.indexOf(dialog.selectedNameFilter()));
  return fr.chosen.isEmpty() ? 0 : 1;
}

[[maybe_unused]] const bool g_registered = [] {
  setDefaultHandler(RequestKind::OpenFile, showFileDialog);
  setDefaultHandler(RequestKind::SaveFile, showFileDialog);
  return true;
}();

}  // namespace

}  // namespace platform

BOOL GetOpenFileName(LPOPENFILENAME ofn) { return platform::runFileDialog(ofn, false); }

BOOL GetSaveFileName(LPOPENFILENAME ofn) { return platform::runFileDialog(ofn, true); }

DWORD CommDlgExtendedError() { return platform::detail::g_commonDialogError; }
