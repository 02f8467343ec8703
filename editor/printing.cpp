// Printing the text: the print and print setup dialogs, the job on the
// printer with the screen font scaled to it, lines too long for the paper
// wrapped onto the next rows, the notify window's header and footer on each
// page, and the progress dialog whose cancel button stops the job.
#include "entry_points.h"
#include "file_names.h"
#include "line_breaks.h"
#include "notify.h"
#include "text_store.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace tivra {

namespace {

constexpr char kProgressClass[] = "TivraPrinting";
constexpr char kUntitled[] = "<<Ikke navngivet>>";
constexpr int kProgressTextId = 100;
constexpr size_t kMaxDocumentName = 31;

// ---------------------------------------------------------------------------
// The kept printer setup

PRINTDLG dialogRecord(Instance& inst, DWORD flags) {
  PRINTDLG pd{};
  pd.lStructSize = sizeof pd;
  pd.hwndOwner = inst.window;
  pd.hDevMode = inst.file.printerDevMode;
  pd.hDevNames = inst.file.printerDevNames;
  pd.Flags = flags;
  pd.nCopies = 1;
  return pd;
}

// PrintDlg replaces the blocks it was given; the window keeps the new ones.
void keepSetup(Instance& inst, const PRINTDLG& pd) {
  inst.file.printerDevMode = pd.hDevMode;
  inst.file.printerDevNames = pd.hDevNames;
}

std::string devNamesString(const char* block, size_t size, WORD offset) {
  if (offset >= size) return {};
  return std::string(block + offset, strnlen(block + offset, size - offset));
}

// A printer from the kept setup, without asking.
HDC printerFromKeptSetup(Instance& inst) {
  HGLOBAL names = inst.file.printerDevNames;
  const auto* block = names ? static_cast<const char*>(GlobalLock(names)) : nullptr;
  if (!block) return nullptr;
  const size_t size = GlobalSize(names);
  std::string driver, device, output;
  if (size >= sizeof(DEVNAMES)) {
    DEVNAMES dn;
    std::memcpy(&dn, block, sizeof dn);
    driver = devNamesString(block, size, dn.wDriverOffset);
    device = devNamesString(block, size, dn.wDeviceOffset);
    output = devNamesString(block, size, dn.wOutputOffset);
  }
  GlobalUnlock(names);
  HGLOBAL mode = inst.file.printerDevMode;
  const auto* dm =
      mode && GlobalSize(mode) >= sizeof(DEVMODE) ? static_cast<const DEVMODE*>(GlobalLock(mode)) : nullptr;
  HDC dc = CreateDC(driver.c_str(), device.c_str(), output.c_str(), dm);
  if (dm) GlobalUnlock(mode);
  return dc;
}

// The print dialog, or with NoPrintDialog the kept setup or the default
// printer. Null when cancelled or when there is no printer.
HDC choosePrinter(Instance& inst) {
  if (!(inst.options & TivraOption::NoPrintDialog)) {
    PRINTDLG pd = dialogRecord(inst, PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION);
    const BOOL chosen = PrintDlg(&pd);
    keepSetup(inst, pd);
    return chosen ? pd.hDC : nullptr;
  }
  if (HDC dc = printerFromKeptSetup(inst)) return dc;
  PRINTDLG pd{};
  pd.lStructSize = sizeof pd;
  pd.hwndOwner = inst.window;
  pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
  if (!PrintDlg(&pd)) return nullptr;
  GlobalFree(pd.hDevMode);
  GlobalFree(pd.hDevNames);
  return pd.hDC;
}

// ---------------------------------------------------------------------------
// What a job prints, taken when it starts: the notify window may change or
// close the editor while the job runs.

struct Job {
  std::string text;                // the lines, one after the other
  std::vector<size_t> lineStarts;  // and where each begins (plus the end)
  HWND notifyWindow;
  std::string documentName;
  LOGFONT font;
  int screenDpiX;
  int screenDpiY;
  int tabSize;
  bool withExternalLeading;
  bool showProgress;
};

std::string documentName(Instance& inst) {
  const LRESULT answer = inst.notifyWindow ? SendMessage(inst.notifyWindow, TM_PRINTJOBNAME, 0, 0) : 0;
  if (answer) {
    const auto* name = reinterpret_cast<const char*>(answer);
    return std::string(name, strnlen(name, kMaxDocumentName));
  }
  std::string name =
      inst.file.hasName ? windowsName(std::filesystem::path(inst.file.nativeName).filename()) : kUntitled;
  if (name.size() > kMaxDocumentName) name.resize(kMaxDocumentName);
  return name;
}

LOGFONT screenFont(const Instance& inst) {
  LOGFONT lf = inst.font.logFont;
  if (lf.lfHeight == 0 && lf.lfFaceName[0] == 0) GetObject(GetStockObject(ANSI_FIXED_FONT), sizeof lf, &lf);
  return lf;
}

Job takeJob(Instance& inst) {
  Job job{};
  bool goesOn = false;
  for (LineHandle h = inst.text.firstLine; h; h = nextLine(h)) {
    // The pieces of a long line are one line on paper.
    if (!goesOn) job.lineStarts.push_back(job.text.size());
    job.text.append(lineText(h), static_cast<size_t>(lineLength(h)));
    goesOn = continues(inst, h);
  }
  job.lineStarts.push_back(job.text.size());
  job.notifyWindow = inst.notifyWindow;
  job.documentName = documentName(inst);
  job.font = screenFont(inst);
  HDC screen = GetDC(inst.window);
  job.screenDpiX = std::max(1, GetDeviceCaps(screen, LOGPIXELSX));
  job.screenDpiY = std::max(1, GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(inst.window, screen);
  job.tabSize = std::max(1, inst.layout.tabSize);
  job.withExternalLeading = !(inst.options & TivraOption::NoExternalLeading);
  job.showProgress = !(inst.options & TivraOption::NoPrintProgress);
  return job;
}

// ---------------------------------------------------------------------------
// The progress dialog and the abort procedure

struct Run {
  HDC dc;
  HWND progress;
  bool cancelled;
};

std::vector<Run*>& runs() {
  static std::vector<Run*> active;
  return active;
}

Run* runOf(HDC dc) {
  for (Run* r : runs()) {
    if (r->dc == dc) return r;
  }
  return nullptr;
}

LRESULT CALLBACK progressProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* run = reinterpret_cast<Run*>(GetWindowLongPtr(hwnd, 0));
  switch (msg) {
    case WM_CREATE:
      SetWindowLongPtr(hwnd, 0,
                       reinterpret_cast<LONG_PTR>(reinterpret_cast<const CREATESTRUCT*>(lParam)->lpCreateParams));
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL && run) {
        run->cancelled = true;
        EnableWindow(reinterpret_cast<HWND>(lParam), FALSE);
      }
      return 0;
    case WM_CLOSE:
      // Closing the dialog cancels; it goes away when the job has ended.
      if (run) run->cancelled = true;
      return 0;
    default:
      return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

void registerPrintingClass() {
  WNDCLASS wc{};
  wc.lpfnWndProc = progressProc;
  wc.cbWndExtra = sizeof(Run*);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_BTNFACE + 1));
  wc.lpszClassName = kProgressClass;
  RegisterClass(&wc);
}

