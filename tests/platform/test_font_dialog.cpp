// ChooseFont through the interaction seam: what the dialog starts with and
// what its choice becomes in the caller's LOGFONT.
#include "common_dialogs.h"
#include "scripted_responder.h"
#include "win32.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>
#include <cstring>

namespace {

int dpi() { return static_cast<int>(std::lround(QGuiApplication::primaryScreen()->logicalDotsPerInchY())); }

CHOOSEFONT record(LOGFONT* lf) {
  CHOOSEFONT cf{};
  cf.lStructSize = sizeof cf;
  cf.lpLogFont = lf;
  cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
  return cf;
}

TEST(FontDialog, StartsFromTheLogFontAndReturnsTheChoice) {
  testing_support::ScriptedResponder responder;
  LOGFONT lf{};
  lf.lfHeight = -MulDiv(10, dpi(), 72);
  lf.lfWeight = FW_NORMAL;
  std::strcpy(lf.lfFaceName, "DejaVu Sans");
  QFont shown;
  responder.answer([&](platform::Request& r) {
    EXPECT_EQ(r.kind, platform::RequestKind::Font);
    auto& request = *static_cast<platform::FontDialogRequest*>(r.data);
    shown = request.font;
    request.font = QFont("DejaVu Sans Mono");
    request.font.setPointSize(20);
    request.font.setBold(true);
    request.font.setItalic(true);
    return 1;
  });
  CHOOSEFONT cf = record(&lf);
  ASSERT_TRUE(ChooseFont(&cf));
  EXPECT_EQ(shown.family(), "DejaVu Sans");
  EXPECT_NEAR(shown.pointSizeF(), 10.0, 0.5);
  EXPECT_STREQ(lf.lfFaceName, "DejaVu Sans Mono");
  EXPECT_EQ(lf.lfHeight, -MulDiv(20, dpi(), 72));
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfItalic, 1);
  EXPECT_EQ(lf.lfPitchAndFamily & 0x0F, FIXED_PITCH);
  EXPECT_EQ(cf.iPointSize, 200);
}

TEST(FontDialog, CancelAndBadRecordsLeaveTheFont) {
  testing_support::ScriptedResponder responder;
  LOGFONT lf{};
  lf.lfHeight = -13;
  std::strcpy(lf.lfFaceName, "Courier New");
  const LOGFONT before = lf;
  responder.answer(0);
  CHOOSEFONT cf = record(&lf);
  EXPECT_FALSE(ChooseFont(&cf));
  EXPECT_EQ(CommDlgExtendedError(), 0u) << "cancelled, not failed";
  EXPECT_EQ(std::memcmp(&lf, &before, sizeof lf), 0);

  cf.lStructSize = 3;
  EXPECT_FALSE(ChooseFont(&cf));
  EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);
  EXPECT_FALSE(ChooseFont(nullptr));
}

}  // namespace
