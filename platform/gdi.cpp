// The GDI subset over QPainter: device contexts on window surfaces, memory
// bitmaps and printers; fonts from LOGFONT with Windows-style metrics;
// brushes, pens, text and blits.
#include "cp1252.h"
#include "gdi_internal.h"
#include "host_widget.h"
#include "internal.h"
#include "qtext.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>

using namespace platform::detail;

namespace platform::detail {

QColor toQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

COLORREF fromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

namespace {

std::set<const void*>& liveObjects() {
  static std::set<const void*>& live = *new std::set<const void*>;
  return live;
}

std::set<const void*>& liveDCs() {
  static std::set<const void*>& live = *new std::set<const void*>;
  return live;
}

// One painter per paint device, shared by all device contexts on it: Qt
// allows only one active painter per device.
struct SharedPainter {
  std::unique_ptr<QPainter> painter;
  int users = 0;
  const DeviceContext* appliedFor = nullptr;
};

std::map<const QPaintDevice*, SharedPainter>& painters() {
  static auto& map = *new std::map<const QPaintDevice*, SharedPainter>;
  return map;
}

int screenDpi() {
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? qRound(s->logicalDotsPerInchY()) : 96;
}

}  // namespace

GdiObject::GdiObject(Type t, bool isStock) : type(t), stock(isStock) { liveObjects().insert(this); }
GdiObject::~GdiObject() { liveObjects().erase(this); }

GdiObject* gdiObject(HGDIOBJ h) {
  if (!h || !liveObjects().count(h)) return nullptr;
  return static_cast<GdiObject*>(h);
}

DeviceContext* deviceContext(HDC h) {
  if (!h || !liveDCs().count(h)) return nullptr;
  return reinterpret_cast<DeviceContext*>(h);
}

bool deviceInUse(const QPaintDevice* device) {
  auto it = painters().find(device);
  return it != painters().end() && it->second.users > 0;
}

// ---------------------------------------------------------------------------
// Fonts

QFont fontFromLogFont(const LOGFONT& lf, const QPaintDevice* device) {
  QFont f;
  QString face = platform::fromCp1252(std::string_view(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE)));
  if (!face.isEmpty()) f.setFamily(face);
  const int family = lf.lfPitchAndFamily & 0xF0;
  if ((lf.lfPitchAndFamily & 0x0F) == FIXED_PITCH || family == FF_MODERN) {
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
  } else if (family == FF_ROMAN) {
    f.setStyleHint(QFont::Serif);
  } else if (family == FF_SWISS) {
    f.setStyleHint(QFont::SansSerif);
  }
  f.setKerning(false);
  f.setWeight(static_cast<QFont::Weight>(std::clamp<LONG>(lf.lfWeight ? lf.lfWeight : FW_NORMAL, 1, 1000)));
  f.setItalic(lf.lfItalic != 0);
  f.setUnderline(lf.lfUnderline != 0);
  f.setStrikeOut(lf.lfStrikeOut != 0);
  if (lf.lfHeight < 0) {
    f.setPixelSize(static_cast<int>(-lf.lfHeight));  // character height
  } else if (lf.lfHeight > 0) {
    // Cell height: choose the character height whose cell is that tall.
    QFont probe = f;
    probe.setPixelSize(100);
    QFontMetrics fm(probe, const_cast<QPaintDevice*>(device));
    int cell = std::max(fm.height(), 1);
    f.setPixelSize(std::max(1, static_cast<int>(lf.lfHeight * 100 / cell)));
  } else {
    f.setPixelSize(13);
  }
  return f;
}

FontObject::FontObject(const LOGFONT& logFont, bool isStock) : GdiObject(Font, isStock), lf(logFont) {}

