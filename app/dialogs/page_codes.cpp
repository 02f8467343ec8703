#include "dialogs/page_codes.h"

#include "ascii.h"

#include <algorithm>
#include <system_error>

namespace morvel {

namespace {

constexpr std::string_view kLineBreak = "\r\n";

constexpr std::array<MetaEntry, kMetaEntries> kMeta{{
    {"Beskrivelse", "Description", false, "Danish software"},
    {"Forfatter", "Author", false, "Sidens forfatter"},
    {"Klassificering", "Rating", false, "General"},
    {"N\xC3\xB8gleord", "Keywords", false, "software, freeware, shareware"},
    {"Objekttype", "Objecttype", false, "Homepage"},
    {"Indl\xC3\xA6s", "Refresh", true, "10; URL=http://www.example.com/"},
    {"Opdateringsfrekvens", "Revisit-after", false, "14 days"},
    {"PICS-klassificering", "PICS-Label", false, "(Se http://www.w3.org/PICS/)"},
    {"Svar til", "Reply-to", false, "post@example.com"},
    {"Titel", "Title", false, "Brimvale"},
    {"Udl\xC3\xB8"
     "ber",
     "Expires", true, "1-1-2000"},
    {"Andet...", "", false, ""},
}};

std::string attribute(std::string_view name, ColorValue colour) {
  return " " + std::string(name) + "=\"" + colorCode(colour) + "\"";
}

void takeColour(std::string_view code, bool& included, ColorValue& colour) {
  if (code.empty()) return;
  included = true;
  if (const std::optional<ColorValue> c = colorFromCode(code)) colour = *c;
}

}  // namespace

std::string bodyTag(const PageBase& page, std::string_view keptAttributes) {
  std::string tag = "<BODY";
  if (!page.backgroundPicture.empty()) tag += " BACKGROUND=\"" + page.backgroundPicture + "\"";
  if (page.withColours) {
    const PageColours& c = page.colours;
    tag += attribute("BGCOLOR", c.background) + attribute("TEXT", c.text) + attribute("LINK", c.link) +
           attribute("VLINK", c.visitedLink) + attribute("ALINK", c.activeLink);
  }
  tag += keptAttributes;
  tag += ">";
  return tag;
}

NewPage newPageCode(const PageBase& page) {
  NewPage result;
  std::string& text = result.text;
  if (page.withDocumentType) text.append(page.documentType).append(kLineBreak);
  text.append("<HTML>").append(kLineBreak).append("<HEAD>").append(kLineBreak);
  text.append("\t<TITLE>").append(page.title).append("</TITLE>").append(kLineBreak);
  text.append("</HEAD>").append(kLineBreak);
  if (page.withBody) text.append(bodyTag(page, ""));
  result.contentLine = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + (page.withBody ? 1 : 0);
  text.append(kLineBreak).append(kLineBreak).append(kLineBreak);
  if (page.withBody) text.append("</BODY>").append(kLineBreak);
  text.append("</HTML>").append(kLineBreak);
  return result;
}

PageBase pageBase(const BodyAttributes& body, PageBase current) {
  PageBase page = std::move(current);
  page.backgroundPicture = body.background;
  PageColours& c = page.colours;
  takeColour(body.text, page.withColours, c.text);
  takeColour(body.link, page.withColours, c.link);
  takeColour(body.vlink, page.withColours, c.visitedLink);
  takeColour(body.alink, page.withColours, c.activeLink);
  takeColour(body.bgcolor, page.withColours, c.background);
  return page;
}

std::span<const MetaEntry, kMetaEntries> metaEntries() { return kMeta; }

std::string metaLine(bool httpEquiv, std::string_view name, std::string_view content) {
  return "<META " + std::string(httpEquiv ? "HTTP-EQUIV" : "NAME") + "=\"" + std::string(name) + "\" CONTENT=\"" +
         std::string(content) + "\">" + std::string(kLineBreak);
}

std::size_t metaInsertOffset(std::string_view page) {
  const std::size_t head = ascii::findIgnoringCase(page, "</HEAD>");
  return head == std::string_view::npos ? 0 : head;
}

std::vector<TemplateFile> listTemplates(const std::filesystem::path& installed, const std::filesystem::path& own) {
  std::vector<TemplateFile> found;
  auto scan = [&found](const std::filesystem::path& folder, bool isOwn) {
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
      const std::filesystem::path& file = it->path();
      if (!ascii::equalIgnoringCase(file.extension().string(), ".mvs") || !it->is_regular_file(error)) continue;
      const std::string name = file.stem().string();
      const auto same = std::find_if(found.begin(), found.end(),
                                     [&name](const TemplateFile& t) { return ascii::equalIgnoringCase(t.name, name); });
      if (same != found.end())
        *same = {name, file, isOwn};
      else
        found.push_back({name, file, isOwn});
    }
  };
  scan(installed, false);
  scan(own, true);
  std::sort(found.begin(), found.end(),
            [](const TemplateFile& a, const TemplateFile& b) { return ascii::lessIgnoringCase(a.name, b.name); });
  return found;
}

bool isTemplateName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

}  // namespace morvel
