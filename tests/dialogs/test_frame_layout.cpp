// The frames dialog's layout: divisions and frames whose shares always make
// 100, and the frame set code written from it.
#include "dialogs/frame_layout.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

namespace {

using morvel::FrameLayout;

std::vector<int> divisionShares(const FrameLayout& layout) {
  std::vector<int> shares;
  for (int d = 0; d < layout.divisionCount(); ++d) shares.push_back(layout.division(d).size.percent);
  return shares;
}

std::vector<int> frameShares(const FrameLayout& layout, int d) {
  std::vector<int> shares;
  for (int f = 0; f < layout.frameCount(d); ++f) shares.push_back(layout.frame(d, f).size.percent);
  return shares;
}

const std::string kDefaultFrames =
    "\r\n\t<FRAME SRC=\"\" NAME=\"Ramme 1.1\" SCROLLING=\"AUTO\">\r\n\t<FRAME SRC=\"\" NAME=\"Ramme 2.1\" "
    "SCROLLING=\"AUTO\">\r\n</FRAMESET>";

TEST(FrameLayout, ANewLayoutIsTwoRowsOfHalfWithOneFrameEach) {
  const FrameLayout layout;
  EXPECT_FALSE(layout.columns());
  EXPECT_EQ(divisionShares(layout), (std::vector<int>{50, 50}));
  EXPECT_EQ(frameShares(layout, 0), (std::vector<int>{100}));
  EXPECT_EQ(layout.frame(1, 0).settings.name, "Ramme 2.1");
  EXPECT_EQ(
      morvel::frameSetCode(layout, true, 5, ""),
      "<FRAMESET FRAMEBORDER=\"1\" FRAMESPACING=\"5\" BORDER=\"5\" ROWS=\"50%,*\" COLS=\"100%\">" + kDefaultFrames);
  EXPECT_EQ(
      morvel::frameSetCode(layout, false, 0, ""),
      "<FRAMESET FRAMEBORDER=\"0\" FRAMESPACING=\"0\" BORDER=\"0\" ROWS=\"50%,*\" COLS=\"100%\">" + kDefaultFrames);
}

TEST(FrameLayout, RaisingTheCountGivesTheNewRowTenTakenFromAnEarlierRowOfTwentyOrMore) {
  FrameLayout layout;
  layout.setDivisionCount(3);
  EXPECT_EQ(divisionShares(layout), (std::vector<int>{50, 40, 10}));
  // What row 2 gives up goes to the first row after it, round from the
  // last to the first, that is above 10.
  layout.setDivisionSize(1, 15);
  EXPECT_EQ(divisionShares(layout), (std::vector<int>{75, 15, 10}));
  layout.setDivisionCount(5);  // only row 1 has 20 to give
  EXPECT_EQ(divisionShares(layout), (std::vector<int>{55, 15, 10, 10, 10}));
  // Lowering the count gives the removed shares to the new last row.
  layout.setDivisionCount(2);
  EXPECT_EQ(divisionShares(layout), (std::vector<int>{55, 45}));
  EXPECT_EQ(layout.frame(1, 0).settings.name, "Ramme 2.1");
  layout.setDivisionCount(3);
  EXPECT_EQ(layout.frame(2, 0).settings.name, "Ramme 3.1");
}

TEST(FrameLayout, AChangeMoreThanOneRowCanGiveIsTakenFromTheRowsAfterIt) {
  FrameLayout layout;
  layout.setDivisionCount(3);
  layout.setDivisionSize(0, 30);
  layout.setDivisionSize(2, 40);
  ASSERT_EQ(divisionShares(layout), (std::vector<int>{30, 30, 40}));
  // Row 2 alone could give only 20 of the 50 without going below 10.
  layout.setDivisionSize(0, 80);
  EXPECT_EQ(divisionShares(layout), (std::vector<int>{80, 10, 10}));
  // The last row takes from the rows before it, nearest first.
  layout.setDivisionSize(2, 50);
  EXPECT_EQ(divisionShares(layout), (std::vector<int>{40, 10, 50}));
}

TEST(FrameLayout, SharesOfFortyThirtyThirtyWriteTheLastAsTheRest) {
  FrameLayout layout;
  layout.setDivisionCount(3);
  // 50/40/10: the last row's growth comes from the row before it, the first
  // row's loss goes to the row after it.
  layout.setDivisionSize(2, 30);
  EXPECT_EQ(divisionShares(layout), (std::vector<int>{50, 20, 30}));
  layout.setDivisionSize(0, 40);
  EXPECT_EQ(divisionShares(layout), (std::vector<int>{40, 30, 30}));
  const std::string code = morvel::frameSetCode(layout, true, 5, "");
  EXPECT_NE(code.find(" ROWS=\"40%,30%,*\" COLS=\"100%\">"), std::string::npos) << code;
}

TEST(FrameLayout, PixelSizesStandForAnEightHundredBySixHundredScreen) {
  FrameLayout layout;
  // A row of 120 pixels (20 %) and a row in percent: "120,*".
  layout.setDivisionPercentMode(0, false);
  EXPECT_EQ(layout.division(0).size.pixels, 300);  // 50 % of 600
  EXPECT_EQ(layout.divisionLimits(0).minimum, 60);
  EXPECT_EQ(layout.divisionLimits(0).maximum, 540);
  EXPECT_EQ(layout.divisionLimits(0).step, 10);
  layout.setDivisionSize(0, 120);
  EXPECT_EQ(divisionShares(layout), (std::vector<int>{20, 80}));
  std::string code = morvel::frameSetCode(layout, true, 5, "");
  EXPECT_NE(code.find(" ROWS=\"120,*\""), std::string::npos) << code;
  // All rows in pixels: the first is the rest.
  layout.setDivisionPercentMode(1, false);
  code = morvel::frameSetCode(layout, true, 5, "");
  EXPECT_NE(code.find(" ROWS=\"*,480\""), std::string::npos) << code;
  // A typed size is brought into its limits.
  layout.setDivisionSize(0, 5000);
  EXPECT_EQ(layout.division(0).size.pixels, 540);
  EXPECT_EQ(divisionShares(layout), (std::vector<int>{90, 10}));

  // With columns a division is a width (8 pixels a percent) and a frame a
  // height (6).
  layout.setColumns(true);
  EXPECT_EQ(layout.division(0).size.pixels, 720);
  EXPECT_EQ(layout.division(1).size.pixels, 80);
  code = morvel::frameSetCode(layout, true, 5, "");
  EXPECT_NE(code.find(" COLS=\"*,80\" ROWS=\"100%\">"), std::string::npos) << code;
}

TEST(FrameLayout, FramesOfADivisionGetAFrameSetOfTheirOwn) {
  FrameLayout layout;
  layout.setFrameCount(0, 2);
  EXPECT_EQ(frameShares(layout, 0), (std::vector<int>{90, 10}));
  layout.setFrameSize(0, 0, 60);
  EXPECT_EQ(frameShares(layout, 0), (std::vector<int>{60, 40}));
  // A single frame fills its division.
  EXPECT_EQ(layout.frameLimits(1, 0).minimum, 100);
  EXPECT_EQ(layout.frameLimits(1, 0).maximum, 100);
  layout.setFrameSize(1, 0, 50);
  EXPECT_EQ(frameShares(layout, 1), (std::vector<int>{100}));

  morvel::FrameSettings& top = layout.settings(0, 1);
  top.address = "menu.htm";
  top.name = "";
  top.marginHeight = 0;
  top.scrolling = morvel::FrameScrolling::No;
  top.resizable = false;
  layout.settings(1, 0).marginWidth = 4;
  layout.settings(1, 0).scrolling = morvel::FrameScrolling::Yes;
  EXPECT_EQ(morvel::frameSetCode(layout, true, 2, "Din browser kan ikke vise rammer."),
            "<FRAMESET FRAMEBORDER=\"1\" FRAMESPACING=\"2\" BORDER=\"2\" ROWS=\"50%,*\" COLS=\"100%\">\r\n"
            "\t<FRAMESET COLS=\"60%,*\">\r\n"
            "\t\t<FRAME SRC=\"\" NAME=\"Ramme 1.1\" SCROLLING=\"AUTO\">\r\n"
            "\t\t<FRAME SRC=\"menu.htm\" SCROLLING=\"NO\" MARGINHEIGHT=\"0\" NORESIZE>\r\n"
            "\t</FRAMESET>\r\n"
            "\t<FRAME SRC=\"\" NAME=\"Ramme 2.1\" SCROLLING=\"YES\" MARGINWIDTH=\"4\">\r\n"
            "</FRAMESET>\r\n\r\n<NOFRAMES>\r\nDin browser kan ikke vise rammer.\r\n</NOFRAMES>");
}

TEST(FrameCode, AnEditedFrameIsRebuiltAloneWithItsResizingAsTheDialogSays) {
  morvel::FrameAttributes a;
  a.name = "hoved";
  a.src = "start.htm";
  a.marginHeight = "10";
  a.marginWidth = "x";
  a.scrolling = "no";
  a.noResize = true;
  morvel::FrameSettings f = morvel::frameSettings(a);
  EXPECT_EQ(f.marginWidth, 10);
  EXPECT_EQ(f.scrolling, morvel::FrameScrolling::No);
  EXPECT_FALSE(f.resizable);
  // The NORESIZE the tag had is among the kept attributes; the dialog's
  // choice replaces it, in whatever case it was written.
  EXPECT_EQ(morvel::frameCode(f, " noresize CLASS=\"k\""),
            "<FRAME SRC=\"start.htm\" NAME=\"hoved\" SCROLLING=\"NO\" NORESIZE CLASS=\"k\">");
  f.resizable = true;
  EXPECT_EQ(morvel::frameCode(f, " NORESIZE"), "<FRAME SRC=\"start.htm\" NAME=\"hoved\" SCROLLING=\"NO\">");
  a.scrolling = "Yes";
  EXPECT_EQ(morvel::frameSettings(a).scrolling, morvel::FrameScrolling::Yes);
  a.scrolling = "sometimes";
  EXPECT_EQ(morvel::frameSettings(a).scrolling, morvel::FrameScrolling::Auto);
}

// Random counts, sizes typed in either unit, units and orientations: every
// division's and every frame's shares make 100, none below 10, and the
// pixel sizes follow the shares.
TEST(FrameLayout, SharesAlwaysMakeAHundredAndNoneIsBelowTen) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    std::mt19937 random(seed);
    auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    FrameLayout layout;
    std::ostringstream steps;
    for (int step = 0; step < 300; ++step) {
      const int d = pick(0, layout.divisionCount() - 1);
      switch (pick(0, 6)) {
        case 0:
          layout.setDivisionCount(pick(1, 9));
          steps << "divisions " << layout.divisionCount() << "; ";
          break;
        case 1:
          layout.setFrameCount(d, pick(1, 9));
          steps << "frames of " << d << " " << layout.frameCount(d) << "; ";
          break;
        case 2: {
          const int typed = pick(-20, 1000);
          layout.setDivisionSize(d, typed);
          steps << "division " << d << " size " << typed << "; ";
          break;
        }
        case 3: {
          const int f = pick(0, layout.frameCount(d) - 1);
          const int typed = pick(-20, 1000);
          layout.setFrameSize(d, f, typed);
          steps << "frame " << d << "." << f << " size " << typed << "; ";
          break;
        }
        case 4:
          layout.setDivisionPercentMode(d, pick(0, 1) == 1);
          steps << "division " << d << " unit; ";
          break;
        case 5:
          layout.setFramePercentMode(d, pick(0, layout.frameCount(d) - 1), pick(0, 1) == 1);
          steps << "frame unit in " << d << "; ";
          break;
        default:
          layout.setColumns(!layout.columns());
          steps << "orientation; ";
          break;
      }
      auto check = [&](const std::vector<const morvel::Share*>& shares, int factor, const char* what) {
        int sum = 0;
        for (const morvel::Share* s : shares) {
          sum += s->percent;
          ASSERT_GE(s->percent, 10) << what << " after " << steps.str();
          if (s->inPercent) {
            ASSERT_EQ(s->pixels, s->percent * factor) << what << " after " << steps.str();
          } else {
            ASSERT_EQ(s->pixels / factor, s->percent) << what << " after " << steps.str();
          }
        }
        ASSERT_EQ(sum, 100) << what << " after " << steps.str();
      };
      std::vector<const morvel::Share*> divisions;
      for (int k = 0; k < layout.divisionCount(); ++k) {
        divisions.push_back(&layout.division(k).size);
        std::vector<const morvel::Share*> frames;
        for (int f = 0; f < layout.frameCount(k); ++f) frames.push_back(&layout.frame(k, f).size);
        check(frames, layout.frameFactor(), "frames");
      }
      check(divisions, layout.divisionFactor(), "divisions");
      if (HasFatalFailure()) return;
    }
  }
}

}  // namespace
