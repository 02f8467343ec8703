#include "markup/auto_insert.h"

#include "ascii.h"

#include <algorithm>

namespace morvel {

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool containsLineBreak(std::string_view text) { return text.find_first_of("\r\n") != npos; }

std::size_t lineBegin(std::string_view text, std::size_t at) {
  const std::size_t previous = text.find_last_of("\r\n", at == 0 ? npos : at - 1);
  return (at == 0 || previous == npos) ? 0 : previous + 1;
}

// The end of the line holding `at`, without its line break.
std::size_t lineEnd(std::string_view text, std::size_t at) {
  const std::size_t end = text.find_first_of("\r\n", at);
  return end == npos ? text.size() : end;
}

// Past the line break (LF, CR LF or CR) that starts at `end`, if any.
std::size_t afterLineBreak(std::string_view text, std::size_t end) {
  if (end >= text.size()) return end;
  if (text[end] == '\n') return end + 1;
  if (text[end] != '\r') return end;
  return (end + 1 < text.size() && text[end + 1] == '\n') ? end + 2 : end + 1;
}

// Just before the first "</HEAD>", or the top of a page without one.
std::size_t beforeHeadEnd(std::string_view text) {
  const std::size_t at = ascii::findIgnoringCase(text, "</HEAD>");
  return at == npos ? 0 : at;
}

bool onlyBlanks(std::string_view text) { return text.find_first_not_of(" \t") == npos; }

// Removes [begin, end), with its whole line when nothing else is on it.
TextEdit removalWithLonelyLine(std::string_view text, std::size_t begin, std::size_t end) {
  const std::size_t first = lineBegin(text, begin);
  const std::size_t last = lineEnd(text, end);
  if (onlyBlanks(text.substr(first, begin - first)) && onlyBlanks(text.substr(end, last - end)))
    return {first, afterLineBreak(text, last) - first, {}};
  return {begin, end - begin, {}};
}

// The old generator element at `at`: through its ">", or to the end of its
// line when it is never closed; with its whole line when nothing else is on it.
TextEdit oldGeneratorRemoval(std::string_view text, std::size_t at) {
  const std::size_t close = text.find('>', at);
  return removalWithLonelyLine(text, at, close == npos ? lineEnd(text, at) : close + 1);
}

std::string formatWithFileName(std::string_view before, std::string_view fileName, std::string_view after) {
  std::string text(before);
  text += fileName;
  text += after;
  return text;
}

}  // namespace

std::string applyTextEdits(std::string text, const std::vector<TextEdit>& edits) {
  for (const TextEdit& edit : edits) {
    const std::size_t position = std::min(edit.position, text.size());
    text.replace(position, edit.eraseLength, edit.insertText);
  }
  return text;
}

AutoDateFinding findAutoDate(std::string_view text, std::string_view dateText) {
  std::string current(kAutoDateStart);
  current += dateText;
  current += kAutoDateEnd;
  if (text.find(current) != npos) return {AutoDateState::Current};
  if (text.find(kAutoDateRefusal) != npos) return {AutoDateState::Refused};

  const std::size_t start = ascii::findIgnoringCase(text, kAutoDateStart);
  if (start == npos) return {AutoDateState::Missing};
  const std::size_t dateBegin = start + kAutoDateStart.size();
  const std::size_t end = ascii::findIgnoringCase(text, kAutoDateEnd, dateBegin);
  const std::size_t nextStart = ascii::findIgnoringCase(text, kAutoDateStart, dateBegin);
  if (end == npos || nextStart < end || containsLineBreak(text.substr(dateBegin, end - dateBegin)))
    return {AutoDateState::Damaged, start};
  return {AutoDateState::Dated, start, dateBegin, end};
}

std::string autoDateBlock(std::string_view dateText) {
  std::string block(kAutoDateStart);
  block += dateText;
  block += kAutoDateEnd;
  block += "\r\n";
  return block;
}

std::size_t autoDatePositionAtEnd(std::string_view text) {
  std::size_t at = ascii::findIgnoringCase(text, "</BODY>");
  if (at == npos) at = ascii::findIgnoringCase(text, "</HTML>");
  return at == npos ? text.size() : at;
}

std::string refusalBlock() { return std::string(kAutoDateRefusal) + "\r\n"; }

std::size_t refusalPosition(std::string_view text) { return beforeHeadEnd(text); }

std::optional<std::size_t> findRefusalMarker(std::string_view text) {
  const std::size_t at = ascii::findIgnoringCase(text, kAutoDateRefusal);
  if (at == npos) return std::nullopt;
  return at;
}

std::optional<TextEdit> refusalRemoval(std::string_view text) {
  const std::optional<std::size_t> at = findRefusalMarker(text);
  if (!at) return std::nullopt;
  return removalWithLonelyLine(text, *at, *at + kAutoDateRefusal.size());
}

std::string damagedAutoDateMessage(std::string_view fileName) {
  return formatWithFileName("Auto-opdateringsdatoen i ", fileName,
                            " er blevet ødelagt.\nSlet det markerede og den gamle dato og lad "
                            "Morvel indsætte en ny.");
}

std::string missingAutoDateQuestion(std::string_view fileName) {
  return formatWithFileName("", fileName,
                            " indeholder ikke en Auto-opdateringsdato.\nØnsker du, at Morvel "
                            "skal indsætte en opdateringsdato?");
}

std::vector<TextEdit> generatorLineEdits(std::string_view text) {
  std::vector<TextEdit> edits;
  if (text.find(kGeneratorLine) != npos) return edits;

  std::string remaining(text);
  const std::size_t old = ascii::findIgnoringCase(text, "<META NAME=\"Generator\"");
  if (old != npos) {
    edits.push_back(oldGeneratorRemoval(text, old));
    remaining = applyTextEdits(std::move(remaining), edits);
  }
  std::string line(kGeneratorLine);
  line += "\r\n";
  edits.push_back({beforeHeadEnd(remaining), 0, std::move(line)});
  return edits;
}

}  // namespace morvel