namespace {

FontMetricsCache measure(const LOGFONT& lf, const QPaintDevice* device, int dpi) {
  FontMetricsCache m;
  m.font = fontFromLogFont(lf, device);
  QFontMetrics fm(m.font, const_cast<QPaintDevice*>(device));
  QFontInfo info(m.font);
  TEXTMETRIC& tm = m.tm;
  tm = TEXTMETRIC{};
  tm.tmAscent = fm.ascent();
  tm.tmDescent = fm.descent();
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  tm.tmInternalLeading = std::max<LONG>(0, tm.tmHeight - m.font.pixelSize());
  tm.tmExternalLeading = std::max(0, fm.leading());
  tm.tmAveCharWidth = info.fixedPitch() ? fm.horizontalAdvance(QLatin1Char('x')) : fm.averageCharWidth();
  tm.tmMaxCharWidth = fm.maxWidth();
  tm.tmWeight = m.font.weight();
  tm.tmOverhang = 0;
  tm.tmDigitizedAspectX = dpi;
  tm.tmDigitizedAspectY = dpi;
  tm.tmFirstChar = 0x20;
  tm.tmLastChar = 0xFF;
  tm.tmDefaultChar = 0x1F;
  tm.tmBreakChar = 0x20;
  tm.tmItalic = lf.lfItalic;
  tm.tmUnderlined = lf.lfUnderline;
  tm.tmStruckOut = lf.lfStrikeOut;
  // Windows sets this bit for fonts that are NOT fixed pitch.
  tm.tmPitchAndFamily = static_cast<BYTE>((info.fixedPitch() ? 0 : TMPF_FIXED_PITCH) | (lf.lfPitchAndFamily & 0xF0));
  tm.tmCharSet = lf.lfCharSet;
  for (int c = 0; c < 256; ++c) {
    QChar ch(static_cast<char16_t>(platform::cp1252ToUnicode(static_cast<unsigned char>(c))));
    m.widths[c] = fm.horizontalAdvance(ch);
  }
  m.ascent = fm.ascent();
  m.raw = QRawFont::fromFont(m.font);
  return m;
}

// Every editor window makes font objects of its own, mostly of the same
// font, and measuring the widths of 256 characters is what makes a window
// slow to start: the metrics of a LOGFONT at a resolution are measured once
// in the process. Kept to the end, as the fonts of a run are few.
std::shared_ptr<const FontMetricsCache> sharedMetrics(const LOGFONT& lf, const QPaintDevice* device, int dpi) {
  static auto& measured = *new std::map<std::string, std::shared_ptr<const FontMetricsCache>>;
  LOGFONT normal = lf;
  const size_t faceLength = strnlen(lf.lfFaceName, sizeof lf.lfFaceName);
  std::memset(normal.lfFaceName + faceLength, 0, sizeof normal.lfFaceName - faceLength);
  std::string key(reinterpret_cast<const char*>(&normal), sizeof normal);
  key.append(reinterpret_cast<const char*>(&dpi), sizeof dpi);
  auto& known = measured[key];
  if (!known) known = std::make_shared<const FontMetricsCache>(measure(lf, device, dpi));
  return known;
}

}  // namespace

const FontMetricsCache& FontObject::metrics(const QPaintDevice* device) {
  const int dpi = device ? device->logicalDpiY() : screenDpi();
  auto& kept = cache[dpi];
  if (!kept) kept = sharedMetrics(lf, device, dpi);
  return *kept;
}

// ---------------------------------------------------------------------------
// Stock objects

namespace {

LOGFONT makeLogFont(const char* face, LONG height, LONG weight, BYTE pitchAndFamily) {
  LOGFONT lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfPitchAndFamily = pitchAndFamily;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return lf;
}

struct Stock {
  BrushObject white{QColor(Qt::white), false, true};
  BrushObject ltgray{QColor(192, 192, 192), false, true};
  BrushObject gray{QColor(128, 128, 128), false, true};
  BrushObject dkgray{QColor(64, 64, 64), false, true};
  BrushObject black{QColor(Qt::black), false, true};
  BrushObject nullBrush{QColor(), true, true};
  PenObject whitePen{QColor(Qt::white), 1, PS_SOLID, true};
  PenObject blackPen{QColor(Qt::black), 1, PS_SOLID, true};
  PenObject nullPen{QColor(), 0, PS_NULL, true};
  FontObject systemFont{makeLogFont("Sans Serif", 16, FW_BOLD, VARIABLE_PITCH | FF_SWISS), true};
  FontObject fixedFont{makeLogFont("Monospace", -13, FW_NORMAL, FIXED_PITCH | FF_MODERN), true};
  FontObject varFont{makeLogFont("Sans Serif", -13, FW_NORMAL, VARIABLE_PITCH | FF_SWISS), true};
  BitmapObject defaultBitmap{QImage(1, 1, QImage::Format_RGB32), true};
  std::map<int, std::unique_ptr<BrushObject>> sysBrushes;
};

Stock& stock() {
  static Stock* s = new Stock;  // alive for the whole process
  return *s;
}

}  // namespace

