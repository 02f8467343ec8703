// Printing: the print and print setup dialogs (PrintDlg) through the
// interaction seam, printer device contexts over QPrinter (also made from a
// kept setup with CreateDC), and print jobs on them.
//
// A setup crosses the interface as Windows keeps it: a DEVNAMES record
// (driver, device, output) and a DEVMODE record (paper, orientation,
// copies) in global memory. A job printed to a file has the file as its
// output and is written as PDF.
#include "common_dialogs.h"
#include "gdi_internal.h"
#include "host.h"
#include "interaction.h"
#include "qtext.h"

#include <QFile>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>

namespace platform::detail {

struct PrintJob {
  std::unique_ptr<QPrinter> printer;
  ABORTPROC abortProc = nullptr;
  bool pageOpen = false;
  int pagesDone = 0;
  bool dropped = false;  // ended by AbortDoc or by the abort procedure
};

}  // namespace platform::detail

using namespace platform;
using namespace platform::detail;

namespace {

constexpr char kDriver[] = "winspool";
constexpr char kFileDevice[] = "PDF";     // the device of a job printed to a file
constexpr WORD kDefaultPrinter = 0x0001;  // DEVNAMES.wDefault: DN_DEFAULTPRN

BOOL fail(DWORD error) {
  setCommonDialogError(error);
  return FALSE;
}

// ---------------------------------------------------------------------------
// Setup records

std::string deviceOf(const QPrinter& p) {
  return p.outputFileName().isEmpty() ? toCp1252(p.printerName()) : std::string(kFileDevice);
}

HGLOBAL makeDevNames(const QPrinter& p) {
  const std::string device = deviceOf(p);
  const std::string output = toCp1252(p.outputFileName());
  const size_t driverAt = sizeof(DEVNAMES);
  const size_t deviceAt = driverAt + sizeof kDriver;
  const size_t outputAt = deviceAt + device.size() + 1;
  const size_t size = outputAt + output.size() + 1;
  if (size > 0xFFFF) return nullptr;
  HGLOBAL h = GlobalAlloc(GHND, size);
  auto* bytes = static_cast<char*>(GlobalLock(h));
  if (!bytes) return nullptr;
  DEVNAMES names{static_cast<WORD>(driverAt), static_cast<WORD>(deviceAt), static_cast<WORD>(outputAt), 0};
  const QPrinterInfo byDefault = QPrinterInfo::defaultPrinter();
  if (p.outputFileName().isEmpty() && !byDefault.isNull() && byDefault.printerName() == p.printerName())
    names.wDefault = kDefaultPrinter;
  std::memcpy(bytes, &names, sizeof names);
  std::memcpy(bytes + driverAt, kDriver, sizeof kDriver);
  std::memcpy(bytes + deviceAt, device.c_str(), device.size() + 1);
  std::memcpy(bytes + outputAt, output.c_str(), output.size() + 1);
  GlobalUnlock(h);
  return h;
}

SHORT tenthsOfMillimetre(qreal mm) { return static_cast<SHORT>(std::clamp(qRound(mm * 10), 0, 0x7FFF)); }

HGLOBAL makeDevMode(const QPrinter& p) {
  DEVMODE dm{};
  const std::string device = deviceOf(p);
  std::memcpy(dm.dmDeviceName, device.data(), std::min<size_t>(device.size(), CCHDEVICENAME - 1));
  dm.dmSpecVersion = DM_SPECVERSION;
  dm.dmSize = sizeof(DEVMODE);
  dm.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_COPIES;
  const QPageLayout layout = p.pageLayout();
  dm.dmOrientation = layout.orientation() == QPageLayout::Landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
  dm.dmPaperSize = static_cast<SHORT>(layout.pageSize().windowsId());
  const QSizeF mm = layout.pageSize().size(QPageSize::Millimeter);
  dm.dmPaperWidth = tenthsOfMillimetre(mm.width());
  dm.dmPaperLength = tenthsOfMillimetre(mm.height());
  dm.dmCopies = static_cast<SHORT>(std::clamp(p.copyCount(), 1, 0x7FFF));
  HGLOBAL h = GlobalAlloc(GHND, sizeof dm);
  void* bytes = GlobalLock(h);
  if (!bytes) return nullptr;
  std::memcpy(bytes, &dm, sizeof dm);
  GlobalUnlock(h);
  return h;
}

// A string of a DEVNAMES record, or empty when the offset or the string
// lies outside the block.
std::string devNamesString(const char* bytes, size_t size, WORD offset) {
  if (offset < sizeof(DEVNAMES) || offset >= size) return {};
  return std::string(bytes + offset, strnlen(bytes + offset, size - offset));
}

// Points the printer at a device or an output file; false when the device
// is not known here.
bool applyDevice(QPrinter& p, const std::string& device, const std::string& output) {
  if (!output.empty()) {
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(fromCp1252(output));
    return true;
  }
  if (device.empty() || device == kFileDevice) return false;
  const QPrinterInfo info = QPrinterInfo::printerInfo(fromCp1252(device));
  if (info.isNull()) return false;
  p.setOutputFormat(QPrinter::NativeFormat);
  p.setPrinterName(info.printerName());
  return true;
}

void applyDevMode(QPrinter& p, const DEVMODE& dm) {
  if ((dm.dmFields & DM_PAPERSIZE) && dm.dmPaperSize > 0 && QPageSize::id(dm.dmPaperSize) != QPageSize::Custom) {
    p.setPageSize(QPageSize(QPageSize::id(dm.dmPaperSize)));
  } else if ((dm.dmFields & DM_PAPERLENGTH) && (dm.dmFields & DM_PAPERWIDTH) && dm.dmPaperLength > 0 &&
             dm.dmPaperWidth > 0) {
    p.setPageSize(QPageSize(QSizeF(dm.dmPaperWidth / 10.0, dm.dmPaperLength / 10.0), QPageSize::Millimeter));
  }
  if (dm.dmFields & DM_ORIENTATION)
    p.setPageOrientation(dm.dmOrientation == DMORIENT_LANDSCAPE ? QPageLayout::Landscape : QPageLayout::Portrait);
  if ((dm.dmFields & DM_COPIES) && dm.dmCopies > 0) p.setCopyCount(dm.dmCopies);
}

void applyDevModeBlock(QPrinter& p, HGLOBAL devMode) {
  if (!devMode || GlobalSize(devMode) < sizeof(DEVMODE)) return;
  if (const auto* dm = static_cast<const DEVMODE*>(GlobalLock(devMode))) {
    applyDevMode(p, *dm);
    GlobalUnlock(devMode);
  }
}

std::unique_ptr<QPrinter> printerFromSetup(HGLOBAL devMode, HGLOBAL devNames) {
  auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
  if (const auto* bytes = devNames ? static_cast<const char*>(GlobalLock(devNames)) : nullptr) {
    const size_t size = GlobalSize(devNames);
    if (size >= sizeof(DEVNAMES)) {
      DEVNAMES names;
      std::memcpy(&names, bytes, sizeof names);
      applyDevice(*p, devNamesString(bytes, size, names.wDeviceOffset),
                  devNamesString(bytes, size, names.wOutputOffset));
    }
    GlobalUnlock(devNames);
  }
  applyDevModeBlock(*p, devMode);
  return p;
}

void replaceBlock(HGLOBAL& slot, HGLOBAL fresh) {
  if (slot) GlobalFree(slot);
  slot = fresh;
}

HDC makePrinterDC(std::unique_ptr<QPrinter> printer) {
  HDC hdc = createPrinterDC(printer.get());
  DeviceContext* dc = deviceContext(hdc);
  const QRectF paper = printer->paperRect(QPrinter::DevicePixel);
  const QRectF page = printer->pageRect(QPrinter::DevicePixel);
  dc->printerPhysical = paper.size().toSize();
  dc->printerOffset = (page.topLeft() - paper.topLeft()).toPoint();
  dc->job = std::make_shared<PrintJob>();
  dc->job->printer = std::move(printer);
  return hdc;
}

// ---------------------------------------------------------------------------
// Jobs

PrintJob* jobOf(HDC hdc, DeviceContext** dcOut) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc || !dc->job) return nullptr;
  *dcOut = dc;
  return dc->job.get();
}

