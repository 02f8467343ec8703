// Copy, cut and paste through the clipboard's CF_TEXT, in movable global
// memory as other programs expect it.
#include "editing.h"

#include "entry_points.h"
#include "notify.h"
#include "text_messages.h"
#include "text_store.h"

#include <cstring>
#include <string>

namespace tivra {

namespace {

void reportClipboardError(Instance& inst) {
  if (notifyParent(inst, TN_CLIPBOARDERROR) == 1) return;
  showMessage(inst, "Klippebordsfejl", MB_OK | MB_ICONSTOP);
}

// Closes the clipboard however the exchange ends.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner)) {}
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  bool isOpen() const { return open_; }

 private:
  BOOL open_;
};

HGLOBAL selectionInGlobalMemory(Instance& inst) {
  const TivraRange sel = orderedSelection(inst);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, rangeLength(inst, sel) + 1);
  if (!memory) return nullptr;
  auto* p = static_cast<char*>(GlobalLock(memory));
  if (!p) {
    GlobalFree(memory);
    return nullptr;
  }
  copyRange(inst, sel, p);
  GlobalUnlock(memory);
  return memory;
}

bool putSelection(Instance& inst) {
  HGLOBAL memory = selectionInGlobalMemory(inst);
  if (!memory) return false;
  OpenedClipboard clipboard(inst.window);
  if (!clipboard.isOpen() || !EmptyClipboard() || !SetClipboardData(CF_TEXT, memory)) {
    GlobalFree(memory);
    return false;
  }
  return true;
}

bool takeText(Instance& inst, std::string* text) {
  OpenedClipboard clipboard(inst.window);
  if (!clipboard.isOpen()) return false;
  HANDLE memory = GetClipboardData(CF_TEXT);
  if (!memory) return false;
  const auto* p = static_cast<const char*>(GlobalLock(memory));
  if (!p) return false;
  text->assign(p, strnlen(p, GlobalSize(memory)));
  GlobalUnlock(memory);
  return true;
}

}  // namespace

LRESULT copySelectionToClipboard(Instance& inst) {
  if (!hasSelection(inst) || !commitLineBuffer(inst)) return -1;
  if (putSelection(inst)) return 0;
  reportClipboardError(inst);
  return -1;
}

LRESULT pasteFromClipboard(Instance& inst) {
  if (!IsClipboardFormatAvailable(CF_TEXT)) return -1;
  std::string text;
  if (!takeText(inst, &text)) {
    reportClipboardError(inst);
    return -1;
  }
  HWND hwnd = inst.window;
  const LRESULT result = replaceSelection(inst, text.c_str());
  if (result == 0 && IsWindow(hwnd)) afterCaretMove(inst);
  return result;
}

LRESULT onCopy(Instance& inst) { return copySelectionToClipboard(inst); }

LRESULT onCut(Instance& inst) {
  if (copySelectionToClipboard(inst) != 0) return -1;
  const int32_t line = orderedSelection(inst).StartLine;
  if (!deleteSelectionStep(inst)) return -1;
  afterTextChange(inst, line);
  return 0;
}

LRESULT onPaste(Instance& inst) { return pasteFromClipboard(inst); }

}  // namespace tivra
