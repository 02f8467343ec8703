// Windows-1252, the code page of every text the editor holds.
//
// The five codes that the code page leaves unassigned (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) map to the C1 control characters of the same value, so that
// every byte survives a trip to Unicode and back.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The Unicode code point of one Windows-1252 byte.
char32_t cp1252ToUnicode(unsigned char byte);

// The Windows-1252 byte of a code point, or -1 when the code page lacks it.
int unicodeToCp1252(char32_t codePoint);

// UTF-8 <-> Windows-1252 for code that does not use Qt; characters outside
// the code page (and malformed UTF-8) become '?'.
std::string cp1252FromUtf8(std::string_view utf8);
std::string utf8FromCp1252(std::string_view bytes);

}  // namespace platform
