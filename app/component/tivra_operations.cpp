// TTivra: the operations, each carried out by the editor's messages.
#include "component/tivra_component.h"

#include "qtext.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int kMaxFindText = 125;
constexpr int kLargestLineParameter = 65535;

// The name as the editor's Windows-1252 bytes, or false when it has
// characters that the code page lacks: a name spelled with "?" in their
// place could open or create another file.
bool fileNameBytes(const QString& name, std::string& bytes) {
  bytes = platform::toCp1252(name);
  return platform::fromCp1252(bytes) == name;
}

}  // namespace

bool TTivra::CanUndo() const { return Send(EM_CANUNDO, 0) != 0; }
bool TTivra::CanRedo() const { return Send(EM_CANUNDO, 1) != 0; }
void TTivra::Undo() { Send(TM_UNDO, 0); }
void TTivra::Redo() { Send(TM_UNDO, 1); }
void TTivra::Cut() { Send(WM_CUT); }
void TTivra::Copy() { Send(WM_COPY); }
void TTivra::Paste() { Send(WM_PASTE); }
void TTivra::ClearSelection() { Send(WM_CLEAR, 0); }
void TTivra::ClearAll() { Send(WM_CLEAR, 1); }
void TTivra::EmptyUndoBuffer() { Send(EM_EMPTYUNDOBUFFER); }
void TTivra::SelectAll() { Send(WM_COMMAND, MAKEWPARAM(TCMD_SELECTALL, 0)); }
void TTivra::FindDialog() { Send(WM_COMMAND, MAKEWPARAM(TCMD_FIND, 0)); }
void TTivra::FindNext() { Send(WM_COMMAND, MAKEWPARAM(TCMD_FINDNEXT, 0)); }
void TTivra::ReplaceDialog() { Send(WM_COMMAND, MAKEWPARAM(TCMD_REPLACE, 0)); }
void TTivra::GotoLineDialog() { Send(WM_COMMAND, MAKEWPARAM(TCMD_GOTOLINE, 0)); }
void TTivra::PrintText() { Send(WM_COMMAND, MAKEWPARAM(TCMD_PRINT, 0)); }
void TTivra::PrintSetup() { Send(WM_COMMAND, MAKEWPARAM(TCMD_PRINTSETUP, 0)); }
void TTivra::NewText() { Send(WM_COMMAND, MAKEWPARAM(TCMD_NEW, 0)); }

void TTivra::GetSelection() {
  TivraRange range = range_;
  if (HandleAllocated() && Send(TM_GETSEL, 0, reinterpret_cast<LPARAM>(&range)) == 0) range_ = range;
}