void unregisterPrintingClass() { UnregisterClass(kProgressClass, nullptr); }

namespace {

// The modeless "PRINTING" dialog: a line telling the page, and "&Annuller".
HWND createProgress(Instance& inst, Run& run) {
  constexpr int width = 300, height = 120;
  // Owned by the editor's top window, which stays enabled while the editor
  // itself is disabled.
  HWND owner = GetAncestor(inst.window, GA_ROOT);
  if (owner == inst.window) owner = nullptr;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  HWND dialog = CreateWindowEx(0, kProgressClass, cp1252("Udskriver...").c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU, x,
                               y, width, height, owner, nullptr, nullptr, &run);
  if (!dialog) return nullptr;
  CreateWindowEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_CENTER, 10, 15, width - 20, 22, dialog,
                 reinterpret_cast<HMENU>(static_cast<intptr_t>(kProgressTextId)), nullptr, nullptr);
  CreateWindowEx(0, "BUTTON", "&Annuller", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, (width - 90) / 2, 50,
                 90, 28, dialog, reinterpret_cast<HMENU>(static_cast<intptr_t>(IDCANCEL)), nullptr, nullptr);
  ShowWindow(dialog, SW_SHOW);
  return dialog;
}

void showPage(const Run& run, int page) {
  if (!run.progress) return;
  char text[64];
  std::snprintf(text, sizeof text, "Nu udskrives side %d", page);
  SetWindowText(GetDlgItem(run.progress, kProgressTextId), text);
}

