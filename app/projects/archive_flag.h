// The archive flag of a file: set while the file has changed since it was
// last published. Publishing clears it; any later write to the file sets it
// again. The file keeps, in an extended attribute, the modification time
// and size it had when it was published.
#pragma once

#include <string>

namespace morvel {

// True also for a file on a file system without extended attributes, whose
// publishing cannot be remembered.
bool hasArchiveFlag(const std::string& path);
// False when the file is missing or its file system cannot keep the mark.
bool clearArchiveFlag(const std::string& path);

}  // namespace morvel
