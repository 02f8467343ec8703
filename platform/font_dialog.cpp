// ChooseFont: the font dialog for callers that speak LOGFONT (the editor
// control), through the interaction seam's font request.
#include "common_dialogs.h"
#include "gdi_internal.h"
#include "interaction.h"
#include "qtext.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

double screenDpi() {
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->logicalDotsPerInchY() : 96.0;
}

// The dialog works in points; LOGFONT heights are pixels at the screen's
// resolution (negative: the character height).
QFont dialogFont(const LOGFONT& lf) {
  QFont f = platform::detail::fontFromLogFont(lf, nullptr);
  if (f.pixelSize() > 0) f.setPointSizeF(f.pixelSize() * 72.0 / screenDpi());
  return f;
}

void toLogFont(const QFont& f, LOGFONT* lf, double* points) {
  const double pt = f.pointSizeF() > 0 ? f.pointSizeF() : f.pixelSize() * 72.0 / screenDpi();
  *points = pt;
  *lf = LOGFONT{};
  lf->lfHeight = -std::max<LONG>(1, static_cast<LONG>(std::lround(pt * screenDpi() / 72.0)));
  lf->lfWeight = std::clamp<LONG>(f.weight(), FW_THIN, FW_HEAVY);
  lf->lfItalic = f.italic() ? 1 : 0;
  lf->lfUnderline = f.underline() ? 1 : 0;
  lf->lfStrikeOut = f.strikeOut() ? 1 : 0;
  lf->lfCharSet = ANSI_CHARSET;
  lf->lfPitchAndFamily = QFontInfo(f).fixedPitch() ? (FIXED_PITCH | FF_MODERN) : (VARIABLE_PITCH | FF_DONTCARE);
  const std::string face = platform::toCp1252(f.family());
  std::strncpy(lf->lfFaceName, face.c_str(), LF_FACESIZE - 1);
}

}  // namespace

BOOL ChooseFont(LPCHOOSEFONT cf) {
  platform::detail::setCommonDialogError(0);
  if (!cf || cf->lStructSize != sizeof(CHOOSEFONT) || !cf->lpLogFont) {
    platform::detail::setCommonDialogError(CDERR_STRUCTSIZE);
    return FALSE;
  }
  LOGFONT start{};
  if (cf->Flags & CF_INITTOLOGFONTSTRUCT)
    start = *cf->lpLogFont;
  else
    start.lfHeight = -MulDiv(10, static_cast<int>(std::lround(screenDpi())), 72);
  platform::FontDialogRequest data;
  data.font = dialogFont(start);
  platform::Request r(platform::RequestKind::Font);
  r.owner = cf->hwndOwner;
  r.caption = QStringLiteral("Skrifttype");
  r.data = &data;
  if (!platform::ask(r)) return FALSE;
  double points = 0;
  toLogFont(data.font, cf->lpLogFont, &points);
  cf->iPointSize = static_cast<INT>(std::lround(points * 10));
  return TRUE;
}
