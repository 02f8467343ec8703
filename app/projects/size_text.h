// A file size as the file lists, the project lists and the properties show
// it, from a size in bytes.
#pragma once

#include <cstdint>
#include <string>

namespace morvel {

// "7.654.321 bytes"
std::string longSizeText(std::uint64_t bytes);
// "0,5 KB", "1,2 KB", "1,90 MB"
std::string shortSizeText(std::uint64_t bytes);
// "1,2 KB (1.234 bytes)"
std::string combinedSizeText(std::uint64_t bytes);

}  // namespace morvel
