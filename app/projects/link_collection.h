// The link collection: the addresses a page refers to, by the kind of
// element that names them (frames, links, pictures, backgrounds, embedded
// objects, applets, ActiveX objects and link targets). Only double-quoted
// values are found. Texts are Windows-1252 bytes; paths are the file
// system's bytes.
//
// Each kind is one pass over the page that only moves forwards, so a page
// costs time in proportion to its length for each kind asked for, whatever
// it holds (unclosed quotes, elements without an end).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvel {

enum class LinkKind { Frame = 1, Link, Picture, Background, Embedded, Applet, ActiveX, Target };

// The picture a row shows, by its kind and, for a local link, by the
// extension of the file it names.
enum class LinkIcon {
  Frame,
  Web,
  Internal,
  Email,
  Program,
  Archive,
  Sound,
  Text,
  Page,
  Picture,
  Embedded,
  Java,
  ActiveX,
  Target
};

struct LinkOptions {
  LinkKind first = LinkKind::Frame;
  LinkKind last = LinkKind::ActiveX;
  // Links (and targets) only to files of the kinds a site ships beside its
  // pages: ".exe", ".zip", ".wav", ".txt" and ".mid". They get a size.
  bool fileTypesOnly = false;
  // What pictures, backgrounds and embedded objects show besides their
  // address. The other kinds always have a description and a type.
  bool mediaDescriptions = true;
  bool mediaSizes = false;
  bool mediaTypes = true;
};

struct LinkRow {
  LinkKind kind = LinkKind::Link;
  LinkIcon icon = LinkIcon::Page;
  std::string address;  // "#name" for a link target
  std::optional<std::string> description;
  std::optional<std::string> size;  // the short size text of the file
  std::optional<std::string> type;  // "Web", "Lokal", "Grafik", ...

  bool operator==(const LinkRow&) const = default;
};

// How much of the page the collection read, for the tests that hold it to
// its length.
struct LinkScanCost {
  std::size_t bytesExamined = 0;
};

// The rows of `page` (its lines joined already), kind after kind and in
// the order they stand. Sizes are those of the files at `folder` (ending in
// "/") followed by the address.
std::vector<LinkRow> collectLinks(std::string_view page, const std::string& folder, const LinkOptions& options,
                                  LinkScanCost* cost = nullptr);

// The same for the page in a file; nothing when the file cannot be read.
std::vector<LinkRow> collectLinksOfFile(const std::string& path, const LinkOptions& options);

// A page's lines joined without anything between them: its line ends taken
// out, so that an element written over two lines is found whole.
std::string joinedLines(std::string_view content);

// Whether a row of type `type` shows under the filter `word` ("Intern"
// shows "Intern" and "Internt mål"; "Ramme" both kinds of frames).
bool shownByFilter(std::string_view type, std::string_view word);

// The short size text of the file at `folder` followed by `address`;
// "0,0 KB" when there is no such file.
std::string sizeOfLinkedFile(const std::string& folder, std::string_view address);

// The folder of a file's path, ending in "/".
std::string folderOf(const std::string& path);

}  // namespace morvel