// Ends the run without a result: a job printed to a file leaves no file.
void dropJob(DeviceContext& dc) {
  PrintJob& job = *dc.job;
  job.printer->abort();
  dc.endPainting();
  dc.docOpen = false;
  job.pageOpen = false;
  job.dropped = true;
  if (!job.printer->outputFileName().isEmpty()) QFile::remove(job.printer->outputFileName());
}

// ---------------------------------------------------------------------------
// The Qt dialogs

int showPrintDialog(Request& r) {
  auto& pr = *static_cast<PrintDialogRequest*>(r.data);
  QWidget* owner = hostWidget(r.owner);
  QWidget* parent = owner ? owner->window() : nullptr;
  if (pr.setupOnly) {
    QPageSetupDialog dialog(pr.printer, parent);
    return dialog.exec() == QDialog::Accepted ? 1 : 0;
  }
  QPrintDialog dialog(pr.printer, parent);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  return dialog.exec() == QDialog::Accepted ? 1 : 0;
}

[[maybe_unused]] const bool g_registered = [] {
  setDefaultHandler(RequestKind::Print, showPrintDialog);
  setDefaultHandler(RequestKind::PrintSetup, showPrintDialog);
  return true;
}();

}  // namespace

BOOL PrintDlg(LPPRINTDLG pd) {
  setCommonDialogError(0);
  if (!pd || pd->lStructSize < sizeof(PRINTDLG)) return fail(CDERR_STRUCTSIZE);
  std::unique_ptr<QPrinter> printer;
  if (pd->Flags & PD_RETURNDEFAULT) {
    if (pd->hDevMode || pd->hDevNames) return fail(PDERR_RETDEFFAILURE);
    const QPrinterInfo byDefault = QPrinterInfo::defaultPrinter();
    if (byDefault.isNull()) return fail(PDERR_NODEFAULTPRN);
    printer = std::make_unique<QPrinter>(byDefault, QPrinter::HighResolution);
  } else {
    printer = printerFromSetup(pd->hDevMode, pd->hDevNames);
    const bool setup = pd->Flags & PD_PRINTSETUP;
    PrintDialogRequest pr{setup, printer.get()};
    Request r(setup ? RequestKind::PrintSetup : RequestKind::Print);
    r.owner = pd->hwndOwner;
    r.caption = setup ? QStringLiteral("Indstil printer") : QStringLiteral("Udskriv");
    r.data = &pr;
    if (!ask(r)) return FALSE;
  }
  replaceBlock(pd->hDevMode, makeDevMode(*printer));
  replaceBlock(pd->hDevNames, makeDevNames(*printer));
  pd->hDC = (pd->Flags & PD_RETURNDC) ? makePrinterDC(std::move(printer)) : nullptr;
  return TRUE;
}