BrushObject::BrushObject(QColor c, bool isNull, bool isStock) : GdiObject(Brush, isStock), color(c), null(isNull) {}
PenObject::PenObject(QColor c, int w, int s, bool isStock) : GdiObject(Pen, isStock), color(c), width(w), style(s) {}
BitmapObject::BitmapObject(QImage img, bool isStock) : GdiObject(Bitmap, isStock), image(std::move(img)) {}

// A brush handle may also be a system colour index + 1, as in a window
// class's background.
QColor brushColor(HBRUSH brush, bool* isNull) {
  if (isNull) *isNull = false;
  auto value = reinterpret_cast<uintptr_t>(brush);
  if (value > 0 && value <= 31) return toQColor(GetSysColor(static_cast<int>(value - 1)));
  GdiObject* o = gdiObject(brush);
  if (!o || o->type != GdiObject::Brush) {
    if (isNull) *isNull = true;
    return QColor();
  }
  auto* b = static_cast<BrushObject*>(o);
  if (isNull) *isNull = b->null;
  return b->color;
}

// ---------------------------------------------------------------------------
// Device contexts

DeviceContext::DeviceContext(Kind k) : kind(k) {
  liveDCs().insert(this);
  Stock& s = stock();
  state.font = &s.systemFont;
  state.brush = &s.white;
  state.pen = &s.blackPen;
  if (k == Memory) bitmap = &s.defaultBitmap;
}

DeviceContext::~DeviceContext() {
  endPainting();
  liveDCs().erase(this);
}

QPaintDevice* DeviceContext::device() const {
  switch (kind) {
    case Window: {
      platform::detail::Window* w = find(hwnd);
      return w ? &surfaceOf(*w) : nullptr;
    }
    case Memory:
      return bitmap ? &bitmap->image : nullptr;
    case Printer:
      return printer;
  }
  return nullptr;
}

QImage* DeviceContext::image() const {
  if (kind == Window) {
    platform::detail::Window* w = find(hwnd);
    return w ? &w->surface : nullptr;
  }
  if (kind == Memory) return bitmap ? &bitmap->image : nullptr;
  return nullptr;
}

QRect DeviceContext::deviceRect() const {
  QPaintDevice* d = const_cast<DeviceContext*>(this)->device();
  return d ? QRect(0, 0, d->width(), d->height()) : QRect();
}

QRegion DeviceContext::effectiveClip(bool* clipped) const {
  QRegion r;
  bool any = false;
  if (hasBaseClip) {
    r = baseClip;
    any = true;
  }
  if (state.hasClip) {
    r = any ? r.intersected(state.clip) : state.clip;
    any = true;
  }
  if (clipped) *clipped = any;
  return r;
}

QPainter* DeviceContext::painter() {
  QPaintDevice* d = device();
  if (!d) return nullptr;
  // Painting on a printer outside a job would start a print run of its own.
  if (kind == Printer && !docOpen) return nullptr;
  if (paintingOn && paintingOn != d) endPainting();
  SharedPainter& sp = painters()[d];
  if (!paintingOn) {
    if (!sp.painter) {
      sp.painter = std::make_unique<QPainter>();
      if (!sp.painter->begin(d)) {
        sp.painter.reset();
        painters().erase(d);
        return nullptr;
      }
    }
    ++sp.users;
    paintingOn = d;
    dirty = true;
  }
  if (sp.appliedFor != this || dirty) {
    bool clipped = false;
    QRegion clip = effectiveClip(&clipped);
    if (clipped)
      sp.painter->setClipRegion(clip);
    else
      sp.painter->setClipping(false);
    sp.painter->setFont(state.font->metrics(d).font);
    sp.appliedFor = this;
    dirty = false;
  }
  return sp.painter.get();
}

void DeviceContext::endPainting() {
  if (!paintingOn) return;
  auto it = painters().find(paintingOn);
  if (it != painters().end()) {
    SharedPainter& sp = it->second;
    if (sp.appliedFor == this) sp.appliedFor = nullptr;
    if (--sp.users <= 0) {
      sp.painter->end();
      painters().erase(it);
    }
  }
  paintingOn = nullptr;
}

const FontMetricsCache& DeviceContext::fontMetrics() { return state.font->metrics(device()); }

