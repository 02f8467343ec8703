// `morvex --check FILE...`: the HTML code check for scripts. For each file
// its name and a colon on a line of their own, then the report the check
// command shows in its message box, ending with a line break.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace morvel {

enum CheckStatus {
  kCheckClean = 0,       // no file has faults
  kCheckFaults = 1,      // some file has faults
  kCheckUnreadable = 2,  // some file could not be read (the others are checked)
};

// Reports go to `out`, the names of files that cannot be read to `errors`.
int runCodeCheckCommand(const std::vector<std::string>& files, std::ostream& out, std::ostream& errors);

}  // namespace morvel
