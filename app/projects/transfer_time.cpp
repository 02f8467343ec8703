#include "projects/transfer_time.h"

#include "ascii.h"

#include <array>
#include <charconv>

namespace morvel {

namespace {

constexpr std::array<std::string_view, 5> kLoadedTypes{"Grafik", "Embed", "Ramme (l)", "Java", "ActiveX"};

bool listed(const std::vector<TransferItem>& items, std::string_view address) {
  for (const TransferItem& item : items) {
    if (ascii::equalIgnoringCase(item.address, address)) return true;
  }
  return false;
}

void addOnce(std::vector<TransferItem>& items, TransferItem item) {
  if (!listed(items, item.address)) items.push_back(std::move(item));
}

// The pictures and backgrounds of a frame's page, with their sizes.
void addFramePictures(std::vector<TransferItem>& items, const std::string& framePage) {
  LinkOptions options;
  options.first = LinkKind::Picture;
  options.last = LinkKind::Background;
  options.mediaDescriptions = false;
  options.mediaTypes = false;
  options.mediaSizes = true;
  for (const LinkRow& row : collectLinksOfFile(framePage, options))
    addOnce(items, TransferItem{row.icon, row.address, row.size.value_or(std::string())});
}

std::string seconds(std::int64_t value) { return std::to_string(value) + " sek."; }

}  // namespace

std::vector<TransferItem> transferItems(const std::vector<LinkRow>& rows, const std::string& folder) {
  std::vector<TransferItem> items;
  for (std::string_view type : kLoadedTypes) {
    for (const LinkRow& row : rows) {
      if (row.type != type || listed(items, row.address)) continue;
      items.push_back(TransferItem{row.icon, row.address, sizeOfLinkedFile(folder, row.address)});
      if (type == "Ramme (l)") addFramePictures(items, folder + row.address);
    }
  }
  return items;
}

std::int64_t tenthsOfKilobyte(std::string_view sizeText) {
  if (sizeText.size() < 3) return 0;
  std::string figure(sizeText.substr(0, sizeText.size() - 3));
  const std::size_t first = figure.find_first_not_of(' ');
  const std::size_t last = figure.find_last_not_of(' ');
  figure = first == std::string::npos ? std::string() : figure.substr(first, last - first + 1);
  if (const std::size_t comma = figure.find(','); comma != std::string::npos) figure.erase(comma, 1);
  if (const std::size_t point = figure.find('.'); point != std::string::npos) figure.erase(point, 1);
  std::int64_t tenths = 0;
  const auto [end, error] = std::from_chars(figure.data(), figure.data() + figure.size(), tenths);
  if (error != std::errc() || end != figure.data() + figure.size() || tenths < 0) return 0;
  if (sizeText.find("MB") != std::string_view::npos) tenths *= 100;
  return tenths;
}

std::string kilobyteSum(std::int64_t tenths) {
  const std::string digits = std::to_string(tenths < 0 ? 0 : tenths);
  if (digits.size() == 1) return "0," + digits + " KB ";
  return digits.substr(0, digits.size() - 1) + ',' + digits.back() + " KB ";
}

TransferSummary transferSummary(std::string_view pageSize, const std::vector<TransferItem>& items) {
  std::int64_t files = 0;
  for (const TransferItem& item : items) files += tenthsOfKilobyte(item.size);
  const std::int64_t total = tenthsOfKilobyte(pageSize) + files;
  TransferSummary summary;
  summary.script = std::string(pageSize) + ' ';
  summary.files = files >= 1 ? kilobyteSum(files) : std::string("0,0 KB");
  summary.total = kilobyteSum(total);
  summary.modem144 = seconds((total + 8) / 16);
  summary.modem288 = seconds((total + 16) / 32);
  summary.isdn = seconds((total + 40) / 80);
  return summary;
}

}  // namespace morvel