HDC createWindowDC(platform::detail::Window& w, const QRegion* clip) {
  auto* dc = new DeviceContext(DeviceContext::Window);
  dc->hwnd = w.handle;
  if (clip) {
    dc->baseClip = *clip;
    dc->hasBaseClip = true;
  }
  return reinterpret_cast<HDC>(dc);
}

void releaseWindowDC(HDC hdc) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc || dc->kind != DeviceContext::Window) return;
  delete dc;
}

HDC createPrinterDC(QPaintDevice* printer) {
  auto* dc = new DeviceContext(DeviceContext::Printer);
  dc->printer = printer;
  return reinterpret_cast<HDC>(dc);
}

}  // namespace platform::detail

// ---------------------------------------------------------------------------
// The API

HDC GetDC(HWND hwnd) {
  Window* w = find(hwnd);
  if (!w) return nullptr;
  return createWindowDC(*w, nullptr);
}

int ReleaseDC(HWND hwnd, HDC hdc) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc || dc->kind != DeviceContext::Window) return 0;
  releaseWindowDC(hdc);
  if (Window* w = find(hwnd); w && w->host) w->host->update();
  return 1;
}

HDC CreateCompatibleDC(HDC) { return reinterpret_cast<HDC>(new DeviceContext(DeviceContext::Memory)); }

BOOL DeleteDC(HDC hdc) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc || dc->kind == DeviceContext::Window) return FALSE;
  if (dc->kind == DeviceContext::Memory && dc->bitmap) --dc->bitmap->selectedCount;
  delete dc;
  return TRUE;
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
  if (width <= 0 || height <= 0) return reinterpret_cast<HBITMAP>(&stock().defaultBitmap);
  QImage image(width, height, QImage::Format_RGB32);
  if (image.isNull()) return nullptr;
  image.fill(Qt::black);
  return reinterpret_cast<HBITMAP>(new BitmapObject(std::move(image), false));
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
  DeviceContext* dc = deviceContext(hdc);
  GdiObject* o = gdiObject(object);
  if (!dc || !o) return nullptr;
  HGDIOBJ old = nullptr;
  switch (o->type) {
    case GdiObject::Font:
      old = dc->state.font;
      dc->state.font = static_cast<FontObject*>(o);
      dc->dirty = true;
      break;
    case GdiObject::Brush:
      old = dc->state.brush;
      dc->state.brush = static_cast<BrushObject*>(o);
      break;
    case GdiObject::Pen:
      old = dc->state.pen;
      dc->state.pen = static_cast<PenObject*>(o);
      break;
    case GdiObject::Bitmap: {
      if (dc->kind != DeviceContext::Memory) return nullptr;
      auto* bmp = static_cast<BitmapObject*>(o);
      dc->endPainting();
      old = dc->bitmap;
      if (dc->bitmap) --dc->bitmap->selectedCount;
      dc->bitmap = bmp;
      ++bmp->selectedCount;
      dc->dirty = true;
      break;
    }
  }
  return old;
}

BOOL DeleteObject(HGDIOBJ object) {
  GdiObject* o = gdiObject(object);
  if (!o) return FALSE;
  if (o->stock) return TRUE;
  if (o->type == GdiObject::Bitmap && static_cast<BitmapObject*>(o)->selectedCount > 0) return FALSE;
  delete o;
  return TRUE;
}

HGDIOBJ GetStockObject(int index) {
  Stock& s = stock();
  switch (index) {
    case WHITE_BRUSH:
      return &s.white;
    case LTGRAY_BRUSH:
      return &s.ltgray;
    case GRAY_BRUSH:
      return &s.gray;
    case DKGRAY_BRUSH:
      return &s.dkgray;
    case BLACK_BRUSH:
      return &s.black;
    case NULL_BRUSH:
      return &s.nullBrush;
    case WHITE_PEN:
      return &s.whitePen;
    case BLACK_PEN:
      return &s.blackPen;
    case NULL_PEN:
      return &s.nullPen;
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case SYSTEM_FIXED_FONT:
      return &s.fixedFont;
    case ANSI_VAR_FONT:
    case DEFAULT_GUI_FONT:
      return &s.varFont;
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
      return &s.systemFont;
    default:
      return nullptr;
  }
}

