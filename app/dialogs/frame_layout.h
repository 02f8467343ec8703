// The layout the frames dialog builds: the browser window divided into
// rows or columns (divisions), each divided again into frames, with the
// sizes as shares of 100 and the settings of every frame; and the frame
// set code made from it. Pixel sizes stand for an 800 x 600 screen.
// Texts are Windows-1252 bytes.
#pragma once

#include "dialogs/edited_element.h"

#include <string>
#include <string_view>
#include <vector>

namespace morvel {

enum class FrameScrolling { Auto, Yes, No };

struct FrameSettings {
  std::string name;
  std::string address;
  int marginHeight = 10;
  int marginWidth = 10;
  FrameScrolling scrolling = FrameScrolling::Auto;
  bool resizable = true;
};

// A division's or a frame's size: its share of 100, and the pixel size it
// is written as while `percent` is off.
struct Share {
  int percent = 100;
  int pixels = 0;
  bool inPercent = true;
};

struct LayoutFrame {
  Share size;
  FrameSettings settings;
};

struct Division {
  Share size;
  std::vector<LayoutFrame> frames;
};

// The range a size field takes in the mode of its share.
struct SizeLimits {
  int minimum = 0;
  int maximum = 0;
  int step = 1;
};

inline constexpr int kMostDivisions = 9;
inline constexpr int kMostFrames = 9;
inline constexpr int kSmallestShare = 10;

// "Ramme 2.1": the name a new frame gets, by division and frame from 1.
std::string defaultFrameName(int division, int frame);

// Every operation keeps the shares of the divisions, and of the frames of
// each division, at a sum of 100 with none below 10. Divisions and frames
// are counted from 0 here.
class FrameLayout {
 public:
  // Two rows of 50 %, one frame in each.
  FrameLayout();

  bool columns() const { return columns_; }
  // The pixel sizes follow: a row is a height (6 pixels a percent), a
  // column a width (8 pixels a percent); frames the other way.
  void setColumns(bool columns);
  int divisionFactor() const { return columns_ ? 8 : 6; }
  int frameFactor() const { return columns_ ? 6 : 8; }

  int divisionCount() const { return static_cast<int>(divisions_.size()); }
  const Division& division(int d) const { return divisions_[static_cast<std::size_t>(d)]; }
  int frameCount(int d) const { return static_cast<int>(division(d).frames.size()); }
  const LayoutFrame& frame(int d, int f) const { return division(d).frames[static_cast<std::size_t>(f)]; }
  FrameSettings& settings(int d, int f);

  // 1..9. A new division gets 10 % (taken from the nearest division before
  // it that can give it) and one frame; a removed one's share goes to the
  // new last division.
  void setDivisionCount(int count);
  // The same for the frames of division d.
  void setFrameCount(int d, int count);

  // A size as typed in the share's mode, brought into its limits; the
  // change is taken up by the other shares.
  void setDivisionSize(int d, int typed);
  void setFrameSize(int d, int f, int typed);
  void setDivisionPercentMode(int d, bool percent);
  void setFramePercentMode(int d, int f, bool percent);

  SizeLimits divisionLimits(int d) const;
  SizeLimits frameLimits(int d, int f) const;
  // What the size field of the share shows: its percent, or its pixels.
  static int shownSize(const Share& share) { return share.inPercent ? share.percent : share.pixels; }

 private:
  std::vector<Division> divisions_;
  bool columns_ = false;
};

// The whole frame set: the outer FRAMESET with the border and the division
// sizes, a FRAMESET of its own for each division of several frames, one
// FRAME line per frame, and a NOFRAMES section for a text that is not
// empty. The last share in percent mode of each list is written as "*".
std::string frameSetCode(const FrameLayout& layout, bool borderVisible, int thickness, std::string_view noFramesText);

// <FRAME SRC NAME SCROLLING MARGINHEIGHT MARGINWIDTH NORESIZE kept>: the
// name only when not empty, the margins only when not 10, NORESIZE from
// the settings (a NORESIZE among the kept attributes gives way to it).
std::string frameCode(const FrameSettings& frame, std::string_view keptAttributes);

// The settings of an edited <FRAME>: margins that are not numbers stay 10,
// scrolling "YES" and "NO" in any case, else automatic.
FrameSettings frameSettings(const FrameAttributes& frame);

}  // namespace morvel
