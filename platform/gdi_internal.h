// GDI objects and device contexts as the stand-in keeps them.
#pragma once

#include "win32.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRawFont>
#include <QRegion>

#include <array>
#include <map>
#include <memory>
#include <vector>

class QPainter;
class QPaintDevice;

namespace platform::detail {

struct PrintJob;  // printing.cpp

struct GdiObject {
  enum Type { Font, Brush, Pen, Bitmap };
  GdiObject(Type t, bool isStock);
  virtual ~GdiObject();
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  Type type;
  bool stock;
};

// A font as Qt draws it on one kind of device, with Windows-style metrics.
struct FontMetricsCache {
  QFont font;
  TEXTMETRIC tm{};
  std::array<int, 256> widths{};
  int ascent = 0;
  QRawFont raw;  // glyphs placed at our own integer advances
};

struct FontObject : GdiObject {
  FontObject(const LOGFONT& logFont, bool isStock);
  const FontMetricsCache& metrics(const QPaintDevice* device);
  LOGFONT lf;
  // By the device's dots per inch; shared with every font object made from
  // the same LOGFONT.
  std::map<int, std::shared_ptr<const FontMetricsCache>> cache;
};

struct BrushObject : GdiObject {
  BrushObject(QColor c, bool isNull, bool isStock);
  QColor color;
  bool null;
};

struct PenObject : GdiObject {
  PenObject(QColor c, int w, int s, bool isStock);
  QColor color;
  int width;
  int style;
};

struct BitmapObject : GdiObject {
  BitmapObject(QImage img, bool isStock);
  QImage image;
  int selectedCount = 0;
};

struct DCState {
  COLORREF textColor = 0x000000;
  COLORREF bkColor = 0xFFFFFF;
  int bkMode = OPAQUE;
  UINT textAlign = TA_TOP | TA_LEFT;
  FontObject* font = nullptr;
  BrushObject* brush = nullptr;
  PenObject* pen = nullptr;
  QRegion clip;
  bool hasClip = false;
};

struct DeviceContext {
  enum Kind { Window, Memory, Printer };
  explicit DeviceContext(Kind k);
  ~DeviceContext();
  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;

  QPaintDevice* device() const;
  QImage* image() const;  // null for printers
  QRect deviceRect() const;
  QRegion effectiveClip(bool* clipped) const;
  QPainter* painter();  // active on the device, with this DC's state applied
  void endPainting();
  const FontMetricsCache& fontMetrics();

  Kind kind;
  HWND hwnd = nullptr;              // window DCs
  BitmapObject* bitmap = nullptr;   // memory DCs
  QPaintDevice* printer = nullptr;  // printer DCs
  QSize printerPhysical;            // whole sheet in device pixels
  QPoint printerOffset;             // printable area's offset on the sheet
  std::shared_ptr<PrintJob> job;    // printer DCs of PrintDlg and CreateDC: their printer and job
  bool docOpen = false;             // printers draw only between StartDoc and EndDoc
  QRegion baseClip;                 // BeginPaint's update region
  bool hasBaseClip = false;
  DCState state;
  std::vector<DCState> saved;
  bool dirty = true;
  QPaintDevice* paintingOn = nullptr;
};

GdiObject* gdiObject(HGDIOBJ h);
DeviceContext* deviceContext(HDC h);
QColor brushColor(HBRUSH brush, bool* isNull);
QFont fontFromLogFont(const LOGFONT& lf, const QPaintDevice* device);

// Printer device contexts are made by the printing code.
HDC createPrinterDC(QPaintDevice* printer);
inline QSize physicalSize(DeviceContext* dc) { return dc->printerPhysical; }
inline QPoint physicalOffset(DeviceContext* dc) { return dc->printerOffset; }

}  // namespace platform::detail
