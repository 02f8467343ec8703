// What a save inserts into a page by itself: the automatic update date and
// the generator line. These functions find places and build texts; the
// window that owns the document asks the questions and makes the edits.
// Positions are byte offsets into the Windows-1252 text.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvel {

inline constexpr std::string_view kAutoDateStart = "<!-- Morvel AutoDato -->";
inline constexpr std::string_view kAutoDateEnd = "<!-- Mv -->";
inline constexpr std::string_view kAutoDateRefusal = "<!-- Minus AutoDato -->";
inline constexpr std::string_view kAutoDateCaption = "Morvel Autodato";
inline constexpr std::string_view kGeneratorLine = "<META NAME=\"Generator\" CONTENT=\"Brimvale's Morvel 2\">";

// One change to a text: erase `eraseLength` bytes at `position`, then insert.
struct TextEdit {
  std::size_t position = 0;
  std::size_t eraseLength = 0;
  std::string insertText;
};

// Applies edits one after another; each position refers to the text as the
// edits before it have left it.
std::string applyTextEdits(std::string text, const std::vector<TextEdit>& edits);

enum class AutoDateState {
  Current,  // already carries this date text between the markers: nothing to do
  Refused,  // the page holds the refusal marker: never dated
  Dated,    // an older date lies between the markers: replace it
  Damaged,  // a start marker without its end marker: tell the user, change nothing
  Missing,  // no start marker: ask, or insert one
};

struct AutoDateFinding {
  AutoDateState state = AutoDateState::Missing;
  std::size_t startMarker = 0;  // Dated, Damaged: where the start marker begins
  std::size_t dateBegin = 0;    // Dated: the old date text is [dateBegin, dateEnd)
  std::size_t dateEnd = 0;
};

// Looks for the dated run "start marker, date, end marker" (markers in any
// letter case). A start marker whose end marker is missing, lies on a later
// line, or comes only after another start marker is damaged: replacing up to
// a far-away end marker would delete the page's text in between.
AutoDateFinding findAutoDate(std::string_view text, std::string_view dateText);

// Start marker, date text, end marker and CR LF: what is inserted for a page
// without a date.
std::string autoDateBlock(std::string_view dateText);

// Where a new date goes when it goes at the end: before the first "</BODY>",
// else before the first "</HTML>", else at the end of the text.
std::size_t autoDatePositionAtEnd(std::string_view text);

// The refusal marker and CR LF, and where it goes: before the first
// "</HEAD>", or at the top when the page has none.
std::string refusalBlock();
std::size_t refusalPosition(std::string_view text);

// Where the refusal marker begins, for the command that dates a page anyway.
std::optional<std::size_t> findRefusalMarker(std::string_view text);

// Takes the first refusal marker out again: with the line break that came
// with it when it stands alone on its line. None without a marker.
std::optional<TextEdit> refusalRemoval(std::string_view text);

// Message texts (UTF-8, for a message box) naming the page's file.
std::string damagedAutoDateMessage(std::string_view fileName);
std::string missingAutoDateQuestion(std::string_view fileName);

// The edits that give the page exactly one generator line, just before
// "</HEAD>" (or at the top without one). An older generator element is
// removed first: with its whole line when the line holds nothing else, and
// alone when it shares its line with other code. Empty when the page already
// holds the line.
std::vector<TextEdit> generatorLineEdits(std::string_view text);

}  // namespace morvel
