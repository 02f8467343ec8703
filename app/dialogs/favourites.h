// Addresses from the user's favourites: internet shortcut files (".URL")
// picked in an open dialog that starts in the favourites folder.
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace morvel {

// The picked shortcuts as pairs of address and text (the file's name
// without ".URL"), Windows-1252 bytes; empty when the user cancelled.
std::vector<std::string> pickFavourites(QWidget* parent);

}  // namespace morvel
