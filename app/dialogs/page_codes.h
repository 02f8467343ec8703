// Whole pages: the skeleton of a new page and the <BODY> tag the page base
// dialog writes, the <META> lines of the meta information dialog, and the
// template files a new page can start from. Texts are Windows-1252 bytes.
#pragma once

#include "dialogs/edited_element.h"
#include "markup/color_codes.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvel {

// The document types the page base dialog offers, the first by default.
inline constexpr std::array<std::string_view, 4> kDocumentTypes{
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">",
    "<!DOCTYPE HTML PUBLIC  \"-//IETF//DTD HTML 2.0//EN\">",
    "<!DOCTYPE HTML PUBLIC  \"-//IETF//DTD HTML Level 1//EN\">",
    "<!DOCTYPE HTML PUBLIC  \"-//Microsoft/DTD Microsoft Internet Explorer 3.01 HTML//EN\">",
};

// The five colours of a page, in the order of the dialog's buttons.
struct PageColours {
  ColorValue text = colorFromRgb(0, 0, 0);
  ColorValue link = colorFromRgb(0, 0, 0xFF);
  ColorValue visitedLink = colorFromRgb(0x66, 0, 0x66);
  ColorValue activeLink = colorFromRgb(0xFF, 0, 0);
  ColorValue background = colorFromRgb(0xFF, 0xFF, 0xFF);
};

struct PageBase {
  bool withDocumentType = true;
  std::string documentType{kDocumentTypes[0]};
  std::string title;
  bool withBody = true;
  std::string backgroundPicture;
  bool withColours = false;
  PageColours colours;
};

// <BODY BACKGROUND BGCOLOR TEXT LINK VLINK ALINK kept>: the picture when
// there is one, all five colours when they are included.
std::string bodyTag(const PageBase& page, std::string_view keptAttributes);

// A new page: the document type line, HTML, HEAD with TITLE, the BODY
// with two empty lines in it (three empty lines where no BODY is written),
// and the end codes, every line ended by CR LF.
struct NewPage {
  std::string text;
  // The line, counted from 0 within the text, of the first empty line
  // where the page's content goes.
  int contentLine = 0;
};
NewPage newPageCode(const PageBase& page);

// The page base of an edited <BODY>: the picture, and every colour the tag
// sets; any colour includes the colours. What it lacks keeps `current`.
PageBase pageBase(const BodyAttributes& body, PageBase current);

// The meta information the meta dialog offers: its caption in the list,
// the meta name, whether it is an HTTP-EQUIV, and its built-in content.
// The last one ("Andet...") is named by the user.
struct MetaEntry {
  std::string_view caption;  // UTF-8, as the list shows it
  std::string_view name;
  bool httpEquiv = false;
  std::string_view content;
};
inline constexpr std::size_t kMetaEntries = 12;
std::span<const MetaEntry, kMetaEntries> metaEntries();

// <META NAME="name" CONTENT="content"> (HTTP-EQUIV for the entries that
// are) and a line break.
std::string metaLine(bool httpEquiv, std::string_view name, std::string_view content);

// Where META lines go into a page: just before the first "</HEAD>" in any
// letter case, or at its start when it has none.
std::size_t metaInsertOffset(std::string_view page);

// A template: its name as the list shows it (the file name without
// ".mvs"), its file, and whether it is the user's own (which can be
// deleted) rather than one installed with the program.
struct TemplateFile {
  std::string name;
  std::filesystem::path file;
  bool own = false;
};

// The templates of the installed folder and of the user's folder, by name
// without regard to letter case. A user's template takes the place of an
// installed one of the same name. A folder that is missing or unreadable
// gives none.
std::vector<TemplateFile> listTemplates(const std::filesystem::path& installed, const std::filesystem::path& own);

// A name a new template can have: not empty, not "." or "..", and without
// a folder separator, so that its file stays in the templates' folder.
bool isTemplateName(std::string_view name);

}  // namespace morvel