int GetObject(HGDIOBJ object, int size, LPVOID buffer) {
  GdiObject* o = gdiObject(object);
  if (!o) return 0;
  switch (o->type) {
    case GdiObject::Font: {
      if (!buffer) return sizeof(LOGFONT);
      int n = std::min<int>(size, sizeof(LOGFONT));
      std::memcpy(buffer, &static_cast<FontObject*>(o)->lf, static_cast<size_t>(n));
      return n;
    }
    case GdiObject::Bitmap: {
      if (!buffer) return sizeof(BITMAP);
      const QImage& img = static_cast<BitmapObject*>(o)->image;
      BITMAP bm{0, img.width(), img.height(), static_cast<LONG>(img.bytesPerLine()), 1, 32, nullptr};
      int n = std::min<int>(size, sizeof(BITMAP));
      std::memcpy(buffer, &bm, static_cast<size_t>(n));
      return n;
    }
    case GdiObject::Brush: {
      if (!buffer) return sizeof(LOGBRUSH);
      auto* b = static_cast<BrushObject*>(o);
      LOGBRUSH lb{b->null ? BS_NULL : BS_SOLID, b->null ? 0 : fromQColor(b->color), 0};
      int n = std::min<int>(size, sizeof(LOGBRUSH));
      std::memcpy(buffer, &lb, static_cast<size_t>(n));
      return n;
    }
    case GdiObject::Pen:
      return 0;
  }
  return 0;
}

int SaveDC(HDC hdc) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc) return 0;
  dc->saved.push_back(dc->state);
  return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int savedDc) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc || dc->saved.empty()) return FALSE;
  int level = savedDc < 0 ? static_cast<int>(dc->saved.size()) + savedDc + 1 : savedDc;
  if (level < 1 || level > static_cast<int>(dc->saved.size())) return FALSE;
  dc->state = dc->saved[static_cast<size_t>(level - 1)];
  dc->saved.resize(static_cast<size_t>(level - 1));
  dc->dirty = true;
  return TRUE;
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->state.textColor;
  dc->state.textColor = color & 0xFFFFFF;
  return old;
}

COLORREF GetTextColor(HDC hdc) {
  DeviceContext* dc = deviceContext(hdc);
  return dc ? dc->state.textColor : CLR_INVALID;
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->state.bkColor;
  dc->state.bkColor = color & 0xFFFFFF;
  return old;
}

COLORREF GetBkColor(HDC hdc) {
  DeviceContext* dc = deviceContext(hdc);
  return dc ? dc->state.bkColor : CLR_INVALID;
}

int SetBkMode(HDC hdc, int mode) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  int old = dc->state.bkMode;
  dc->state.bkMode = mode;
  return old;
}

UINT SetTextAlign(HDC hdc, UINT align) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc) return GDI_ERROR;
  UINT old = dc->state.textAlign;
  dc->state.textAlign = align;
  return old;
}

namespace {

// Where text starting at (x, y) is drawn, given the alignment flags.
QPoint textOrigin(DeviceContext& dc, int x, int y, int width) {
  const FontMetricsCache& m = dc.fontMetrics();
  UINT a = dc.state.textAlign;
  if ((a & TA_CENTER) == TA_CENTER)
    x -= width / 2;
  else if (a & TA_RIGHT)
    x -= width;
  if ((a & TA_BASELINE) == TA_BASELINE)
    y -= m.ascent;
  else if (a & TA_BOTTOM)
    y -= m.tm.tmHeight;
  return QPoint(x, y);
}

// Draws the characters at the advances the metrics report, so that what is
// drawn lines up with what callers measured (Qt's own layout would place
// glyphs at fractional advances and drift from the integer widths).
void drawRun(QPainter& p, const FontMetricsCache& m, QPoint baseline, std::string_view bytes, const INT* dx) {
  QString text = platform::fromCp1252(bytes);
  QList<quint32> glyphs = m.raw.isValid() ? m.raw.glyphIndexesForString(text) : QList<quint32>();
  QList<QPointF> positions;
  positions.reserve(text.size());
  int x = baseline.x();
  std::vector<int> xs(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    xs[i] = x;
    positions.append(QPointF(x, baseline.y()));
    x += dx ? dx[i] : m.widths[static_cast<unsigned char>(bytes[i])];
  }
  if (glyphs.size() == text.size()) {
    QGlyphRun run;
    run.setRawFont(m.raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    run.setUnderline(m.font.underline());
    run.setStrikeOut(m.font.strikeOut());
    p.drawGlyphRun(QPointF(0, 0), run);
    // Characters the font lacks are drawn with Qt's fallback fonts.
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
      if (glyphs[i] == 0 && text[i].unicode() > 32)
        p.drawText(QPoint(xs[static_cast<size_t>(i)], baseline.y()), QString(text[i]));
    }
    return;
  }
  for (size_t i = 0; i < bytes.size(); ++i)
    p.drawText(QPoint(xs[i], baseline.y()), QString(text[static_cast<qsizetype>(i)]));
}

}  // namespace