// Lets messages run while the job prints (so that "&Annuller" can be
// pressed) and tells the printer whether to go on.
BOOL CALLBACK keepMessagesFlowing(HDC dc, int) {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The program is ending: stop, and leave the quit for its own loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      if (Run* r = runOf(dc)) r->cancelled = true;
      break;
    }
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  const Run* run = runOf(dc);
  return run && !run->cancelled;
}

// ---------------------------------------------------------------------------
// Pages

struct Page {
  int width;
  int height;
  int left;   // the text runs from here
  int right;  // to here
  int lineHeight;
  int tabWidth;
  int charWidths[256];
};

// The offset after character c printed at offset x from the left margin.
int advanceOnPage(const Page& page, int x, char c) {
  if (c == '\t') return (x / page.tabWidth + 1) * page.tabWidth;
  return x + std::max(1, page.charWidths[static_cast<unsigned char>(c)]);
}

// The printed rows of one line: as much as fits between the margins on
// each, broken after a blank where there is one (an empty line is a row
// too).
void addRows(const Page& page, std::string_view line, std::vector<std::string_view>& rows) {
  const int room = std::max(1, page.right - page.left);
  do {
    const int fitting = fittingLength(line, room, [&page](int x, char c) { return advanceOnPage(page, x, c); });
    const auto length = static_cast<size_t>(breakAtBlank(line, fitting));
    rows.push_back(line.substr(0, length));
    line.remove_prefix(length);
  } while (!line.empty());
}

// One row at y; a TAB moves on to the next multiple of the tab width.
void printRow(HDC dc, const Page& page, std::string_view text, int y) {
  int x = page.left;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\t') continue;
    if (i > start) {
      TextOut(dc, x, y, text.data() + start, static_cast<int>(i - start));
      SIZE extent{};
      GetTextExtentPoint32(dc, text.data() + start, static_cast<int>(i - start), &extent);
      x += extent.cx;
    }
    if (i < text.size()) x = page.left + ((x - page.left) / page.tabWidth + 1) * page.tabWidth;
    start = i + 1;
  }
}

// The notify window's header and footer heights for this page, each within
// the page. It may draw them; what it changes in the DC is put back.
void headerAndFooter(const Job& job, HDC dc, const Page& page, int* header, int* footer) {
  *header = *footer = 0;
  if (!job.notifyWindow) return;
  const int saved = SaveDC(dc);
  const LRESULT answer = SendMessage(job.notifyWindow, TM_PRINTPAGE, reinterpret_cast<WPARAM>(dc),
                                     MAKELPARAM(std::min(page.height, 0xFFFF), std::min(page.width, 0xFFFF)));
  RestoreDC(dc, saved);
  *header = std::min<int>(LOWORD(answer), page.height);
  *footer = std::min<int>(HIWORD(answer), page.height - *header);
}

Page measurePage(HDC dc, const Job& job) {
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  Page page{};
  page.width = GetDeviceCaps(dc, HORZRES);
  page.height = GetDeviceCaps(dc, VERTRES);
  // Half an inch from each edge of the sheet, or the printable area's edge.
  const int halfInch = GetDeviceCaps(dc, LOGPIXELSX) / 2;
  const int offsetLeft = GetDeviceCaps(dc, PHYSICALOFFSETX);
  const int offsetRight = GetDeviceCaps(dc, PHYSICALWIDTH) - offsetLeft - page.width;
  page.left = std::max(0, halfInch - offsetLeft);
  page.right = page.width - std::max(0, halfInch - offsetRight);
  if (page.right <= page.left) page.right = page.width;
  page.lineHeight = std::max<int>(1, tm.tmHeight + (job.withExternalLeading ? tm.tmExternalLeading : 0));
  page.tabWidth = std::max<int>(1, job.tabSize * tm.tmAveCharWidth);
  if (!GetCharWidth32(dc, 0, 255, page.charWidths))
    std::fill(std::begin(page.charWidths), std::end(page.charWidths), tm.tmAveCharWidth);
  return page;
}

enum class Outcome { Printed, Cancelled, Failed };

