// The editor's own file handling: loading and saving, the file commands of
// the menus (new, open, revert, save, save as), the open and save dialogs,
// and the may-close question.
#include "entry_points.h"
#include "file_names.h"
#include "notify.h"
#include "text_store.h"
#include "undo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace tivra {

namespace {

namespace fs = std::filesystem;

constexpr size_t kLoadBlock = 16384;
constexpr size_t kSaveBlock = 8184;
constexpr char kUntitled[] = "<<Ikke navngivet>>";

// ---------------------------------------------------------------------------
// Names

void showNameInCaption(Instance& inst) {
  if ((inst.style & TS_NAMECAPTION) && (inst.style & TS_FILECOMMANDS))
    SetWindowText(inst.window, inst.file.hasName ? inst.file.name.c_str() : kUntitled);
}

void forgetName(Instance& inst) {
  inst.file.hasName = false;
  inst.file.name.clear();
  inst.file.nativeName.clear();
}

void takeName(Instance& inst, const fs::path& path) {
  inst.file.name = windowsName(path);
  inst.file.nativeName = path.string();
  inst.file.hasName = true;
}

fs::path fullPath(const char* name, std::error_code& error) {
  return fs::absolute(nativePath(name), error).lexically_normal();
}

// ---------------------------------------------------------------------------
// Loading

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Opens the file for reading; a file that does not exist is created empty.
File openOrCreate(const fs::path& path) {
  File f(std::fopen(path.c_str(), "rb"));
  if (!f && errno == ENOENT) {
    if (File created{std::fopen(path.c_str(), "ab")}) {
      created.reset();
      f.reset(std::fopen(path.c_str(), "rb"));
    }
  }
  return f;
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
  inst.text.longLinesLoaded = inserter.longLines();
  return true;
}

// A text that starts afresh (loaded or new): caret and top at line 1, the
// text unchanged since it started.
void startAfresh(Instance& inst, bool unchanged) {
  setSelection(inst, 1, 0, 1, 0);
  inst.text.firstVisible = LineRef{1, inst.text.firstLine};
  markTextChanged(inst, 1);
  if (unchanged) inst.modified = static_cast<WORD>(inst.modified & ~1u);
  showNameInCaption(inst);
  textChanged(inst, 1);
}

// The name is kept as the file system spells it: on this platform names
// that differ only in case are different files.
bool loadPath(Instance& inst, const fs::path& path, bool keepName) {
  HCURSOR previousCursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  clearText(inst);
  File f = path.empty() ? File() : openOrCreate(path);
  bool outOfMemory = false;
  const bool ok = f && readBlocks(inst, f.get(), &outOfMemory);
  f.reset();
  if (ok && keepName)
    takeName(inst, path);
  else
    forgetName(inst);
  startAfresh(inst, ok);
  SetCursor(previousCursor);
  HWND hwnd = inst.window;
  if (outOfMemory) reportOutOfMemory(inst);
  // The notify window may have closed the editor while it was told.
  if (IsWindow(hwnd) && !inst.creating) notifyParent(inst, TN_NEWTEXT);
  return ok;
}

// ---------------------------------------------------------------------------
// Saving
//
// The text goes to a new file beside the old one, which is flushed to the
// disk and then renamed over the old one: a save that fails half-way (a
// full disk, an I/O error) leaves the old file as it was.

enum class SaveError { None, CannotCreate, CannotWrite };

bool writeAll(int fd, const char* data, size_t length) {
  while (length > 0) {
    const ssize_t n = ::write(fd, data, length);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    length -= static_cast<size_t>(n);
  }
  return true;
}

// The lines with the line end between them and none after the last, nor
// after a piece of a long line, in blocks of at most 8184 bytes (a longer
// line goes out on its own).
bool writeLines(const Instance& inst, int fd) {
  const std::string_view lineEnd = savedLineEnd(inst);
  std::string block;
  block.reserve(kSaveBlock + TIVRA_MAX_INSERTED_LINE + lineEnd.size());
  for (LineHandle h = inst.text.firstLine; h; h = nextLine(h)) {
    const size_t length = static_cast<size_t>(lineLength(h));
    const bool ends = nextLine(h) && !continues(inst, h);
    const size_t piece = length + (ends ? lineEnd.size() : 0);
    if (!block.empty() && block.size() + piece > kSaveBlock) {
      if (!writeAll(fd, block.data(), block.size())) return false;
      block.clear();
    }
    block.append(lineText(h), length);
    if (ends) block += lineEnd;
  }
  return block.empty() || writeAll(fd, block.data(), block.size());
}

// The new file until it has taken the old one's place; removed if it never
// does.
class TemporaryFile {
 public:
  // Creates a file with an unused name beside `target`, with the mode a new
  // file gets (the umask applies).
  explicit TemporaryFile(const fs::path& target) {
    std::string base = target.filename().string();
    if (base.size() > 200) base.resize(200);  // room for the affixes within the name limit
    std::random_device random;
    for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
      char suffix[16];
      std::snprintf(suffix, sizeof suffix, ".%08x~", static_cast<unsigned>(random()));
      path_ = target.parent_path() / ("." + base + suffix);
      fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ < 0 && errno != EEXIST) break;
    }
  }
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!placed_ && fd_ != kNeverOpened) ::unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool created() const { return fd_ >= 0; }
  int fd() const { return fd_; }

  // Flushes it to the disk, closes it and puts it in the target's place.
  bool replace(const fs::path& target) {
    const bool flushed = ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = kClosed;
    if (!flushed || !closed || ::rename(path_.c_str(), target.c_str()) != 0) return false;
    placed_ = true;
    return true;
  }

 private:
  static constexpr int kNeverOpened = -1;
  static constexpr int kClosed = -2;
  fs::path path_;
  int fd_ = kNeverOpened;
  bool placed_ = false;
};