HDC CreateDC(LPCSTR, LPCSTR device, LPCSTR output, const DEVMODE* mode) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  if (!applyDevice(*printer, device ? device : "", output ? output : "")) return nullptr;
  if (mode) applyDevMode(*printer, *mode);
  return makePrinterDC(std::move(printer));
}

int SetAbortProc(HDC hdc, ABORTPROC proc) {
  DeviceContext* dc = nullptr;
  PrintJob* job = jobOf(hdc, &dc);
  if (!job) return SP_ERROR;
  job->abortProc = proc;
  return 1;
}

int StartDoc(HDC hdc, const DOCINFO* info) {
  static int nextJobId = 1;
  DeviceContext* dc = nullptr;
  PrintJob* job = jobOf(hdc, &dc);
  if (!job || dc->docOpen) return SP_ERROR;
  QPrinter& p = *job->printer;
  if (info && info->lpszOutput && *info->lpszOutput) {
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(fromCp1252(info->lpszOutput));
  }
  p.setDocName(info && info->lpszDocName ? fromCp1252(info->lpszDocName) : QString());
  dc->docOpen = true;
  if (!dc->painter()) {
    dc->docOpen = false;
    return SP_ERROR;
  }
  job->pageOpen = false;
  job->pagesDone = 0;
  job->dropped = false;
  return nextJobId++;
}

int StartPage(HDC hdc) {
  DeviceContext* dc = nullptr;
  PrintJob* job = jobOf(hdc, &dc);
  if (!job || !dc->docOpen || job->pageOpen) return SP_ERROR;
  // The first page is there when the run begins.
  if (job->pagesDone > 0 && !job->printer->newPage()) return SP_ERROR;
  job->pageOpen = true;
  return 1;
}

int EndPage(HDC hdc) {
  DeviceContext* dc = nullptr;
  PrintJob* job = jobOf(hdc, &dc);
  if (!job || !dc->docOpen || !job->pageOpen) return SP_ERROR;
  job->pageOpen = false;
  ++job->pagesDone;
  if (job->abortProc) {
    const bool goOn = job->abortProc(hdc, 0);
    // The procedure lets messages run: the DC may be gone since.
    job = jobOf(hdc, &dc);
    if (!job) return SP_ERROR;
    if (!goOn) {
      if (dc->docOpen) dropJob(*dc);
      return SP_APPABORT;
    }
  }
  return job->printer->printerState() == QPrinter::Error ? SP_ERROR : 1;
}

int EndDoc(HDC hdc) {
  DeviceContext* dc = nullptr;
  PrintJob* job = jobOf(hdc, &dc);
  if (!job || !dc->docOpen) return SP_ERROR;
  if (job->pageOpen) ++job->pagesDone;
  job->pageOpen = false;
  dc->endPainting();
  dc->docOpen = false;
  return job->printer->printerState() == QPrinter::Error ? SP_ERROR : 1;
}

int AbortDoc(HDC hdc) {
  DeviceContext* dc = nullptr;
  PrintJob* job = jobOf(hdc, &dc);
  if (!job) return SP_ERROR;
  if (dc->docOpen) dropJob(*dc);
  return job->dropped ? 1 : SP_ERROR;
}
