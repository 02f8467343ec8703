// The Danish letters and their entity codes: the conversions of a whole
// text, which show the hourglass and the progress of the work, and the
// commands that convert the active document.
#pragma once

#include <string>
#include <string_view>

namespace morvel {

class DocumentHost;

class EntityCommands {
 public:
  explicit EntityCommands(DocumentHost& host) : host_(host) {}

  std::string encodeText(std::string_view text);
  std::string decodeText(std::string_view text);
  void encodeActiveDocument();
  void decodeActiveDocument();

 private:
  DocumentHost& host_;
};

}  // namespace morvel
