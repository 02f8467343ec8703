#include "projects/link_collection.h"

#include "ascii.h"
#include "markup/entities.h"
#include "projects/size_text.h"

#include <sys/stat.h>
#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>

namespace morvel {

namespace {

constexpr std::size_t npos = std::string_view::npos;

// A list view shows no more of a text than this; a link text that runs on
// (an "<A" whose "</A>" comes much later) is cut here.
constexpr std::size_t kLongestDescription = 259;

struct KindPattern {
  std::string_view start;
  std::string_view attribute;  // with its double quote
};

constexpr std::array<KindPattern, 8> kPatterns{{
    {"<FRAME ", "SRC=\""},
    {"<A ", "HREF=\""},
    {"<IMG ", "SRC=\""},
    {"<BODY ", "BACKGROUND=\""},
    {"<EMBED ", "SRC=\""},
    {"<APPLET ", "CODE=\""},
    {"<OBJECT ", "CLASSID=\""},
    {"<A ", "NAME=\""},
}};

// Finds a pattern at or after places that only move forwards, each part of
// the text read once: a place found stays the answer until the search
// passes it.
class ForwardFinder {
 public:
  ForwardFinder(std::string_view text, std::string_view pattern, LinkScanCost& cost)
      : text_(text), pattern_(pattern), cost_(cost) {}

  std::size_t from(std::size_t at) {
    if (searched_ && at >= query_ && (found_ == npos || found_ >= at)) {
      query_ = at;
      return found_;
    }
    searched_ = true;
    query_ = at;
    found_ = ascii::findIgnoringCase(text_, pattern_, at);
    const std::size_t end = found_ == npos ? text_.size() : found_ + pattern_.size();
    if (end > at) cost_.bytesExamined += end - at;
    return found_;
  }

 private:
  std::string_view text_;
  std::string_view pattern_;
  LinkScanCost& cost_;
  bool searched_ = false;
  std::size_t query_ = 0;
  std::size_t found_ = npos;
};

std::string lowerCopy(std::string_view text) {
  std::string copy(text);
  for (char& c : copy) c = ascii::lower(c);
  return copy;
}

// The extension of the file an address names, in lower case, with its dot.
std::string extensionOf(std::string_view address) {
  const std::size_t slash = address.find_last_of('/');
  const std::size_t dot = address.rfind('.');
  if (dot == npos || (slash != npos && dot < slash)) return {};
  return lowerCopy(address.substr(dot));
}

bool isSiteFile(std::string_view address) {
  const std::string extension = extensionOf(address);
  return extension == ".exe" || extension == ".zip" || extension == ".wav" || extension == ".txt" ||
         extension == ".mid";
}

std::string linkType(std::string_view address) {
  const std::string lower = lowerCopy(address);
  if (lower.find("http") != npos) return "Web";
  if (!address.empty() && address.front() == '#') return "Intern";
  if (lower.find("mailto") != npos) return "E-mail";
  return "Lokal";
}

LinkIcon localLinkIcon(std::string_view address) {
  const std::string extension = extensionOf(address);
  if (extension == ".exe") return LinkIcon::Program;
  if (extension == ".zip") return LinkIcon::Archive;
  if (extension == ".wav" || extension == ".mid" || extension == ".au") return LinkIcon::Sound;
  if (extension == ".txt") return LinkIcon::Text;
  return LinkIcon::Page;
}

LinkIcon linkIcon(const std::string& type, std::string_view address) {
  if (type == "Web") return LinkIcon::Web;
  if (type == "Intern") return LinkIcon::Internal;
  if (type == "E-mail") return LinkIcon::Email;
  return localLinkIcon(address);
}

std::string shortened(std::string_view text) { return std::string(text.substr(0, kLongestDescription)); }

// One pass over the page for one kind.
class KindScan {
 public:
  KindScan(std::string_view page, LinkKind kind, LinkScanCost& cost)
      : page_(page),
        kind_(kind),
        pattern_(kPatterns[static_cast<std::size_t>(kind) - 1]),
        start_(page, pattern_.start, cost),
        attribute_(page, pattern_.attribute, cost),
        valueEnd_(page, "\"", cost),
        elementEnd_(page, ">", cost),
        linkEnd_(page, "</A>", cost),
        inner_(page, kind == LinkKind::Frame ? "NAME=\"" : "ALT=\"", cost),
        innerEnd_(page, "\"", cost) {}

  // Calls `row(elementStart, valueStart, valueEnd)` for each value found.
  template <typename Row>
  void run(Row row) {
    std::size_t at = 0;
    for (;;) {
      const std::size_t element = start_.from(at);
      if (element == npos) return;
      const std::size_t attribute = attribute_.from(element + pattern_.start.size());
      if (attribute == npos) return;
      const std::size_t value = attribute + pattern_.attribute.size();
      const std::size_t end = valueEnd_.from(value);
      if (end == npos) return;
      row(element, value, end);
      // The page is cut after the attribute: the next element may start in
      // the value.
      at = value;
    }
  }

