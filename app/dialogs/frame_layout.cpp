#include "dialogs/frame_layout.h"

#include "ascii.h"

#include <algorithm>
#include <numeric>

namespace morvel {

namespace {

using Shares = std::vector<Share*>;

Shares sharesOf(std::vector<Division>& divisions) {
  Shares shares;
  for (Division& d : divisions) shares.push_back(&d.size);
  return shares;
}

Shares sharesOf(Division& division) {
  Shares shares;
  for (LayoutFrame& f : division.frames) shares.push_back(&f.size);
  return shares;
}

void setPercent(Share& share, int percent, int factor) {
  share.percent = percent;
  share.pixels = percent * factor;
}

int sumOf(const Shares& shares) {
  return std::accumulate(shares.begin(), shares.end(), 0, [](int sum, const Share* s) { return sum + s->percent; });
}

// Lowers the shares in `order`, each as far as 10, until `amount` is taken.
void takeFrom(const Shares& shares, const std::vector<int>& order, int amount, int factor) {
  for (const int j : order) {
    if (amount <= 0) return;
    Share& s = *shares[static_cast<std::size_t>(j)];
    const int take = std::min(amount, s.percent - kSmallestShare);
    if (take <= 0) continue;
    setPercent(s, s.percent - take, factor);
    amount -= take;
  }
}

// Brings the sum back to 100 after share `changed` changed: the others are
// tried from the one after it round to the one before it, or, for the last
// share, from the one before it backwards. What is given goes to the first
// of them above 10 (or the first of them when none is); what is needed is
// taken from them in turn, each only as far as 10.
void absorbChange(const Shares& shares, int changed, int factor) {
  const int n = static_cast<int>(shares.size());
  const int difference = 100 - sumOf(shares);
  if (difference == 0 || n < 2) return;
  std::vector<int> order;
  if (changed < n - 1) {
    for (int k = 1; k < n; ++k) order.push_back((changed + k) % n);
  } else {
    for (int j = n - 2; j >= 0; --j) order.push_back(j);
  }
  if (difference < 0) {
    takeFrom(shares, order, -difference, factor);
    return;
  }
  int receiver = order.front();
  for (const int j : order) {
    if (shares[static_cast<std::size_t>(j)]->percent > kSmallestShare) {
      receiver = j;
      break;
    }
  }
  Share& r = *shares[static_cast<std::size_t>(receiver)];
  setPercent(r, r.percent + difference, factor);
}

// The new share `added` (the last) has 10: the nearest share before it of
// at least 20 gives them; when none has that much, those before it give
// what they can, nearest first.
void makeRoomFor(const Shares& shares, int added, int factor) {
  setPercent(*shares[static_cast<std::size_t>(added)], kSmallestShare, factor);
  std::vector<int> before;
  for (int j = added - 1; j >= 0; --j) before.push_back(j);
  for (const int j : before) {
    Share& s = *shares[static_cast<std::size_t>(j)];
    if (s.percent >= 2 * kSmallestShare) {
      setPercent(s, s.percent - kSmallestShare, factor);
      return;
    }
  }
  takeFrom(shares, before, kSmallestShare, factor);
}

SizeLimits limitsOf(const Share& share, int count, int factor) {
  const int a = share.inPercent ? 1 : factor;
  const int step = share.inPercent ? 1 : 10;
  if (count <= 1) return {100 * a, 100 * a, step};
  return {kSmallestShare * a, a * (100 - kSmallestShare * (count - 1)), step};
}

void setTypedSize(const Shares& shares, int changed, int typed, int factor) {
  Share& s = *shares[static_cast<std::size_t>(changed)];
  const SizeLimits limits = limitsOf(s, static_cast<int>(shares.size()), factor);
  if (shares.size() < 2) return;
  typed = std::clamp(typed, limits.minimum, limits.maximum);
  if (s.inPercent) {
    setPercent(s, typed, factor);
  } else {
    s.percent = typed / factor;
    s.pixels = typed;
  }
  absorbChange(shares, changed, factor);
}

LayoutFrame newFrame(int division, int frame, int factor) {
  LayoutFrame f;
  setPercent(f.size, 100, factor);
  f.settings.name = defaultFrameName(division + 1, frame + 1);
  return f;
}

// The divisions' or frames' list of sizes: the last share in percent mode
// (the first share when none is) fills the rest.
std::string sizeList(const std::vector<const Share*>& shares) {
  int rest = 0;
  for (int j = static_cast<int>(shares.size()) - 1; j >= 0; --j) {
    if (shares[static_cast<std::size_t>(j)]->inPercent) {
      rest = j;
      break;
    }
  }
  std::string list = "\"";
  for (std::size_t j = 0; j < shares.size(); ++j) {
    if (j > 0) list += ",";
    const Share& s = *shares[j];
    if (static_cast<int>(j) == rest)
      list += "*";
    else
      list += s.inPercent ? std::to_string(s.percent) + "%" : std::to_string(s.pixels);
  }
  return list + "\"";
}

std::string scrollingValue(FrameScrolling scrolling) {
  switch (scrolling) {
    case FrameScrolling::Yes:
      return "\"YES\"";
    case FrameScrolling::No:
      return "\"NO\"";
    case FrameScrolling::Auto:
      break;
  }
  return "\"AUTO\"";
}

}  // namespace

std::string defaultFrameName(int division, int frame) {
  return "Ramme " + std::to_string(division) + "." + std::to_string(frame);
}

FrameLayout::FrameLayout() {
  setDivisionCount(2);
  for (Division& d : divisions_) setPercent(d.size, 50, divisionFactor());
}

FrameSettings& FrameLayout::settings(int d, int f) {
  return divisions_[static_cast<std::size_t>(d)].frames[static_cast<std::size_t>(f)].settings;
}

void FrameLayout::setColumns(bool columns) {
  columns_ = columns;
  for (Division& d : divisions_) {
    setPercent(d.size, d.size.percent, divisionFactor());
    for (LayoutFrame& f : d.frames) setPercent(f.size, f.size.percent, frameFactor());
  }
}

void FrameLayout::setDivisionCount(int count) {
  count = std::clamp(count, 1, kMostDivisions);
  const int before = divisionCount();
  if (count < before) {
    int freed = 0;
    for (int d = count; d < before; ++d) freed += division(d).size.percent;
    divisions_.resize(static_cast<std::size_t>(count));
    Share& last = divisions_.back().size;
    setPercent(last, last.percent + freed, divisionFactor());
    return;
  }
  for (int d = before; d < count; ++d) {
    Division added;
    added.frames.push_back(newFrame(d, 0, frameFactor()));
    divisions_.push_back(std::move(added));
    if (d == 0)
      setPercent(divisions_.front().size, 100, divisionFactor());
    else
      makeRoomFor(sharesOf(divisions_), d, divisionFactor());
  }
}

void FrameLayout::setFrameCount(int d, int count) {
  count = std::clamp(count, 1, kMostFrames);
  Division& division = divisions_[static_cast<std::size_t>(d)];
  const int before = frameCount(d);
  if (count < before) {
    int freed = 0;
    for (int f = count; f < before; ++f) freed += frame(d, f).size.percent;
    division.frames.resize(static_cast<std::size_t>(count));
    Share& last = division.frames.back().size;
    setPercent(last, last.percent + freed, frameFactor());
    return;
  }
  for (int f = before; f < count; ++f) {
    division.frames.push_back(newFrame(d, f, frameFactor()));
    makeRoomFor(sharesOf(division), f, frameFactor());
  }
}

void FrameLayout::setDivisionSize(int d, int typed) { setTypedSize(sharesOf(divisions_), d, typed, divisionFactor()); }

void FrameLayout::setFrameSize(int d, int f, int typed) {
  setTypedSize(sharesOf(divisions_[static_cast<std::size_t>(d)]), f, typed, frameFactor());
}

void FrameLayout::setDivisionPercentMode(int d, bool percent) {
  Share& s = divisions_[static_cast<std::size_t>(d)].size;
  s.inPercent = percent;
  setPercent(s, s.percent, divisionFactor());
}

void FrameLayout::setFramePercentMode(int d, int f, bool percent) {
  Share& s = divisions_[static_cast<std::size_t>(d)].frames[static_cast<std::size_t>(f)].size;
  s.inPercent = percent;
  setPercent(s, s.percent, frameFactor());
}

SizeLimits FrameLayout::divisionLimits(int d) const {
  return limitsOf(division(d).size, divisionCount(), divisionFactor());
}

SizeLimits FrameLayout::frameLimits(int d, int f) const {
  return limitsOf(frame(d, f).size, frameCount(d), frameFactor());
}

std::string frameSetCode(const FrameLayout& layout, bool borderVisible, int thickness, std::string_view noFramesText) {
  const std::string first = layout.columns() ? " COLS=" : " ROWS=";
  const std::string second = layout.columns() ? " ROWS=" : " COLS=";
  std::vector<const Share*> divisions;
  for (int d = 0; d < layout.divisionCount(); ++d) divisions.push_back(&layout.division(d).size);
  const std::string border = std::to_string(thickness);
  std::string code = "<FRAMESET FRAMEBORDER=" + std::string(borderVisible ? "\"1\" " : "\"0\" ") + "FRAMESPACING=\"" +
                     border + "\" BORDER=\"" + border + "\"" + first + sizeList(divisions) + second + "\"100%\">";
  for (int d = 0; d < layout.divisionCount(); ++d) {
    const bool several = layout.frameCount(d) > 1;
    if (several) {
      std::vector<const Share*> frames;
      for (int f = 0; f < layout.frameCount(d); ++f) frames.push_back(&layout.frame(d, f).size);
      code += "\r\n\t<FRAMESET" + second + sizeList(frames) + ">";
    }
    for (int f = 0; f < layout.frameCount(d); ++f)
      code += std::string(several ? "\r\n\t\t" : "\r\n\t") + frameCode(layout.frame(d, f).settings, "");
    if (several) code += "\r\n\t</FRAMESET>";
  }
  code += "\r\n</FRAMESET>";
  if (!noFramesText.empty()) code += "\r\n\r\n<NOFRAMES>\r\n" + std::string(noFramesText) + "\r\n</NOFRAMES>";
  return code;
}

std::string frameCode(const FrameSettings& frame, std::string_view keptAttributes) {
  std::string code = "<FRAME SRC=\"" + frame.address + "\"";
  if (!frame.name.empty()) code += " NAME=\"" + frame.name + "\"";
  code += " SCROLLING=" + scrollingValue(frame.scrolling);
  if (frame.marginHeight != 10) code += " MARGINHEIGHT=\"" + std::to_string(frame.marginHeight) + "\"";
  if (frame.marginWidth != 10) code += " MARGINWIDTH=\"" + std::to_string(frame.marginWidth) + "\"";
  if (!frame.resizable) code += " NORESIZE";
  code += withoutFlag(keptAttributes, "NORESIZE");
  code += ">";
  return code;
}

FrameSettings frameSettings(const FrameAttributes& a) {
  FrameSettings frame;
  frame.name = a.name;
  frame.address = a.src;
  frame.marginHeight = wholeNumber(a.marginHeight).value_or(10);
  frame.marginWidth = wholeNumber(a.marginWidth).value_or(10);
  const std::string scrolling = ascii::upperCopy(a.scrolling);
  frame.scrolling = scrolling == "YES"  ? FrameScrolling::Yes
                    : scrolling == "NO" ? FrameScrolling::No
                                        : FrameScrolling::Auto;
  frame.resizable = !a.noResize;
  return frame;
}

}  // namespace morvel