// Writing through a symbolic link writes the file it names; the link stays.
fs::path resolveLink(const fs::path& path) {
  std::error_code error;
  if (!fs::is_symlink(path, error)) return path;
  const fs::path resolved = fs::canonical(path, error);
  return error ? path : resolved;
}

void syncFolder(const fs::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

SaveError saveText(const Instance& inst, const fs::path& requested) {
  const fs::path target = resolveLink(requested);
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  // What could not be opened for writing in place is not replaced either.
  if (exists && (S_ISDIR(old.st_mode) || ::access(target.c_str(), W_OK) != 0)) return SaveError::CannotCreate;
  TemporaryFile file(target);
  if (!file.created()) return SaveError::CannotCreate;
  if (exists) {
    // The replacement keeps the old file's owner (where allowed) and mode.
    if (::fchown(file.fd(), old.st_uid, old.st_gid) != 0) old.st_mode &= ~static_cast<mode_t>(S_ISUID | S_ISGID);
    ::fchmod(file.fd(), old.st_mode & 07777);
  }
  if (!writeLines(inst, file.fd()) || !file.replace(target)) return SaveError::CannotWrite;
  syncFolder(target.parent_path());
  return SaveError::None;
}

// TN_FILEERROR; unless the notify window answers 1, the message box.
void reportSaveError(Instance& inst, SaveError error) {
  reportFileError(inst,
                  error == SaveError::CannotCreate ? "Kan ikke åbne fil til skrivning" : "Kan ikke skrive til fil");
}

// Saves the text to a file, emptying the undo buffer first. False when it
// failed (and was reported) or the caret line could not be stored.
bool writeTextTo(Instance& inst, const fs::path& path) {
  if (!commitLineBuffer(inst)) return false;
  emptyUndoBuffer(inst);
  const SaveError error = saveText(inst, path);
  if (error == SaveError::None) return true;
  reportSaveError(inst, error);
  return false;
}

// ---------------------------------------------------------------------------
// The open and save dialogs

// The filter of TM_SETFILTER ("description/mask/...", "//" for a "/"
// inside a part) as the dialog takes it: "description\0mask\0...\0\0".
std::string dialogFilter(const std::string& filter) {
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < filter.size(); ++i) {
    if (filter[i] != '/')
      parts.back() += filter[i];
    else if (i + 1 < filter.size() && filter[i + 1] == '/')
      parts.back() += filter[i++];
    else
      parts.emplace_back();
  }
  std::string out;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].empty() || parts[i + 1].empty()) continue;
    out += parts[i] + '\0' + parts[i + 1] + '\0';
  }
  return out.empty() ? out : out + '\0';
}

enum class Choice { Chosen, Cancelled, Failed };

