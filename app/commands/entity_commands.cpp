#include "commands/entity_commands.h"

#include "commands/code_insertion.h"
#include "commands/document_host.h"
#include "component/tivra_component.h"
#include "controls/hourglass.h"
#include "markup/entities.h"
#include "settings/settings.h"

namespace morvel {

namespace {

// The progress of one conversion, taken away when it ends.
class ProgressShown {
 public:
  explicit ProgressShown(DocumentHost& host) : host_(host) { host_.showProgress(0); }
  ~ProgressShown() { host_.showProgress(-1); }
  ProgressShown(const ProgressShown&) = delete;
  ProgressShown& operator=(const ProgressShown&) = delete;

  void set(int percent) { host_.showProgress(percent); }

 private:
  DocumentHost& host_;
};

}  // namespace

std::string EntityCommands::encodeText(std::string_view text) {
  const Hourglass wait;
  ProgressShown progress(host_);
  return encodeEntities(text, [&progress](int percent) { progress.set(percent); });
}

std::string EntityCommands::decodeText(std::string_view text) {
  const Hourglass wait;
  ProgressShown progress(host_);
  return decodeEntities(text, [&progress](int percent) { progress.set(percent); });
}

void EntityCommands::encodeActiveDocument() {
  if (TTivra* e = host_.activeEditor()) replaceWholeText(*e, encodeText(e->TextBytes()));
}

void EntityCommands::decodeActiveDocument() {
  if (TTivra* e = host_.activeEditor()) replaceWholeText(*e, decodeText(e->TextBytes()));
}

void EntityCommands::decodeLoadedText(TTivra& editor) {
  if (!host_.settings().danishLetterCodes) return;
  const std::string text = editor.TextBytes();
  const std::string decoded = decodeText(text);
  if (decoded != text) editor.setTextBytes(decoded);
}

}  // namespace morvel
