// The HTML code check ("Tje&k HTML-koder") and the clean-up commands that
// rewrite a whole page: stripping the codes and writing them in upper case
// (also before every save when the settings ask for it).
#pragma once

namespace morvel {

class DocumentHost;

class CodeCommands {
 public:
  explicit CodeCommands(DocumentHost& host) : host_(host) {}

  // The report of the code check of the active document in a message.
  void checkHtmlCodes();
  void stripHtmlCodes();
  // Document i's codes in upper case, its selection kept on the same text.
  void convertCodesToUpperCase(int i);

 private:
  DocumentHost& host_;
};

}  // namespace morvel
