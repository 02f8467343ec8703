// Moving, copying and renaming files so that nothing is lost on the way: a
// copy replaces a file only once it is whole, and a rename never replaces
// a file. Paths are the file system's bytes.
#pragma once

#include <string>

namespace morvel {

// Copies `from` to a new file beside `to` and, once every byte is written,
// renames it over `to`. A failed copy leaves `to` as it was.
bool copyFileWhole(const std::string& from, const std::string& to);

// Moves a file: a rename on the same file system; across file systems a
// whole copy, and the original removed only after it. Replaces `to`.
bool moveFile(const std::string& from, const std::string& to);

// Renames a file unless a file of the new name exists already.
bool renameWithoutReplacing(const std::string& from, const std::string& to);

}  // namespace morvel
