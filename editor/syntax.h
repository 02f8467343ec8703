// Colouring syntax: the table that TM_SETSYNTAX installs, the tokenizer
// that splits a line by it, the state that strings and block comments carry
// from line to line, and the token records that callers see.
//
// Line states are 16-bit values: 0 normal, or one of the state bits below.
// A string or character literal token that began on an earlier line is
// reported with TIVRA_TOKEN_STRING_STATE (the state bits 0x300 were set
// when it was scanned); one that begins on its own line with
// TIVRA_TOKEN_STRING. Comment tokens (line, block and extra block comments)
// are TIVRA_TOKEN_STRING with scanner kind 1; strings and character
// literals have scanner kind 0.
#pragma once

#include "instance.h"

#include <string_view>

namespace tivra {

constexpr WORD kStateNormal = 0x0000;
constexpr WORD kStateString = 0x0100;
constexpr WORD kStateCharacter = 0x0200;
constexpr WORD kStateComment = 0x0400;
constexpr WORD kStateExtraComment = 0x0800;

// What an item of the table does. Comment end markers met outside a
// comment are plain delimiters.
enum ItemRole : BYTE {
  kRoleNone = 0,  // empty item: never matches
  kRoleDelimiter,
  kRoleString,        // item 1
  kRoleCharacter,     // item 2 without flag bit 0
  kRoleLineComment,   // item 3, and item 2 with flag bit 0
  kRoleCommentStart,  // item 4
  kRoleExtraStart,    // item 6 with flag bit 1
};

constexpr int kKindEndOfLine = 254;
constexpr int kKindWord = 255;
constexpr int kScannerKindString = 0;
constexpr int kScannerKindComment = 1;

enum class TokenClass : BYTE { EndOfLine, Word, Delimiter, String, Comment };

struct Token {
  TokenClass cls;
  int column;
  int length;
  int kind;        // item number (the item that opened a string or comment), 254 end of line, 255 word
  bool continued;  // a string or character literal carried over from the line before
};

// Splits one line into tokens, starting in a given line state.
class LineTokenizer {
 public:
  // `startState` is the state at `startColumn`.
  LineTokenizer(const Instance& inst, std::string_view text, WORD startState, int startColumn = 0);
  // The next token; EndOfLine (again and again) at the end of the line.
  Token next();
  // Where the scan stands: the column of the next token and the state there.
  int column() const { return pos_; }
  WORD state() const { return state_; }

 private:
  Token scanInState(int start);
  Token scanWord(int start);
  int matchItem(int at) const;
  int itemLength(int item) const;

  const SyntaxTable& syntax_;
  std::string_view text_;
  int pos_ = 0;
  WORD state_;
};

// TM_SETSYNTAX: count + flags * 256 in wParam; items 0 = the built-in table.
LRESULT setSyntax(Instance& inst, WPARAM countAndFlags, const WORD* items);

// Rebuilds the derived tables (after the table or a colouring option
// changed) and forgets every line state.
void rebuildScannerTables(Instance& inst);

// The state at the start of the text: normal, or inside a block comment
// with StartInComments.
WORD textStartState(const Instance& inst);

// The state the next line starts in, given the state at the end of a line:
// block comments carry over with MultiLineItems, strings and character
// literals only with MultiLineStrings too.
WORD nextLineState(const Instance& inst, WORD endState);

// The state at the end of a line scanned from `startState` (before the
// carry-over rules). Cheaper than tokenizing: only items are looked at.
WORD scanLineState(const Instance& inst, std::string_view text, WORD startState);

// The state at the start of a line (1 ... line count), from the cache; lines
// after the last known one are scanned once and remembered.
WORD lineStartState(Instance& inst, int32_t line, LineHandle handle);

// Forgets the start states of the lines after `line` (their text before
// them changed at `line`).
void invalidateLineStates(Instance& inst, int32_t line);

// A line's text as the window shows it: the caret line comes from the line
// buffer, where typing happens.
std::string_view shownLineText(const Instance& inst, int32_t line, LineHandle handle);

// The token record of a token of `text` (WordType, WordValue, WordStr).
void fillTokenRecord(const Instance& inst, std::string_view text, const Token& token, TivraToken* out);

// The word type and value of a word (1 plus the number bits).
// Number forms: bit 0x0002 starts like a number (a digit, or "+"/"-" and a
// digit); 0x0004 the whole word is an integer that fits 32 bits and
// WordValue holds it; 0x0008 hexadecimal ("0x"/"0X"); 0x0400 a decimal
// fraction ("12.5"); 0x0800 an exponent ("1e5", "2.5E-3"); 0x1000 letters
// or other characters follow the number ("12px", "3rd").
void classifyWord(std::string_view word, int column, WORD* type, LONG* value);

// The token at a position of a line: one that covers the column, else one
// that ends right at it. Comment tokens do not count (in the program's
// syntax they are the text between the codes). With CurrentWordAsText the
// blank-separated word at the column is the token. False when there is
// none; `range` (optional) receives the token's span.
bool tokenAt(Instance& inst, int32_t line, int column, TivraToken* out, TivraRange* range);

}  // namespace tivra