void TTivra::SetSelection() {
  TivraRange range = range_;
  Send(TM_SETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

int TTivra::SelLength() const { return static_cast<int>(Send(TM_GETSELLENGTH)); }

QString TTivra::SelText() const { return platform::fromCp1252(SelTextBytes()); }

std::string TTivra::SelTextBytes() const {
  if (!HandleAllocated()) return selText_;
  const LRESULT length = Send(TM_GETSELLENGTH);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  Send(TM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

void TTivra::setSelText(const QString& text) {
  if (HandleAllocated())
    InsertText(text);
  else
    selText_ = platform::toCp1252(text);
}

int TTivra::LineCount() const { return static_cast<int>(Send(EM_GETLINECOUNT)); }

int TTivra::LineLength(int line) const { return static_cast<int>(Send(EM_LINELENGTH, 0, line)); }

QString TTivra::GetLineText(int line) const { return platform::fromCp1252(GetLineBytes(line)); }

std::string TTivra::GetLineBytes(int line) const {
  if (!HandleAllocated()) return std::string();
  std::vector<char> buffer(TIVRA_LINE_BUFFER, '\0');
  WPARAM which = static_cast<WPARAM>(line);
  // The editor reads larger (and meaningless) numbers from the buffer.
  if (line <= 0 || line > kLargestLineParameter) {
    const int32_t number = line;
    std::memcpy(buffer.data(), &number, sizeof number);
    which = 0;
  }
  const LRESULT length = Send(EM_GETLINE, which, reinterpret_cast<LPARAM>(buffer.data()));
  return std::string(buffer.data(), static_cast<size_t>(std::clamp<LRESULT>(length, 0, TIVRA_LINE_BUFFER)));
}

bool TTivra::Modified() const { return Send(EM_GETMODIFY, static_cast<WPARAM>(modifiedBit_)) != 0; }

void TTivra::SetModified(bool modified) { Send(EM_SETMODIFY, modified ? 1 : 0, modifiedBit_); }

void TTivra::InsertText(const QString& text) { InsertBytes(platform::toCp1252(text)); }

void TTivra::InsertBytes(const std::string& text) {
  if (!HandleAllocated()) return;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (!memory) return;
  if (auto* p = static_cast<char*>(GlobalLock(memory))) {
    std::memcpy(p, text.c_str(), text.size() + 1);
    Send(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(p));
    GlobalUnlock(memory);
  }
  GlobalFree(memory);
}

void TTivra::AppendText(const QString& text) {
  if (!HandleAllocated()) return;
  const int last = LineCount();
  const SHORT end = static_cast<SHORT>(LineLength(last));
  TivraRange range{end, end, last, last};
  Send(TM_SETSEL, 0, reinterpret_cast<LPARAM>(&range));
  InsertText(text);
}

void TTivra::DeleteLineAt(int line) {
  if (!HandleAllocated()) return;
  const int last = LineCount();
  if (line > last) return;
  line = std::max(line, 1);
  TivraRange range{0, 0, line, line + 1};
  if (line >= last) range = TivraRange{0, static_cast<SHORT>(LineLength(last)), last, last};
  Send(TM_SETSEL, 0, reinterpret_cast<LPARAM>(&range));
  Send(WM_CLEAR, 0);
}

void TTivra::setFindTexts(const QString& text, const QString* replacement) {
  const std::string find = platform::toCp1252(text.left(kMaxFindText));
  Send(TM_SETFINDTEXT, 0, reinterpret_cast<LPARAM>(find.c_str()));
  if (!replacement) return;
  const std::string replace = platform::toCp1252(replacement->left(kMaxFindText));
  Send(TM_SETFINDTEXT, 1, reinterpret_cast<LPARAM>(replace.c_str()));
}

int TTivra::Find(const QString& text) {
  setFindTexts(text, nullptr);
  return static_cast<int>(Send(TM_FIND, 0, 0));
}

int TTivra::FindInRange(const QString& text) {
  if (!HandleAllocated()) return 0;
  setFindTexts(text, nullptr);
  TivraRange range = range_;
  const int result = static_cast<int>(Send(TM_FIND, 0, reinterpret_cast<LPARAM>(&range)));
  range_ = range;
  return result;
}

int TTivra::Replace(const QString& text, const QString& replacement) {
  setFindTexts(text, &replacement);
  return static_cast<int>(Send(TM_FIND, 1, 0));
}

int TTivra::ReplaceAll(const QString& text, const QString& replacement) {
  setFindTexts(text, &replacement);
  return static_cast<int>(Send(TM_FIND, 2, 0));
}

void TTivra::SetFindDirection(int kind) {
  if (!HandleAllocated()) return;
  LPARAM options = Send(TM_GETFINDOPTIONS) & ~(TIVRA_FIND_WRAP | TIVRA_FIND_UP);
  if (kind == 0)
    options |= TIVRA_FIND_UP;
  else if (kind == 2)
    options |= TIVRA_FIND_WRAP;
  Send(TM_SETFINDOPTIONS, 0, options);
}

int TTivra::TokenAtCaret() {
  if (!HandleAllocated()) return 4;
  token_ = TivraToken{};
  return static_cast<int>(Send(TM_TOKENATCARET, 0, reinterpret_cast<LPARAM>(&token_)));
}

bool TTivra::PositionFromPoint(int x, int y, int& line, int& column) const {
  if (!HandleAllocated()) return false;
  const LRESULT at = Send(TM_POSFROMPOINT, 0, MAKELPARAM(x, y));
  if (at == -1) return false;
  line = FirstVisibleLine() + LOWORD(at);
  column = HIWORD(at);
  return true;
}

bool TTivra::sendFileName(UINT msg, const QString& name) const {
  std::string bytes;
  if (!HandleAllocated() || name.isEmpty() || !fileNameBytes(name, bytes)) return false;
  return Send(msg, 0, reinterpret_cast<LPARAM>(bytes.c_str())) == 0;
}

bool TTivra::SaveFile(const QString& name) { return sendFileName(TM_SAVEFILEAS, name); }

bool TTivra::LoadFile(const QString& name) {
  // The names the window shows for a text without a file.
  if (name == QLatin1String("<<untitled>>") || name == QStringLiteral("<<Ikke navngivet>>")) return false;
  return sendFileName(TM_LOADFILE, name);
}
