#include "ftp_password.h"

#include <array>
#include <cstdio>

namespace morvel::ftp {

namespace {

constexpr size_t kMaxLength = 255;

// At most 255 bytes, cut where a character begins.
std::string_view shortString(std::string_view text) {
  if (text.size() <= kMaxLength) return text;
  size_t end = kMaxLength;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

}  // namespace

std::string scramblePassword(std::string_view password, std::uint32_t tickCount) {
  const std::string_view text = shortString(password);
  const size_t length = text.size();
  const size_t count = std::max<size_t>(length % 2 ? length + 1 : length + 2, 10);
  std::string content = length > 0 ? std::string(text) : std::to_string(tickCount);
  while (content.size() < 10) content += content;

  std::array<unsigned char, kMaxLength + 1> bytes{};
  bytes[0] = static_cast<unsigned char>(length);
  for (size_t i = 0; i < content.size() && i < kMaxLength; ++i) bytes[i + 1] = static_cast<unsigned char>(content[i]);

  std::string stored;
  for (size_t i = 0; i < count; i += 2) {
    const unsigned word = bytes[i] | (bytes[i + 1] << 8);
    char group[8];
    std::snprintf(group, sizeof group, "%05u", word + kScrambleOffset);
    stored += group;
  }
  return stored;
}

std::string unscramblePassword(std::string_view stored) {
  std::array<unsigned char, kMaxLength + 2> bytes;
  bytes.fill(' ');
  size_t byte = 0;
  for (size_t at = 0; at < stored.size();) {
    const size_t width = stored[at] == '1' ? 6 : 5;
    if (at + width > stored.size()) return {};
    unsigned value = 0;
    for (size_t i = at; i < at + width; ++i) {
      if (stored[i] < '0' || stored[i] > '9') return {};
      value = value * 10 + static_cast<unsigned>(stored[i] - '0');
    }
    const unsigned word = (value + 65536 - kScrambleOffset) % 65536;
    if (byte + 1 < bytes.size()) {
      bytes[byte] = static_cast<unsigned char>(word & 0xff);
      bytes[byte + 1] = static_cast<unsigned char>(word >> 8);
    }
    byte += 2;
    at += width;
  }
  if (byte == 0) return {};
  return std::string(bytes.begin() + 1, bytes.begin() + 1 + bytes[0]);
}

}  // namespace morvel::ftp
