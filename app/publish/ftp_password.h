// The stored form of a connection's password (the value "Kodeord"): the
// program's own reversible scrambling. It keeps the password from being read
// at a glance and nothing more; what protects it is the settings store's
// mode 0600.
//
// The password's bytes (UTF-8) as a short string: a length byte and at most
// 255 bytes. Its bytes are read in pairs as little-endian words, and each
// word plus 52831 is written as a decimal number of at least five digits.
// The bytes after the password are filler: the password repeated, or for an
// empty password the tick count's digits, so that an empty password looks
// like any other.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace morvel::ftp {

inline constexpr unsigned kScrambleOffset = 52831;

std::string scramblePassword(std::string_view password, std::uint32_t tickCount);

// The password back; empty for a value that is missing or damaged. A word
// whose sum with the offset reached six digits (a byte from 0xB8 up in the
// high half, a Danish letter for one) was written with six digits; only those
// groups begin with "1", so they are read whole.
std::string unscramblePassword(std::string_view stored);

}  // namespace morvel::ftp
