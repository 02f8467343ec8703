// The editor's own file handling: loading a file into the window and the
// may-close question. Saving and the file commands of the menus follow.
#include "entry_points.h"
#include "file_names.h"
#include "notify.h"
#include "text_store.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>
#include <vector>

namespace tivra {

namespace {

constexpr size_t kLoadBlock = 16384;
constexpr char kUntitled[] = "<<Ikke navngivet>>";

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Opens the file for reading; a file that does not exist is created empty.
File openOrCreate(const std::filesystem::path& path) {
  File f(std::fopen(path.c_str(), "rb"));
  if (!f && errno == ENOENT) {
    if (File created{std::fopen(path.c_str(), "ab")}) {
      created.reset();
      f.reset(std::fopen(path.c_str(), "rb"));
    }
  }
  return f;
}

void showNameInCaption(Instance& inst) {
  if ((inst.style & TS_NAMECAPTION) && (inst.style & TS_FILECOMMANDS))
    SetWindowText(inst.window, inst.file.hasName ? inst.file.name.c_str() : kUntitled);
}

void forgetName(Instance& inst) {
  inst.file.hasName = false;
  inst.file.name.clear();
  inst.file.nativeName.clear();
}

// Reads the file block by block into the (cleared) text; the notify window
// sees each block first and may replace it. False when reading fails or the
// arena runs out; the text is then empty.
bool readBlocks(Instance& inst, std::FILE* f, bool* outOfMemory) {
  TextInserter inserter(inst, 1, 0);
  std::vector<char> block(kLoadBlock);
  size_t n;
  while ((n = std::fread(block.data(), 1, block.size(), f)) > 0) {
    char* data = block.data();
    if (inst.notifyWindow) SendMessage(inst.notifyWindow, TM_READPREVIEW, n, reinterpret_cast<LPARAM>(&data));
    if (!data || !inserter.feed(data, n)) {
      *outOfMemory = data != nullptr;
      return false;
    }
  }
  if (std::ferror(f)) return false;
  if (!inserter.finish(nullptr)) {
    *outOfMemory = true;
    return false;
  }
  return true;
}

}  // namespace

bool loadFile(Instance& inst, const char* name, bool keepName) {
  HCURSOR previousCursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  std::error_code error;
  // The name is kept as the file system spells it: names differ by case.
  const std::filesystem::path path = std::filesystem::absolute(nativePath(name), error).lexically_normal();
  clearText(inst);
  File f = error ? File() : openOrCreate(path);
  bool outOfMemory = false;
  const bool ok = f && readBlocks(inst, f.get(), &outOfMemory);
  f.reset();
  if (ok && keepName) {
    inst.file.name = windowsName(path);
    inst.file.nativeName = path.string();
    inst.file.hasName = true;
  } else {
    forgetName(inst);
  }
  setSelection(inst, 1, 0, 1, 0);
  inst.text.firstVisible = LineRef{1, inst.text.firstLine};
  markTextChanged(inst, 1);
  if (ok) inst.modified = static_cast<WORD>(inst.modified & ~1u);
  showNameInCaption(inst);
  textChanged(inst, 1);
  SetCursor(previousCursor);
  HWND hwnd = inst.window;
  if (outOfMemory) reportOutOfMemory(inst);
  // The notify window may have closed the editor while it was told.
  if (IsWindow(hwnd) && !inst.creating) notifyParent(inst, TN_NEWTEXT);
  return ok;
}

LRESULT loadFileMessage(Instance& inst, const char* name) {
  if (!name || !*name) return -1;
  if (!queryClose(inst)) return -1;
  return loadFile(inst, name, true) ? 0 : -1;
}

LRESULT queryClose(Instance& inst) {
  if (notifyParent(inst, TN_GOINGTOCLOSE) != 0) return 0;
  // Without file commands the program keeps the files; there is nothing
  // for the window to save.
  if (!(inst.style & TS_FILECOMMANDS)) return 1;
  const bool changed = (inst.modified & 1) || lineBufferDiffers(inst);
  if (!changed) return 1;
  switch (notifyParent(inst, TN_ASKSAVE)) {
    case 1: return saveFile(inst) ? 1 : 0;
    case 2: return 1;
    case 3: return 0;
    default: break;
  }
  const std::string shown = inst.file.hasName ? inst.file.name : std::string(kUntitled);
  const std::string question =
      cp1252("Filen ") + shown + cp1252(" er ændret.") + "\n" + cp1252("Ønsker du at gemme filen?");
  switch (showMessage(inst, question, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES: return saveFile(inst) ? 1 : 0;
    case IDNO: return 1;
    default: return 0;
  }
}

// Not built yet: saving, the file commands of the menus and the open dialog
// come with the file commands work.

bool saveFile(Instance&) { return false; }

LRESULT saveFileAs(Instance&, const char*) { return 1; }

LRESULT fileCommand(Instance&, UINT) { return 0; }

void askUserAndLoad(Instance&, const char*) {}

}  // namespace tivra
