// The Danish letters and their entity codes: the conversions of a whole
// text, which show the hourglass and the progress of the work, and the
// commands that convert the active document.
#pragma once

#include <string>
#include <string_view>

class TTivra;

namespace morvel {

class DocumentHost;

class EntityCommands {
 public:
  explicit EntityCommands(DocumentHost& host) : host_(host) {}

  std::string encodeText(std::string_view text);
  std::string decodeText(std::string_view text);
  void encodeActiveDocument();
  void decodeActiveDocument();
  // A file just loaded into an editor: its entity codes become the letters
  // when the setting that shows the Danish letters as letters is on.
  void decodeLoadedText(TTivra& editor);

 private:
  DocumentHost& host_;
};

}  // namespace morvel
