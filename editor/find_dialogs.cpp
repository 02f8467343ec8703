// The modeless find and replace dialogs of an editor, or the one shared by
// the editors of a group window: opening them, their requests (the
// registered message "commdlg_FindReplace"), and closing them.
#include "search.h"

#include "editing.h"
#include "entry_points.h"
#include "notify.h"
#include "text_store.h"

#include <algorithm>
#include <cstring>

namespace tivra {

namespace {

constexpr char kEditorProperty[] = "TivraProp";
constexpr WPARAM kFindDialogPosition = 1;

// What a dialog needs while it lives: its record and the record's buffers.
struct FindDialogData {
  FINDREPLACE record;
  char findWhat[TIVRA_MAX_FIND_TEXT + 1];
  char replaceWith[TIVRA_MAX_FIND_TEXT + 1];
};

FindDialogData* dataOf(const SearchState& s) { return static_cast<FindDialogData*>(s.dialogData); }

void placeDialog(HWND dialog, LONG position) {
  if (position == kDefaultDialogPosition) return;
  SetWindowPos(dialog, nullptr, static_cast<SHORT>(LOWORD(position)), static_cast<SHORT>(HIWORD(position)), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
}

// Puts the dialog where it was last time, and remembers where it moves.
UINT_PTR CALLBACK findDialogHook(HWND dialog, UINT msg, WPARAM, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    const auto* record = reinterpret_cast<const FINDREPLACE*>(lParam);
    const auto editor = reinterpret_cast<HWND>(record->lCustData);
    SetProp(dialog, kEditorProperty, editor);
    if (const Instance* inst = instanceOf(editor)) placeDialog(dialog, inst->dialogPositions[kFindDialogPosition]);
    return TRUE;
  }
  if (msg == WM_MOVE) {
    if (auto editor = static_cast<HWND>(GetProp(dialog, kEditorProperty)))
      SendMessage(editor, TM_SETDIALOGPOS, kFindDialogPosition, lParam);
  }
  return 0;
}

DWORD dialogFlags(WORD options) {
  DWORD flags = FR_ENABLEHOOK;
  if (!(options & TIVRA_FIND_UP)) flags |= FR_DOWN;
  if (options & TIVRA_FIND_WHOLEWORD) flags |= FR_WHOLEWORD;
  if (options & TIVRA_FIND_MATCHCASE) flags |= FR_MATCHCASE;
  return flags;
}

void copyText(char* dest, const char* text) {
  const size_t n = std::min<size_t>(std::strlen(text), TIVRA_MAX_FIND_TEXT);
  std::memcpy(dest, text, n);
  dest[n] = 0;
}

// The dialog's choices become the search settings; closing keeps only the
// direction, whole-word and case flags.
void takeChoices(SearchState& s, const FINDREPLACE& record) {
  WORD options = s.options & TIVRA_FIND_WRAP;
  if (!(record.Flags & FR_DOWN)) options |= TIVRA_FIND_UP;
  if (record.Flags & FR_WHOLEWORD) options |= TIVRA_FIND_WHOLEWORD;
  if (record.Flags & FR_MATCHCASE) options |= TIVRA_FIND_MATCHCASE;
  s.options = options;
  if (record.Flags & FR_DIALOGTERM) return;
  copyText(s.findText, record.lpstrFindWhat);
  s.findTextPresent = s.findText[0] != 0;
  if (record.lpstrReplaceWith) copyText(s.replaceText, record.lpstrReplaceWith);
}

void copySettings(const SearchState& from, SearchState& to) {
  std::memcpy(to.findText, from.findText, sizeof to.findText);
  std::memcpy(to.replaceText, from.replaceText, sizeof to.replaceText);
  to.options = from.options;
  to.findTextPresent = from.findTextPresent;
}

// Forgets the dialog; destroys it too unless it is closing by itself.
void closeDialog(SearchState& s, bool destroy) {
  const HWND dialog = s.findDialog;
  FindDialogData* data = dataOf(s);
  s.findDialog = nullptr;
  s.dialogData = nullptr;
  s.replaceDialog = false;
  if (destroy && IsWindow(dialog)) DestroyWindow(dialog);
  delete data;
}

void replaceFromDialog(Instance& inst) {
  const HWND hwnd = inst.window;
  replaceSelectedMatch(inst);
  if (!IsWindow(hwnd)) return;
  // The next match, downwards and round the end of the text.
  const WORD options = inst.search.options;
  inst.search.options = static_cast<WORD>((options & ~TIVRA_FIND_UP) | TIVRA_FIND_WRAP);
  findNext(inst, nullptr);
  if (IsWindow(hwnd)) inst.search.options = options;
}

void replaceAllFromDialog(Instance& inst) {
  const HWND hwnd = inst.window;
  const long count = replaceAll(inst);
  if (!IsWindow(hwnd) || count < 0) return;
  if (count == 0) {
    reportNotFound(inst, 0);
    return;
  }
  const LRESULT answer =
      inst.notifyWindow ? SendMessage(inst.notifyWindow, TM_FINDNOTIFY, reinterpret_cast<WPARAM>(hwnd), count) : 0;
  if (answer != 0 || !IsWindow(hwnd)) return;
  const std::string text = count == 1 ? cp1252("Et tilfælde erstattet") : withCount("%ld tilfælde erstattet", count);
  showMessage(inst, text, MB_OK | MB_ICONINFORMATION);
}

// Runs a find, replace or replace-all request of the dialog on an editor.
void runRequest(Instance& inst, DWORD flags, HWND dialog) {
  const HWND hwnd = inst.window;
  if (flags & FR_FINDNEXT)
    findNext(inst, nullptr);
  else if ((flags & FR_REPLACE) && !readOnly(inst))
    replaceFromDialog(inst);
  else if ((flags & FR_REPLACEALL) && !readOnly(inst))
    replaceAllFromDialog(inst);
  if (IsWindow(hwnd) && IsWindow(dialog)) SetFocus(dialog);
}

bool isOurRecord(const SearchState& s, LPARAM lParam) {
  return s.dialogData && lParam == reinterpret_cast<LPARAM>(&dataOf(s)->record);
}

}  // namespace

void openFindDialog(Instance& inst, bool replace) {
  GroupInstance* group = inst.group ? groupInstanceOf(inst.group) : nullptr;
  SearchState& s = group ? group->search : inst.search;
  if (s.findDialog && s.replaceDialog == replace && IsWindow(s.findDialog)) {
    SetFocus(s.findDialog);
    return;
  }
  if (s.findDialog) closeDialog(s, true);
  if (group) copySettings(inst.search, s);

  auto* data = new FindDialogData{};
  copyText(data->findWhat, s.findText);
  copyText(data->replaceWith, s.replaceText);
  FINDREPLACE& r = data->record;
  r.lStructSize = sizeof r;
  r.hwndOwner = group ? group->window : inst.window;
  r.Flags = dialogFlags(s.options);
  r.lpstrFindWhat = data->findWhat;
  r.wFindWhatLen = sizeof data->findWhat;
  if (replace) {
    r.lpstrReplaceWith = data->replaceWith;
    r.wReplaceWithLen = sizeof data->replaceWith;
  }
  r.lCustData = reinterpret_cast<LPARAM>(inst.window);
  r.lpfnHook = findDialogHook;

  const HWND dialog = replace ? ReplaceText(&r) : FindText(&r);
  if (!dialog) {
    delete data;
    return;
  }
  s.findDialog = dialog;
  s.replaceDialog = replace;
  s.dialogData = data;
}

LRESULT findReplaceDialogMessage(Instance& inst, WPARAM, LPARAM lParam) {
  SearchState& s = inst.search;
  if (!isOurRecord(s, lParam)) return 0;
  const FINDREPLACE& record = dataOf(s)->record;
  takeChoices(s, record);
  if (record.Flags & FR_DIALOGTERM) {
    closeDialog(s, false);
    SetFocus(inst.window);
    return 0;
  }
  runRequest(inst, record.Flags, s.findDialog);
  return 0;
}

LRESULT groupFindReplaceDialogMessage(GroupInstance& group, WPARAM, LPARAM lParam) {
  SearchState& s = group.search;
  if (!isOurRecord(s, lParam)) return 0;
  const FINDREPLACE& record = dataOf(s)->record;
  takeChoices(s, record);
  Instance* member = instanceOf(group.current);
  if (record.Flags & FR_DIALOGTERM) {
    closeDialog(s, false);
    if (member) SetFocus(member->window);
    return 0;
  }
  if (!member) return 0;
  // The shared settings go to the member that searches.
  copySettings(s, member->search);
  runRequest(*member, record.Flags, s.findDialog);
  return 0;
}

void enableFindDialog(Instance& inst, bool enable) {
  if (inst.search.findDialog) EnableWindow(inst.search.findDialog, enable ? TRUE : FALSE);
}

void destroyFindDialog(Instance& inst) {
  if (inst.search.findDialog) closeDialog(inst.search, true);
}

void destroyGroupFindDialog(GroupInstance& group) {
  if (group.search.findDialog) closeDialog(group.search, true);
}

}  // namespace tivra
