// TKestrin: the edit commands on the active document, the find and replace
// dialogs, and the messages the main window's own window receives.
#include "mainwindow/kestrin.h"

#include "commands/code_insertion.h"

#include "component/tivra_component.h"
#include "interaction.h"
#include "mainwindow/file_list.h"
#include "mainwindow/file_panes.h"
#include "qtext.h"
#include "settings/editor_settings.h"
#include "startup/splash.h"

#include <QAction>
#include <QListWidget>
#include <QTabWidget>

#include <cstring>

namespace {

constexpr UINT kRestoreMessage = WM_USER + 2;

UINT findMessageId() {
  static const UINT message = RegisterWindowMessage(FINDMSGSTRING);
  return message;
}

void copyInto(char* buffer, size_t size, const QString& text) {
  const std::string bytes = platform::toCp1252(text);
  const size_t n = std::min(bytes.size(), size - 1);
  std::memcpy(buffer, bytes.data(), n);
  buffer[n] = 0;
}

}  // namespace

LRESULT TKestrin::windowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == findMessageId() && lParam) {
    findReplaceMessage(*reinterpret_cast<FINDREPLACE*>(lParam));
    return 0;
  }
  switch (msg) {
    case kRestoreMessage:
      if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
      return 0;
    case WM_COPYDATA: {
      // A file list from another start of the program, zero-terminated.
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      QString list;
      if (data && data->cbData > 0 && data->lpData) {
        const auto* bytes = static_cast<const char*>(data->lpData);
        list = QString::fromLocal8Bit(bytes, static_cast<qsizetype>(strnlen(bytes, data->cbData)));
      }
      receiveFileList(list);
      return TRUE;
    }
    default:
      return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

// ---------------------------------------------------------------------------
// Find and replace

void TKestrin::findCommand() { showFindDialog(false); }

void TKestrin::replaceCommand() { showFindDialog(true); }

void TKestrin::showFindDialog(bool replace) {
  TTivra* e = activeEditor();
  if (!e) return;
  // One dialog at a time: a new command replaces the open one.
  if (IsWindow(findDialog_)) DestroyWindow(findDialog_);
  findDialog_ = nullptr;
  // A line break in the find text could never match: the first line only.
  if (e->SelLength() > 0) copyInto(findWhat_, sizeof findWhat_, e->SelText().section(QStringLiteral("\r\n"), 0, 0));
  findRecord_ = FINDREPLACE{};
  findRecord_.lStructSize = sizeof findRecord_;
  findRecord_.hwndOwner = hwnd_;
  findRecord_.Flags = FR_DOWN;
  findRecord_.lpstrFindWhat = findWhat_;
  findRecord_.wFindWhatLen = sizeof findWhat_;
  findRecord_.lpstrReplaceWith = replaceWith_;
  findRecord_.wReplaceWithLen = sizeof replaceWith_;
  findDialog_ = replace ? ReplaceText(&findRecord_) : FindText(&findRecord_);
}

void TKestrin::findReplaceMessage(FINDREPLACE& record) {
  if (record.Flags & FR_DIALOGTERM) {
    findDialog_ = nullptr;
    return;
  }
  TTivra* e = activeEditor();
  if (!e || !e->HandleAllocated()) return;
  LPARAM options = SendMessage(e->Handle(), TM_GETFINDOPTIONS, 0, 0) &
                   ~(TIVRA_FIND_WHOLEWORD | TIVRA_FIND_MATCHCASE | TIVRA_FIND_UP | TIVRA_FIND_WRAP);
  if (record.Flags & FR_WHOLEWORD) options |= TIVRA_FIND_WHOLEWORD;
  if (record.Flags & FR_MATCHCASE) options |= TIVRA_FIND_MATCHCASE;
  // Downwards the search goes on once from the top, as the editor's own
  // does; "Find næste" (F3) keeps these options.
  options |= (record.Flags & FR_DOWN) ? TIVRA_FIND_WRAP : TIVRA_FIND_UP;
  SendMessage(e->Handle(), TM_SETFINDOPTIONS, 0, options);
  const QString find = platform::fromCp1252(record.lpstrFindWhat);
  const QString replacement = record.lpstrReplaceWith ? platform::fromCp1252(record.lpstrReplaceWith) : QString();
  if (record.Flags & FR_FINDNEXT) {
    e->Find(find);
  } else if (record.Flags & FR_REPLACE) {
    // The current match is replaced, and the next one found.
    e->Replace(find, replacement);
    e->Find(find);
  } else if (record.Flags & FR_REPLACEALL) {
    const int count = e->ReplaceAll(find, replacement);
    platform::messageBox(this,
                         QStringLiteral("Morvel erstattede %1 tilfælde af \"%2\".").arg(std::max(count, 0)).arg(find),
                         morvel::productName(), MB_OK | MB_ICONINFORMATION);
  }
}

// ---------------------------------------------------------------------------
// Other commands of the main window

void TKestrin::selectAllCommand() {
  FilePane& pane = pagFiler_->currentIndex() == 1 ? *mediaPane_ : *htmlPane_;
  if (pane.fileList()->hasFocusWithin()) {
    pane.fileList()->selectAll();
    return;
  }
  if (TTivra* e = activeEditor()) e->SelectAll();
}

void TKestrin::refreshCommand() {
  // The internal browser reloads its page itself.
  if (internalBrowserShown()) return;
  TTivra* e = activeEditor();
  if (!e || morvel::isEmptyText(*e)) return;
  updateCaptions(active_);
  refreshFilePanesAndProjects();
}

void TKestrin::toggleWordWrap() {
  TTivra* e = activeEditor();
  if (!e) return;
  setEditorWordWrap(*e, !e->WordWrap());
  command(QStringLiteral("wordWrap"))->setChecked(e->WordWrap());
}

void TKestrin::toggleMasterPage(bool on) { masterPage_ = on ? active_ : -1; }