BOOL ExtTextOut(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT length, const INT* dx) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc) return FALSE;
  QPainter* p = dc->painter();
  if (!p) return FALSE;
  const FontMetricsCache& m = dc->fontMetrics();
  std::string_view bytes(text ? text : "", text ? length : 0);
  int width = 0;
  if (dx) {
    for (UINT i = 0; i < bytes.size(); ++i) width += dx[i];
  } else {
    for (char c : bytes) width += m.widths[static_cast<unsigned char>(c)];
  }
  QPoint origin = textOrigin(*dc, x, y, width);
  p->save();
  if (rect && (options & ETO_OPAQUE)) {
    p->fillRect(QRect(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1)),
                toQColor(dc->state.bkColor));
  }
  if (rect && (options & ETO_CLIPPED)) {
    p->setClipRect(QRect(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1)), Qt::IntersectClip);
  }
  if (!bytes.empty()) {
    if (dc->state.bkMode == OPAQUE && !(options & ETO_OPAQUE)) {
      p->fillRect(QRect(origin.x(), origin.y(), width, m.tm.tmHeight), toQColor(dc->state.bkColor));
    }
    p->setPen(toQColor(dc->state.textColor));
    drawRun(*p, m, QPoint(origin.x(), origin.y() + m.ascent), bytes, dx);
  }
  p->restore();
  return TRUE;
}

BOOL TextOut(HDC hdc, int x, int y, LPCSTR text, int length) {
  if (length < 0) return FALSE;
  return ExtTextOut(hdc, x, y, 0, nullptr, text, static_cast<UINT>(length), nullptr);
}

namespace {

QRect toQRect(const RECT* r) { return QRect(QPoint(r->left, r->top), QPoint(r->right - 1, r->bottom - 1)); }

}  // namespace

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc || !rect) return 0;
  bool isNull = false;
  QColor color = brushColor(brush, &isNull);
  if (isNull) return 1;
  QPainter* p = dc->painter();
  if (!p) return 0;
  p->fillRect(toQRect(rect), color);
  return 1;
}

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc) return FALSE;
  QPainter* p = dc->painter();
  if (!p) return FALSE;
  QRect r(x, y, width, height);
  r = r.normalized();
  switch (rop) {
    case PATCOPY:
      if (!dc->state.brush->null) p->fillRect(r, dc->state.brush->color);
      return TRUE;
    case BLACKNESS:
      p->fillRect(r, Qt::black);
      return TRUE;
    case WHITENESS:
      p->fillRect(r, Qt::white);
      return TRUE;
    case DSTINVERT:
    case PATINVERT: {
      p->save();
      p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
      p->fillRect(r, rop == DSTINVERT ? QColor(Qt::white) : dc->state.brush->color);
      p->restore();
      return TRUE;
    }
    default:
      return FALSE;
  }
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop) {
  DeviceContext* d = deviceContext(dest);
  if (!d) return FALSE;
  if (rop != SRCCOPY && rop != SRCINVERT && rop != SRCAND && rop != SRCPAINT)
    return PatBlt(dest, x, y, width, height, rop);
  DeviceContext* s = deviceContext(src);
  QImage* source = s ? s->image() : nullptr;
  if (!source) return FALSE;
  QPainter* p = d->painter();
  if (!p) return FALSE;
  p->save();
  switch (rop) {
    case SRCINVERT:
      p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
      break;
    case SRCAND:
      p->setCompositionMode(QPainter::RasterOp_SourceAndDestination);
      break;
    case SRCPAINT:
      p->setCompositionMode(QPainter::RasterOp_SourceOrDestination);
      break;
    default:
      p->setCompositionMode(QPainter::CompositionMode_Source);
      break;
  }
  p->drawImage(QPoint(x, y), *source, QRect(srcX, srcY, width, height));
  p->restore();
  return TRUE;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
  DeviceContext* dc = deviceContext(hdc);
  QImage* img = dc ? dc->image() : nullptr;
  if (!img || !img->valid(x, y)) return CLR_INVALID;
  bool clipped = false;
  QRegion clip = dc->effectiveClip(&clipped);
  if (clipped && !clip.contains(QPoint(x, y))) return CLR_INVALID;
  return fromQColor(QColor::fromRgb(img->pixel(x, y)));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  return reinterpret_cast<HBRUSH>(static_cast<GdiObject*>(new BrushObject(toQColor(color), false, false)));
}

