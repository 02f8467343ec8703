// The code box's table: the built-in rows of ready-made codes and entity
// codes, the user's own codes after them, and what inserting a cell of a row
// does. Descriptions are the box's Danish texts (UTF-8); the codes are
// ASCII; user codes are as the settings store holds them (UTF-8).
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvel {

// The grid's columns: description, start code (or first code), end code
// (or second code).
inline constexpr int kCodeColumns = 3;

// Rows 0 to 68 are built in: row 0 is the header, rows 52 and 68 head the
// entity codes and the user codes. User code n is shown in row 68 + n.
inline constexpr int kBuiltInCodeRows = 69;
inline constexpr int kSpecialCharactersRow = 52;
inline constexpr int kUserCodesRow = 68;

struct BuiltInCodeRow {
  std::string_view description;
  std::string_view start;
  std::string_view end;
};
std::span<const BuiltInCodeRow> builtInCodeRows();

// A row of the grid: a built-in row or a user code.
struct UserCode {
  std::string description;
  std::string start;
  std::string end;
  bool operator==(const UserCode&) const = default;
};

// True for the header and the two section headings, which hold no code.
bool isHeadingRow(int row);
bool isUserCodeRow(int row);

// What inserting the selected cell of a row does to the page: a code cell
// replaces the selection with its code; a description cell puts the row's
// start and end codes round the selection. A heading row and an empty code
// cell change nothing, so that the selection is never lost to an empty
// code.
struct CodeBoxInsertion {
  enum Kind { Nothing, Replace, Wrap } kind = Nothing;
  std::string start;  // the code of a Replace
  std::string end;
};
CodeBoxInsertion insertionOf(int row, int column, const UserCode& cells);

// --- The user codes as a list (user code n is element n - 1)

// The list after deleting user code n: the codes after it move up by one.
std::vector<UserCode> withoutUserCode(std::vector<UserCode> codes, int n);
// The list with user codes n and n + 1 changed places.
std::vector<UserCode> withUserCodesSwapped(std::vector<UserCode> codes, int n);

// The row the grid shows at its top and the row it selects after a jump to
// the user codes: row 69 when there are user codes, else the heading.
int userCodesJumpRow(int userCodeCount);

}  // namespace morvel