Choice askFileName(Instance& inst, bool save, const std::string& suggested, fs::path* chosen) {
  const std::string filter = dialogFilter(inst.file.filter);
  std::vector<char> file(4096, 0);
  suggested.copy(file.data(), file.size() - 1);
  OPENFILENAME ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = inst.window;
  ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = inst.file.dialogFolder.c_str();
  ofn.lpstrDefExt = inst.file.defaultExtension.empty() ? nullptr : inst.file.defaultExtension.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | (save ? OFN_OVERWRITEPROMPT : 0);
  const BOOL ok = save ? GetSaveFileName(&ofn) : GetOpenFileName(&ofn);
  if (!ok) return CommDlgExtendedError() ? Choice::Failed : Choice::Cancelled;
  std::error_code error;
  *chosen = fullPath(file.data(), error);
  if (error) return Choice::Failed;
  // The next dialog starts where this one ended.
  inst.file.dialogFolder = windowsName(chosen->parent_path());
  return Choice::Chosen;
}

// Without a name, or for "Ge&m som ...", the save dialog chooses one.
bool save(Instance& inst, bool askName) {
  fs::path path = inst.file.nativeName;
  if (askName || !inst.file.hasName) {
    switch (askFileName(inst, true, inst.file.hasName ? inst.file.name : std::string(), &path)) {
      case Choice::Chosen:
        break;
      case Choice::Cancelled:
        return false;
      case Choice::Failed:
        reportSaveError(inst, SaveError::CannotCreate);
        return false;
    }
  }
  HWND hwnd = inst.window;
  if (!writeTextTo(inst, path)) return false;
  if (!IsWindow(hwnd)) return true;
  takeName(inst, path);
  inst.modified = static_cast<WORD>(inst.modified & ~1u);
  showNameInCaption(inst);
  return true;
}

LRESULT newText(Instance& inst) {
  if (!queryClose(inst)) return 0;
  clearText(inst);
  forgetName(inst);
  inst.layout.horzScrollPos = 0;
  startAfresh(inst, true);
  notifyParent(inst, TN_NEWTEXT);
  return 0;
}

LRESULT openFile(Instance& inst) {
  if (!queryClose(inst)) return 0;
  fs::path path;
  if (askFileName(inst, false, std::string(), &path) == Choice::Chosen) loadPath(inst, path, true);
  return 0;
}

LRESULT revert(Instance& inst) {
  if (!inst.file.hasName || (inst.style & TS_READONLY)) return 0;
  loadPath(inst, inst.file.nativeName, true);
  return 0;
}

}  // namespace

bool loadFile(Instance& inst, const char* name, bool keepName) {
  std::error_code error;
  const fs::path path = fullPath(name, error);
  return loadPath(inst, error ? fs::path() : path, keepName);
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
    case 1:
      return saveFile(inst) ? 1 : 0;
    case 2:
      return 1;
    case 3:
      return 0;
    default:
      break;
  }
  const std::string shown = inst.file.hasName ? inst.file.name : std::string(kUntitled);
  const std::string question =
      cp1252("Filen ") + shown + cp1252(" er ændret.") + "\n" + cp1252("Ønsker du at gemme filen?");
  switch (showMessage(inst, question, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
      return saveFile(inst) ? 1 : 0;
    case IDNO:
      return 1;
    default:
      return 0;
  }
}

bool saveFile(Instance& inst) { return save(inst, false); }

LRESULT saveFileAs(Instance& inst, const char* name) {
  if (!name || !*name) return 1;
  std::error_code error;
  const fs::path path = fullPath(name, error);
  if (error) {
    reportSaveError(inst, SaveError::CannotCreate);
    return 1;
  }
  return writeTextTo(inst, path) ? 0 : 1;
}

LRESULT fileCommand(Instance& inst, UINT id) {
  if (!(inst.style & TS_FILECOMMANDS)) return 0;
  switch (id) {
    case TCMD_NEW:
      return newText(inst);
    case TCMD_OPEN:
      return openFile(inst);
    case TCMD_REVERT:
      return revert(inst);
    case TCMD_SAVE:
      save(inst, false);
      return 0;
    case TCMD_SAVEAS:
      save(inst, true);
      return 0;
    default:
      return 0;
  }
}

void askUserAndLoad(Instance& inst, const char* suggestedName) {
  fs::path path;
  if (askFileName(inst, false, suggestedName ? suggestedName : "", &path) == Choice::Chosen)
    loadPath(inst, path, true);
  else
    showNameInCaption(inst);
}

}  // namespace tivra
