// How long a page takes to come over a line: the files it loads besides
// itself (pictures, backgrounds, embedded objects, the pages of its frames
// with their pictures, applets, ActiveX objects), their sizes, the sums and
// the theoretical times over a 14.4 and a 28.8 modem and over ISDN.
#pragma once

#include "projects/link_collection.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace morvel {

struct TransferItem {
  LinkIcon icon = LinkIcon::Picture;
  std::string address;
  std::string size;  // the short size text

  bool operator==(const TransferItem&) const = default;
};

// The files the page loads, from the rows of its link collection: the
// pictures, the embedded objects, the local frames (each followed by the
// pictures and backgrounds of its page), the applets and the ActiveX
// objects, each address once whatever its letter case. Sizes are those of
// the files at `folder` (ending in "/") followed by the address.
std::vector<TransferItem> transferItems(const std::vector<LinkRow>& rows, const std::string& folder);

// A size text read back in tenths of a kilobyte: "12,5 KB" is 125; a
// megabyte counts as a thousand kilobytes ("1,90 MB" is 19000). Anything
// that is not a size text counts as 0.
std::int64_t tenthsOfKilobyte(std::string_view sizeText);

// "15,5 KB ", "0,5 KB ": tenths of a kilobyte as the sums show them.
std::string kilobyteSum(std::int64_t tenths);

struct TransferSummary {
  std::string script;  // the page itself
  std::string files;   // what it loads
  std::string total;
  std::string modem144;  // "10 sek."
  std::string modem288;
  std::string isdn;

  bool operator==(const TransferSummary&) const = default;
};

// The sums and times for a page of `pageSize` (its short size text) that
// loads `items`.
TransferSummary transferSummary(std::string_view pageSize, const std::vector<TransferItem>& items);

}  // namespace morvel
