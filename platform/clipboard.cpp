// Movable global memory and the clipboard's CF_TEXT, exchanged as Unicode
// with the desktop's clipboard.
#include "qtext.h"
#include "win32.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

// ---------------------------------------------------------------------------
// Global memory

namespace {

struct GlobalBlock {
  SIZE_T size = 0;
  int locks = 0;
  unsigned char* data = nullptr;
};

std::set<GlobalBlock*>& blocks() {
  static std::set<GlobalBlock*>& live = *new std::set<GlobalBlock*>;
  return live;
}

GlobalBlock* blockOf(HGLOBAL h) {
  auto* b = static_cast<GlobalBlock*>(h);
  return blocks().count(b) ? b : nullptr;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  auto* b = new GlobalBlock;
  b->size = bytes;
  b->data = static_cast<unsigned char*>((flags & GMEM_ZEROINIT) ? std::calloc(bytes ? bytes : 1, 1)
                                                                : std::malloc(bytes ? bytes : 1));
  if (!b->data) {
    delete b;
    return nullptr;
  }
  blocks().insert(b);
  return b;
}

LPVOID GlobalLock(HGLOBAL mem) {
  GlobalBlock* b = blockOf(mem);
  if (!b) return nullptr;
  ++b->locks;
  return b->data;
}

BOOL GlobalUnlock(HGLOBAL mem) {
  GlobalBlock* b = blockOf(mem);
  if (!b || b->locks == 0) return FALSE;
  return --b->locks > 0 ? TRUE : FALSE;
}

HGLOBAL GlobalFree(HGLOBAL mem) {
  GlobalBlock* b = blockOf(mem);
  if (!b) return mem;
  blocks().erase(b);
  std::free(b->data);
  delete b;
  return nullptr;
}

SIZE_T GlobalSize(HGLOBAL mem) {
  GlobalBlock* b = blockOf(mem);
  return b ? b->size : 0;
}

// ---------------------------------------------------------------------------
// Clipboard

namespace {

struct ClipboardState {
  bool open = false;
  HWND owner = nullptr;
  // Data handed to or given out by the clipboard; it owns these blocks.
  std::map<UINT, HGLOBAL> data;
  // What we last published, so that our own bytes come back unchanged
  // while nobody else has replaced the desktop's clipboard.
  QString published;
  bool havePublished = false;
};

ClipboardState& clip() {
  static ClipboardState& s = *new ClipboardState;
  return s;
}

void freeData() {
  for (auto& [format, h] : clip().data) GlobalFree(h);
  clip().data.clear();
}

std::string blockText(HGLOBAL h) {
  auto* p = static_cast<const char*>(GlobalLock(h));
  if (!p) return {};
  SIZE_T size = GlobalSize(h);
  std::string text(p, strnlen(p, size));
  GlobalUnlock(h);
  return text;
}

QString toDesktop(const std::string& bytes) {
  QString text = platform::fromCp1252(bytes);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  return text;
}

std::string fromDesktop(const QString& text) {
  std::string bytes = platform::toCp1252(text);
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 16);
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) out += '\r';
    out += bytes[i];
  }
  return out;
}

HGLOBAL makeBlock(const std::string& text) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (!h) return nullptr;
  auto* p = static_cast<char*>(GlobalLock(h));
  std::memcpy(p, text.c_str(), text.size() + 1);
  GlobalUnlock(h);
  return h;
}

}  // namespace

BOOL OpenClipboard(HWND owner) {
  ClipboardState& s = clip();
  if (s.open || !QGuiApplication::clipboard()) return FALSE;
  s.open = true;
  s.owner = owner;
  return TRUE;
}

BOOL CloseClipboard() {
  ClipboardState& s = clip();
  if (!s.open) return FALSE;
  s.open = false;
  return TRUE;
}

BOOL EmptyClipboard() {
  ClipboardState& s = clip();
  if (!s.open) return FALSE;
  freeData();
  s.havePublished = false;
  QGuiApplication::clipboard()->clear();
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
  ClipboardState& s = clip();
  if (!s.open || format != CF_TEXT || !GlobalSize(data)) return nullptr;
  auto old = s.data.find(format);
  if (old != s.data.end() && old->second != data) GlobalFree(old->second);
  s.data[format] = data;
  std::string bytes = blockText(data);
  s.published = toDesktop(bytes);
  s.havePublished = true;
  QGuiApplication::clipboard()->setText(s.published);
  return data;
}

HANDLE GetClipboardData(UINT format) {
  ClipboardState& s = clip();
  if (!s.open || format != CF_TEXT) return nullptr;
  const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
  if (!mime || !mime->hasText()) return nullptr;
  QString text = mime->text();
  auto ours = s.data.find(format);
  if (s.havePublished && text == s.published && ours != s.data.end()) return ours->second;
  HGLOBAL h = makeBlock(fromDesktop(text));
  if (!h) return nullptr;
  if (ours != s.data.end()) GlobalFree(ours->second);
  s.data[format] = h;
  s.published = text;
  s.havePublished = true;
  return h;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  if (format != CF_TEXT || !QGuiApplication::clipboard()) return FALSE;
  const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
  return mime && mime->hasText() ? TRUE : FALSE;
}
