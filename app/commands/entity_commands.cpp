// TKestrin: the Danish letters and their entity codes. Converting shows the
// hourglass and the progress bar over the first status panel.
#include "mainwindow/kestrin.h"

#include "commands/code_insertion.h"
#include "component/tivra_component.h"
#include "controls/hourglass.h"
#include "mainwindow/documents.h"
#include "markup/entities.h"

#include <QProgressBar>

namespace {

class ProgressShown {
 public:
  explicit ProgressShown(QProgressBar& bar) : bar_(bar) {
    bar_.show();
    bar_.setValue(0);
  }
  ~ProgressShown() { bar_.hide(); }
  ProgressShown(const ProgressShown&) = delete;
  ProgressShown& operator=(const ProgressShown&) = delete;

  void set(int percent) {
    bar_.setValue(percent);
    bar_.repaint();
  }

 private:
  QProgressBar& bar_;
};

}  // namespace

std::string TKestrin::encodeText(std::string_view text) {
  const Hourglass wait;
  ProgressShown progress(*progressBar_);
  return morvel::encodeEntities(text, [&progress](int percent) { progress.set(percent); });
}

std::string TKestrin::decodeText(std::string_view text) {
  const Hourglass wait;
  ProgressShown progress(*progressBar_);
  return morvel::decodeEntities(text, [&progress](int percent) { progress.set(percent); });
}

void TKestrin::encodeActiveDocument() {
  if (TTivra* e = editor(active_)) morvel::replaceWholeText(*e, encodeText(e->TextBytes()));
}

void TKestrin::decodeActiveDocument() {
  if (TTivra* e = editor(active_)) morvel::replaceWholeText(*e, decodeText(e->TextBytes()));
}

bool TKestrin::saveWithEntityCodes() {
  const bool setting = settings_.danishLetterCodes;
  settings_.danishLetterCodes = true;
  const bool saved = saveDocument(active_);
  settings_.danishLetterCodes = setting;
  showFileName(active_);
  updateCaptions(active_);
  return saved;
}