  // The text of the link whose value ends at `valueEnd`: after the next
  // ">", up to "</A>"; empty without either.
  std::string linkText(std::size_t valueEnd) {
    const std::size_t open = elementEnd_.from(valueEnd);
    if (open == npos) return {};
    const std::size_t close = linkEnd_.from(open + 1);
    if (close == npos) return {};
    std::string text = shortened(page_.substr(open + 1, close - open - 1));
    if (text.find('&') != npos) text = decodeEntities(text);
    return text;
  }

  // The value of NAME= (frames) or ALT= (pictures) inside the element that
  // starts at `element` and ends at the first ">" after the value.
  std::string innerValue(std::size_t element, std::size_t valueEnd) {
    const std::size_t close = elementEnd_.from(valueEnd);
    const std::size_t found = inner_.from(element);
    if (found == npos || (close != npos && found > close)) return {};
    const std::size_t value = found + (kind_ == LinkKind::Frame ? 6 : 5);
    const std::size_t end = innerEnd_.from(value);
    if (end == npos) return {};
    return shortened(page_.substr(value, end - value));
  }

 private:
  std::string_view page_;
  LinkKind kind_;
  KindPattern pattern_;
  ForwardFinder start_;
  ForwardFinder attribute_;
  ForwardFinder valueEnd_;
  ForwardFinder elementEnd_;
  ForwardFinder linkEnd_;
  ForwardFinder inner_;
  ForwardFinder innerEnd_;
};

bool isMedia(LinkKind kind) {
  return kind == LinkKind::Picture || kind == LinkKind::Background || kind == LinkKind::Embedded;
}

std::optional<LinkRow> makeRow(KindScan& scan, LinkKind kind, std::string_view value, std::size_t element,
                               std::size_t valueEnd, const std::string& folder, const LinkOptions& options) {
  LinkRow row;
  row.kind = kind;
  row.address = std::string(value);
  switch (kind) {
    case LinkKind::Frame:
      row.icon = LinkIcon::Frame;
      row.description = scan.innerValue(element, valueEnd);
      row.type = lowerCopy(value).find("http") != npos ? "Ramme (w)" : "Ramme (l)";
      break;
    case LinkKind::Link:
      if (options.fileTypesOnly && !isSiteFile(value)) return std::nullopt;
      row.description = scan.linkText(valueEnd);
      row.type = linkType(value);
      row.icon = linkIcon(*row.type, value);
      if (options.fileTypesOnly && row.type == "Lokal") row.size = sizeOfLinkedFile(folder, value);
      break;
    case LinkKind::Picture:
    case LinkKind::Background:
      row.icon = LinkIcon::Picture;
      if (options.mediaDescriptions) row.description = scan.innerValue(element, valueEnd);
      if (options.mediaTypes) row.type = "Grafik";
      break;
    case LinkKind::Embedded:
      row.icon = LinkIcon::Embedded;
      if (options.mediaDescriptions) row.description = std::string();
      if (options.mediaTypes) row.type = "Embed";
      break;
    case LinkKind::Applet:
      row.icon = LinkIcon::Java;
      row.description = std::string();
      row.type = "Java";
      break;
    case LinkKind::ActiveX:
      row.icon = LinkIcon::ActiveX;
      row.description = std::string();
      row.type = "ActiveX";
      break;
    case LinkKind::Target:
      // A target's address is never a file a site ships.
      if (options.fileTypesOnly) return std::nullopt;
      row.icon = LinkIcon::Target;
      row.address = "#" + row.address;
      row.description = scan.linkText(valueEnd);
      row.type = "Internt m\xE5l";
      break;
  }
  if (isMedia(kind) && options.mediaSizes) row.size = sizeOfLinkedFile(folder, value);
  return row;
}

}  // namespace

std::vector<LinkRow> collectLinks(std::string_view page, const std::string& folder, const LinkOptions& options,
                                  LinkScanCost* cost) {
  LinkScanCost ownCost;
  LinkScanCost& counted = cost ? *cost : ownCost;
  std::vector<LinkRow> rows;
  const int first = std::max(static_cast<int>(options.first), 1);
  const int last = std::min(static_cast<int>(options.last), static_cast<int>(kPatterns.size()));
  for (int k = first; k <= last; ++k) {
    const auto kind = static_cast<LinkKind>(k);
    KindScan scan(page, kind, counted);
    scan.run([&](std::size_t element, std::size_t value, std::size_t end) {
      if (std::optional<LinkRow> row =
              makeRow(scan, kind, page.substr(value, end - value), element, end, folder, options))
        rows.push_back(std::move(*row));
    });
  }
  return rows;
}

std::vector<LinkRow> collectLinksOfFile(const std::string& path, const LinkOptions& options) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return collectLinks(joinedLines(content), folderOf(path), options);
}

std::string joinedLines(std::string_view content) {
  std::string joined;
  joined.reserve(content.size());
  for (char c : content) {
    if (c != '\r' && c != '\n') joined += c;
  }
  return joined;
}

bool shownByFilter(std::string_view type, std::string_view word) { return type.find(word) != npos; }

std::string sizeOfLinkedFile(const std::string& folder, std::string_view address) {
  struct stat info {};
  const std::string path = folder + std::string(address);
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return shortSizeText(0);
  return shortSizeText(static_cast<std::uint64_t>(info.st_size));
}

std::string folderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace morvel
