#include "dialogs/code_box_codes.h"

#include <utility>

namespace morvel {

namespace {

constexpr BuiltInCodeRow kRows[kBuiltInCodeRows] = {
    {"Beskrivelse", "Startkode/1. kode", "Slutkode/2. kode"},
    {"Adresse - nyt afsnit, kursiv", "<ADDRESS>", "</ADDRESS>"},
    {"Afsnit, nyt", "<P>", "</P>"},
    {"Alternativ tekst - hvis grafik mv. ikke vises", "ALT=\"\" ", ""},
    {"Blinkende tekst", "<BLINK>", "</BLINK>"},
    {"Blokcitat - nyt afsnit, indrykket", "<BLOCKQUOTE>", "</BLOCKQUOTE>"},
    {"Centrering af tekst mv.", "<CENTER>", "</CENTER>"},
    {"Farve - fx fonte (farvekode angives)", "COLOR=\"\" ", ""},
    {"Farve - baggrund/ tabelramme (farvekode angives)", "BGCOLOR=\"\" ", "BORDERCOLOR=\"\" "},
    {"Font - basisfont", "<BASEFONT SIZE=\"3\" FACE=\"Times New Roman\">", ""},
    {"Font - fed skrift", "<B>", "</B>"},
    {"Font - fed fremhævning", "<STRONG>", "</STRONG>"},
    {"Font - hævet skrift", "<SUP>", "</SUP>"},
    {"Font - kursiv skrift", "<I>", "</I>"},
    {"Font - fremhævning (som regel som kursiv)", "<EM>", "</EM>"},
    {"Font - præformateret tekst", "<PRE>", "</PRE>"},
    {"Font - skrivemaskinetyper", "<TT>", "</TT>"},
    {"Font - sænket skrift", "<SUB>", "</SUB>"},
    {"Font - understreget skrift", "<U>", "</U>"},
    {"Form - (angiv ACTION, fx MAILTO:)", "<FORM METHOD=\"POST\" ACTION=\"\">", "</FORM>"},
    {"Form element - fx CHECKBOX, RADIO mv.", "<INPUT TYPE=\"\" NAME=\"\" VALUE=\"\">", ""},
    {"Form - tekstboks", "<INPUT TYPE=\"TEXT\" NAME=\"\" VALUE=\"\" SIZE=\"\" MAXLENGTH=\"\">", ""},
    {"Form - tekstboks m. rullegardiner", "<TEXTAREA NAME=\"\" ROWS=\"\" COLS=\"\">", "</TEXTAREA>"},
    {"Java-applet", "<APPLET>", "</APPLET>"},
    {"Java-attributter - (navn og værdi angives)", "<PARAM NAME=\"\" VALUE=\"\">", ""},
    {"Java- kildefil (kildefil angives)/base (URL angives)", "CODE=\"\" ", "CODEBASE=\"\" "},
    {"Linie, vandret/ Linieskift", "<HR>", "<BR>"},
    {"Linieskift, start efter objekt (LEFT/RIGHT/ALL)", "<BR CLEAR=LEFT>", ""},
    {"Lyd - (lydfil angives)", "<BGSOUND SRC=\"\" LOOP=\"\">", ""},
    {"Margin, top/ Venstre på side (pixels i BODY-kode)", "TOPMARGIN=\"\" ", "LEFTMARGIN=\"\" "},
    {"Margin, vertikal / horisontal - om MarQuee og grafik", "VSPACE=\"\" ", "HSPACE=\"\" "},
    {"Marquee - rulletekst", "<MARQUEE>", "</MARQUEE>"},
    {"Marquee - rulletekst m. alle tags",
     "<MARQUEE ALIGN=\"\" HEIGHT=\"\" WIDTH=\"\" DIRECTION=\"\" SCROLLAMOUNT=\"\" BEHAVIOR=\"\" SCROLLDELAY=\"\" "
     "HSPACE=\"\" VSPACE=\"\" LOOP=\"\">",
     "</MARQUEE>"},
    {"Marquee - type / retning", "BEHAVIOR=\"\" ", "DIRECTION=\"\" "},
    {"Marquee - hastighed/ mellemrum (værdi angives)", "SCROLLDELAY=\"\" ", "SCROLLAMOUNT=\"\" "},
    {"Meta - info til søgemaskiner (i <HEAD>)", "<META NAME=\"\" CONTENT=\"\">", ""},
    {"Objekt - indkapslet \"EMBED\"-element", "<EMBED SRC=\"\" BORDER=\"\" WIDTH=\"\" HEIGHT=\"\">", ""},
    {"Orddelingspunkt i tilfælde af linieskift", "<WBR>", ""},
    {"Orddeling ikke tilladt", "<NOBR>", "</NOBR>"},
    {"Punktopstilling, ikke-ordnet", "<UL>", "</UL>"},
    {"Punktopstilling, ordnet", "<OL>", "</OL>"},
    {"Punkt til punktopstilling", "<LI>", "</LI>"},
    {"Rammer - (angiv række- og kolonnestørrelser)", "<FRAMESET ROWS=\"\" COLS=\"\">", "</FRAMESET>"},
    {"Rammer - attributter for den enkelte ramme", "<FRAME NAME=\"\" SRC=\"\" SCROLLING=\"\">", ""},
    {"Rammekant - (angiv YES/NO)/ Størrelse (i pixels)", "FRAMEBORDER=\"\" ", "FRAMESPACING=\"\" "},
    {"Rammer - afsnit til ældre browsere", "<NOFRAMES>", "</NOFRAMES>"},
    {"Tabel", "<TABLE>", "</TABLE>"},
    {"Tabelcelle", "<TD>", "</TD>"},
    {"Tabelrække", "<TR>", "</TR>"},
    {"Tabeltitel - centreret ift. tabel", "<CAPTION>", "</CAPTION>"},
    {"Tabel - kolonnetitel", "<TH>", "</TH>"},
    {"Titel - vises i browserens titellinie", "<TITLE>", "</TITLE>"},
    {"SPECIALTEGN:", "Minuskler:", "Majuskler:"},
    {"Citationstegn, \" \"/ Og, &", "&quot;", "&amp;"},
    {"Copyright, © / Registreret varemærke, ®", "&copy;", "&reg;"},
    {"Mindre end, < / Større end, >", "&lt;", "&gt;"},
    {"Mellemrum, hårdt", "&nbsp;", ""},
    {"æ / Æ", "&aelig;", "&AElig;"},
    {"ø / Ø", "&oslash;", "&Oslash;"},
    {"å / Å", "&aring;", "&Aring;"},
    {"ä / Ä", "&auml;", "&Auml;"},
    {"é / É", "&eacute;", "&Eacute;"},
    {"è / È", "&egrave;", "&Egrave;"},
    {"ë / Ë", "&euml;", "&Euml;"},
    {"ê / Ê", "&ecirc;", "&Ecirc;"},
    {"ö / Ö", "&ouml;", "&Ouml;"},
    {"ü / Ü", "&uuml;", "&Uuml;"},
    {"ã / Ã", "&atilde;", "&Atilde;"},
    {"BRUGERKODER:", "", ""},
};

}  // namespace

std::span<const BuiltInCodeRow> builtInCodeRows() { return kRows; }

bool isHeadingRow(int row) { return row == 0 || row == kSpecialCharactersRow || row == kUserCodesRow; }

bool isUserCodeRow(int row) { return row > kUserCodesRow; }

CodeBoxInsertion insertionOf(int row, int column, const UserCode& cells) {
  CodeBoxInsertion insertion;
  if (isHeadingRow(row) || row < 0) return insertion;
  if (column == 0) {
    if (cells.start.empty() && cells.end.empty()) return insertion;
    insertion.kind = CodeBoxInsertion::Wrap;
    insertion.start = cells.start;
    insertion.end = cells.end;
    return insertion;
  }
  const std::string& code = column == 1 ? cells.start : cells.end;
  if (code.empty() || column > 2) return insertion;
  insertion.kind = CodeBoxInsertion::Replace;
  insertion.start = code;
  return insertion;
}

std::vector<UserCode> withoutUserCode(std::vector<UserCode> codes, int n) {
  if (n >= 1 && n <= static_cast<int>(codes.size())) codes.erase(codes.begin() + (n - 1));
  return codes;
}

std::vector<UserCode> withUserCodesSwapped(std::vector<UserCode> codes, int n) {
  if (n >= 1 && n < static_cast<int>(codes.size())) std::swap(codes[n - 1], codes[n]);
  return codes;
}

int userCodesJumpRow(int userCodeCount) { return userCodeCount > 0 ? kUserCodesRow + 1 : kUserCodesRow; }

}  // namespace morvel
