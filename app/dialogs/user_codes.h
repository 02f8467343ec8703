// The user's own codes in section "Koder" of the settings store: user code
// n (from 1) is "Kode<n>a" (description), "Kode<n>b" (start code) and
// "Kode<n>c" (end code), and the list ends at the first n without a
// description. The code box keeps them; the "Indsæt" menu offers the first
// nine.
#pragma once

#include "dialogs/code_box_codes.h"

#include <vector>

namespace morvel {

class RegIniFile;

std::vector<UserCode> readUserCodes(const RegIniFile& store);
void writeUserCode(RegIniFile& store, int n, const UserCode& code);

// The first number whose description is empty: where a new code goes.
int firstFreeUserCode(const RegIniFile& store);

// Deletes user code n: every code after it moves up by one number and the
// last number is emptied.
void deleteUserCode(RegIniFile& store, int n);

// User codes n and n + 1 change places.
void swapUserCodes(RegIniFile& store, int n);

}  // namespace morvel