HFONT CreateFontIndirect(const LOGFONT* font) {
  if (!font) return nullptr;
  return reinterpret_cast<HFONT>(static_cast<GdiObject*>(new FontObject(*font, false)));
}

BOOL GetTextMetrics(HDC hdc, LPTEXTMETRIC metrics) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc || !metrics) return FALSE;
  *metrics = dc->fontMetrics().tm;
  return TRUE;
}

BOOL GetCharWidth32(HDC hdc, UINT first, UINT last, LPINT widths) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc || !widths || first > last || last > 255) return FALSE;
  const FontMetricsCache& m = dc->fontMetrics();
  for (UINT c = first; c <= last; ++c) widths[c - first] = m.widths[c];
  return TRUE;
}

BOOL GetTextExtentPoint32(HDC hdc, LPCSTR text, int length, LPSIZE size) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc || !size || length < 0) return FALSE;
  const FontMetricsCache& m = dc->fontMetrics();
  LONG cx = 0;
  for (int i = 0; i < length; ++i) cx += m.widths[static_cast<unsigned char>(text[i])];
  *size = SIZE{cx, m.tm.tmHeight};
  return TRUE;
}

int GetDeviceCaps(HDC hdc, int index) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc) return 0;
  QPaintDevice* d = dc->device();
  const bool printer = dc->kind == DeviceContext::Printer;
  const int dpiX = printer && d ? d->logicalDpiX() : screenDpi();
  const int dpiY = printer && d ? d->logicalDpiY() : screenDpi();
  QScreen* screen = QGuiApplication::primaryScreen();
  const int w = printer || !screen ? (d ? d->width() : 0) : screen->geometry().width();
  const int h = printer || !screen ? (d ? d->height() : 0) : screen->geometry().height();
  switch (index) {
    case TECHNOLOGY:
      return printer ? DT_RASPRINTER : DT_RASDISPLAY;
    case LOGPIXELSX:
      return dpiX;
    case LOGPIXELSY:
      return dpiY;
    case HORZRES:
      return w;
    case VERTRES:
      return h;
    case HORZSIZE:
      return dpiX ? w * 254 / (dpiX * 10) : 0;
    case VERTSIZE:
      return dpiY ? h * 254 / (dpiY * 10) : 0;
    case BITSPIXEL:
      return 32;
    case PLANES:
      return 1;
    case NUMCOLORS:
      return -1;
    case PHYSICALWIDTH:
      return printer ? physicalSize(dc).width() : 0;
    case PHYSICALHEIGHT:
      return printer ? physicalSize(dc).height() : 0;
    case PHYSICALOFFSETX:
      return printer ? physicalOffset(dc).x() : 0;
    case PHYSICALOFFSETY:
      return printer ? physicalOffset(dc).y() : 0;
    default:
      return 0;
  }
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc) return ERROR;
  QRegion base = dc->state.hasClip ? dc->state.clip : QRegion(dc->deviceRect());
  dc->state.clip = base.intersected(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
  dc->state.hasClip = true;
  dc->dirty = true;
  bool clipped = false;
  QRegion eff = dc->effectiveClip(&clipped);
  return eff.isEmpty() ? NULLREGION : eff.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

int GetClipBox(HDC hdc, LPRECT rect) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc || !rect) return ERROR;
  bool clipped = false;
  QRegion eff = dc->effectiveClip(&clipped);
  QRect b = clipped ? eff.boundingRect() : dc->deviceRect();
  *rect = b.isEmpty() ? RECT{0, 0, 0, 0} : RECT{b.left(), b.top(), b.right() + 1, b.bottom() + 1};
  if (b.isEmpty()) return NULLREGION;
  return !clipped || eff.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}