// Prints every page: the rows of all lines, as many as fit between the
// header and the footer on each.
Outcome printPages(const Job& job, HDC dc, Run& run) {
  const Page page = measurePage(dc, job);
  std::vector<std::string_view> rows;
  for (size_t line = 0; line + 1 < job.lineStarts.size(); ++line) {
    const size_t start = job.lineStarts[line];
    addRows(page, std::string_view(job.text).substr(start, job.lineStarts[line + 1] - start), rows);
  }
  size_t row = 0;
  for (int number = 1; row < rows.size(); ++number) {
    if (run.cancelled) return Outcome::Cancelled;
    showPage(run, number);
    if (StartPage(dc) <= 0) return Outcome::Failed;
    int header = 0, footer = 0;
    headerAndFooter(job, dc, page, &header, &footer);
    const int bottom = page.height - footer;
    // At least one row on every page, so that a page too small for any
    // still brings the job to its end.
    int y = header;
    do {
      printRow(dc, page, rows[row], y);
      y += page.lineHeight;
      ++row;
    } while (row < rows.size() && y + page.lineHeight <= bottom);
    if (EndPage(dc) <= 0) return run.cancelled ? Outcome::Cancelled : Outcome::Failed;
  }
  return Outcome::Printed;
}

// Runs the job on the printer: failed when it could not start, print a
// page or end.
Outcome runJob(const Job& job, HDC dc, Run& run) {
  LOGFONT lf = job.font;
  lf.lfHeight = MulDiv(lf.lfHeight, GetDeviceCaps(dc, LOGPIXELSY), job.screenDpiY);
  lf.lfWidth = MulDiv(lf.lfWidth, GetDeviceCaps(dc, LOGPIXELSX), job.screenDpiX);
  HFONT font = CreateFontIndirect(&lf);
  HGDIOBJ previousFont = SelectObject(dc, font);
  SetAbortProc(dc, keepMessagesFlowing);
  DOCINFO info{};
  info.cbSize = sizeof info;
  info.lpszDocName = job.documentName.c_str();
  Outcome outcome = Outcome::Failed;
  if (StartDoc(dc, &info) > 0) {
    outcome = printPages(job, dc, run);
    if (outcome != Outcome::Printed)
      AbortDoc(dc);
    else if (EndDoc(dc) <= 0)
      outcome = Outcome::Failed;
  }
  SelectObject(dc, previousFont);
  DeleteObject(font);
  return outcome;
}

LRESULT print(Instance& inst) {
  if (inst.file.printing) return 0;
  if (!commitLineBuffer(inst)) return 0;
  HDC dc = choosePrinter(inst);
  if (!dc) return 0;
  const Job job = takeJob(inst);
  HWND hwnd = inst.window;
  Run run{dc, nullptr, false};
  runs().push_back(&run);
  inst.file.printing = true;
  if (job.showProgress) run.progress = createProgress(inst, run);
  const BOOL wasDisabled = EnableWindow(hwnd, FALSE);

  const Outcome outcome = runJob(job, dc, run);

  DeleteDC(dc);
  if (run.progress) DestroyWindow(run.progress);
  std::erase(runs(), &run);
  // The notify window may have closed the editor while the job ran.
  if (instanceOf(hwnd) != &inst) return 0;
  inst.file.printing = false;
  if (!wasDisabled) EnableWindow(hwnd, TRUE);
  if (outcome == Outcome::Failed) reportFileError(inst, "Udskrivningen kunne ikke gennemføres");
  return 0;
}

LRESULT printSetup(Instance& inst) {
  if (inst.options & TivraOption::NoPrintDialog) return 0;
  PRINTDLG pd = dialogRecord(inst, PD_PRINTSETUP);
  PrintDlg(&pd);
  keepSetup(inst, pd);
  return 0;
}

}  // namespace

LRESULT printCommand(Instance& inst, UINT id) {
  if (id == TCMD_PRINTSETUP) return printSetup(inst);
  if (id == TCMD_PRINT) return print(inst);
  return 0;
}

void releasePrinterSetup(Instance& inst) {
  if (inst.file.printerDevMode) GlobalFree(inst.file.printerDevMode);
  if (inst.file.printerDevNames) GlobalFree(inst.file.printerDevNames);
  inst.file.printerDevMode = inst.file.printerDevNames = nullptr;
}

}  // namespace tivra
