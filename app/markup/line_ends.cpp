#include "markup/line_ends.h"

#include <cstdio>
#include <memory>

namespace morvel {

LineEnd firstLineEnd(std::string_view bytes) {
  const std::size_t at = bytes.find_first_of("\r\n");
  if (at == std::string_view::npos) return LineEnd::CrLf;
  if (bytes[at] == '\n') return LineEnd::Lf;
  return at + 1 < bytes.size() && bytes[at + 1] == '\n' ? LineEnd::CrLf : LineEnd::Cr;
}

std::optional<LineEnd> fileLineEnd(const std::string& path) {
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  const std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
  if (!file) return std::nullopt;
  // Block by block up to the first line end; a CR that ends a block needs
  // the next byte to tell CR LF from a CR alone.
  std::string seen;
  char block[16384];
  for (;;) {
    const std::size_t n = std::fread(block, 1, sizeof block, file.get());
    const std::string_view read(block, n);
    const std::size_t at = read.find_first_of("\r\n");
    if (at != std::string_view::npos) {
      seen.assign(read.substr(at, 2));
      if (seen == "\r" && at + 1 == n) {
        const int next = std::fgetc(file.get());
        if (next != EOF) seen.push_back(static_cast<char>(next));
      }
      return firstLineEnd(seen);
    }
    if (n < sizeof block) return std::ferror(file.get()) ? std::nullopt : std::optional<LineEnd>(LineEnd::CrLf);
  }
}

std::string_view lineEndName(LineEnd end) {
  switch (end) {
    case LineEnd::Lf:
      return "LF";
    case LineEnd::Cr:
      return "CR";
    case LineEnd::CrLf:
      break;
  }
  return "CR LF";
}

}  // namespace morvel
