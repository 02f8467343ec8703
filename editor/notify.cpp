#include "notify.h"

#include "cp1252.h"

namespace tivra {

const char* const kMessageCaption = "Tivra V2.09 (32-bit)";

std::string cp1252(const char* utf8) { return platform::cp1252FromUtf8(utf8); }

LRESULT notifyParent(const Instance& inst, WORD code) {
  if (!inst.notifyWindow) return 0;
  return SendMessage(inst.notifyWindow, WM_COMMAND, MAKEWPARAM(inst.controlId, code),
                     reinterpret_cast<LPARAM>(inst.window));
}

void notifyTextChanged(const Instance& inst) {
  if (!inst.creating) notifyParent(inst, TN_CHANGE);
}

int showMessage(Instance& inst, const std::string& text, UINT flags) {
  HWND hwnd = inst.window;
  const BOOL wasDisabled = EnableWindow(hwnd, FALSE);
  const int answer = MessageBox(hwnd, text.c_str(), kMessageCaption, flags);
  if (!IsWindow(hwnd)) return answer;
  if (!wasDisabled) EnableWindow(hwnd, TRUE);
  SetFocus(hwnd);
  return answer;
}

void reportOutOfMemory(Instance& inst) {
  if (notifyParent(inst, TN_ERRSPACE) != 0) return;
  showMessage(inst, cp1252("Ikke mere hukommelse"), MB_OK | MB_ICONSTOP);
}

void reportMaxLine(Instance& inst) {
  if (notifyParent(inst, TN_MAXTEXT) == 1) return;
  showMessage(inst, cp1252("Maksimumlinelængden er overskredet"), MB_OK | MB_ICONSTOP);
}

void reportFileError(Instance& inst, const char* utf8Text) {
  HWND hwnd = inst.window;
  // The notify window may close the editor when it is told.
  if (notifyParent(inst, TN_FILEERROR) == 1 || !IsWindow(hwnd)) return;
  showMessage(inst, cp1252(utf8Text), MB_OK | MB_ICONSTOP);
}

}  // namespace tivra
