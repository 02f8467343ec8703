#include "projects/size_text.h"

namespace morvel {

namespace {

constexpr std::uint64_t kKilobyte = 1024;
constexpr std::uint64_t kMegabyte = 1024 * 1024;

// The figure with a decimal comma before its last `decimals` digits.
std::string withDecimalComma(std::uint64_t figure, size_t decimals) {
  std::string digits = std::to_string(figure);
  if (digits.size() <= decimals) digits = std::string(decimals + 1 - digits.size(), '0') + digits;
  const size_t whole = digits.size() - decimals;
  return digits.substr(0, whole) + ',' + digits.substr(whole);
}

}  // namespace

std::string longSizeText(std::uint64_t bytes) {
  // Points before the last three digits, and before the last six once the
  // text is longer than seven characters.
  std::string text = std::to_string(bytes);
  auto pointAt = [&text](size_t fromEnd) {
    text = text.substr(0, text.size() - fromEnd) + '.' + text.substr(text.size() - fromEnd);
  };
  if (text.size() > 3) pointAt(3);
  if (text.size() > 7) pointAt(7);
  return text + " bytes";
}

std::string shortSizeText(std::uint64_t bytes) {
  if (bytes > kMegabyte) return withDecimalComma(bytes * 10 / kMegabyte * 10, 2) + " MB";
  std::uint64_t tenths = bytes * 10 / kKilobyte;
  // A file that holds anything never shows as empty.
  if (bytes > 0 && tenths == 0) tenths = 1;
  return withDecimalComma(tenths, 1) + " KB";
}

std::string combinedSizeText(std::uint64_t bytes) { return shortSizeText(bytes) + " (" + longSizeText(bytes) + ")"; }

}  // namespace morvel
