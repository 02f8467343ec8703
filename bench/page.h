// The generated page that every benchmark shares: about 10 MB of
// hand-written HTML in about 150,000 CR LF lines, in Windows-1252 with
// Danish letters, entities, comments, scripts, tables, links and the FONT
// codes of older pages (about one "FONT" in any case for every third line,
// some 50,000 in all). The same seed gives the same page in every run.
//
// Its entities are none of those the entity conversion writes, so that
// encoding and decoding the page gives it back unchanged.
#pragma once

#include <array>
#include <random>
#include <string>
#include <string_view>

namespace bench_page {

inline std::string makePage() {
  static constexpr std::array<std::string_view, 18> kLines{
      "<TR><TD ALIGN=\"left\" VALIGN=\"top\"><A HREF=\"sider/bl\xE5"
      "b\xE6r.htm\">Bl\xE5"
      "b\xE6r</A></TD></TR>",
      "<p>R\xF8"
      "dgr\xF8"
      "d med fl\xF8"
      "de er en dansk ret, og den smager godt &amp; s\xF8"
      "dt.</p>",
      "<font face=\"Verdana,Arial\" size=\"2\"><b>\xC6"
      "bleskiver</b> og <i>gl\xF8gg</i></font><br>",
      "<td class=menu><a href=index.htm target=_top>Forside</a> | <a href=\"om.htm\">Om os</a></td>",
      "<!-- Her begynder afsnittet om \xE5rets aktiviteter i foreningen -->",
      "<H2>\xC5rsm\xF8"
      "de p\xE5 S\xF8nderborg Slot</H2>",
      "<IMG SRC=\"billeder/slot.jpg\" WIDTH=\"320\" HEIGHT=\"240\" BORDER=\"0\" ALT=\"Slottet\">",
      "<ul><li>Punkt et</li><li>Punkt to med \xA9 og \xAE</li></ul>",
      "Almindelig tekst uden koder, men med \xE6, \xF8 og \xE5 og \xC6, \xD8 og \xC5.",
      "<script language=\"JavaScript\">if (a < b) { document.write('<b>x</b>'); }</script>",
      "<TABLE WIDTH=\"100%\" CELLPADDING=\"2\" CELLSPACING=\"0\" BGCOLOR=\"#FFFFCC\">",
      "<BR>",
      "\t<TR><TD>\xC6"
      "ble</TD><TD>12,50 kr.</TD></TR>",
      "</TABLE><P ALIGN=\"JUSTIFY\">Afsnit med lige margener og en <EM>vigtig</EM> pointe.</P>",
      "<TD><FONT FACE=\"Arial\" SIZE=\"2\">Tilmelding hos Ren&eacute; S\xF8rensen</FONT></TD>",
      "<FONT COLOR=\"#800000\"><B>Nyt:</B> billeder fra sommerens tur til Skagen</FONT><BR>",
      "<P>Kontakt <A HREF=\"mailto:formand@foreningen.dk\">formanden</A> p\xE5 tlf.&nbsp;86 12 34 56</P>",
      "<HR SIZE=\"1\" NOSHADE>",
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
