// The generated page that the editor's benchmarks share: about 10 MB of
// hand-written HTML in about 150,000 CR LF lines, with Danish letters
// (Windows-1252).
#pragma once

#include <array>
#include <random>
#include <string>
#include <string_view>

namespace bench_page {

// Lines of hand-written HTML with Danish letters (Windows-1252), CR LF.
inline std::string makePage() {
  static constexpr std::array<std::string_view, 12> kLines{
      "<TR><TD ALIGN=\"left\" VALIGN=\"top\"><A HREF=\"sider/bl\xE5""b\xE6r.htm\">Bl\xE5""b\xE6r</A></TD></TR>",
      "<p>R\xF8""dgr\xF8""d med fl\xF8""de er en dansk ret, og den smager godt &amp; s\xF8""dt.</p>",
      "<font face=\"Verdana,Arial\" size=\"2\"><b>\xC6""bleskiver</b> og <i>gl\xF8gg</i></font><br>",
      "<td class=menu><a href=index.htm target=_top>Forside</a> | <a href=\"om.htm\">Om os</a></td>",
      "<!-- Her begynder afsnittet om \xE5rets aktiviteter i foreningen -->",
      "<H2>\xC5rsm\xF8""de p\xE5 S\xF8nderborg Slot</H2>",
      "<IMG SRC=\"billeder/slot.jpg\" WIDTH=\"320\" HEIGHT=\"240\" BORDER=\"0\" ALT=\"Slottet\">",
      "Almindelig tekst uden koder, men med \xE6, \xF8 og \xE5 og \xC6, \xD8 og \xC5.",
      "<script language=\"JavaScript\">if (a < b) { document.write('<b>x</b>'); }</script>",
      "<TABLE WIDTH=\"100%\" CELLPADDING=\"2\" CELLSPACING=\"0\" BGCOLOR=\"#FFFFCC\">",
      "\t<TR><TD>\xC6""ble</TD><TD>12,50 kr.</TD></TR>",
      "</TABLE><P ALIGN=\"JUSTIFY\">Afsnit med lige margener og en <EM>vigtig</EM> pointe.</P>",
  };
  std::string page = "<HTML>\r\n<HEAD>\r\n<TITLE>Stor side</TITLE>\r\n</HEAD>\r\n<BODY>\r\n";
  std::mt19937 random(2024);
  while (page.size() < 10 * 1000 * 1000) {
    page += kLines[random() % kLines.size()];
    page += "\r\n";
  }
  page += "</BODY>\r\n</HTML>";
  return page;
}

inline const std::string& page() {
  static const std::string text = makePage();
  return text;
}

inline long pageLines() {
  static const long lines = [] {
    long n = 1;
    for (char c : page()) n += c == '\n';
    return n;
  }();
  return lines;
}

}  // namespace bench_page
