#include "markup/code_check.h"

#include "ascii.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace morvel {

namespace {

// Which texts can start at a "<", by the upper-cased character after it. Every
// text but "-->" starts with "<", and none holds another "<", so no text can
// overlap itself and counting every occurrence equals counting from left to
// right without overlap. "-->" cannot overlap itself either.
struct PatternIndex {
  struct Entry {
    std::string_view text;
    std::size_t pair;
    bool isStart;
  };
  std::array<std::vector<Entry>, 256> bySecondChar;

  explicit PatternIndex(const std::vector<CodePair>& pairs) {
    for (std::size_t p = 0; p < pairs.size(); ++p) {
      add(pairs[p].start, p, true);
      add(pairs[p].end, p, false);
    }
  }

  void add(std::string_view text, std::size_t pair, bool isStart) {
    if (text.size() < 2 || text[0] != '<') return;  // "-->" is counted apart
    bySecondChar[static_cast<unsigned char>(text[1])].push_back({text, pair, isStart});
  }
};

struct Counts {
  std::vector<std::size_t> starts, ends;
};

std::size_t commentEndPair(const std::vector<CodePair>& pairs) {
  for (std::size_t p = 0; p < pairs.size(); ++p)
    if (pairs[p].end == "-->") return p;
  return pairs.size();
}

// A page with a great many uneven lines would need a message box taller
// than the screen: the lines past these are only counted.
constexpr std::size_t kMostListedLines = 100;

std::string lineListSentence(const std::vector<std::size_t>& lines) {
  // Each number is followed by ", "; the last comma goes, its blank stays.
  const std::size_t listed = std::min(lines.size(), kMostListedLines);
  std::string list;
  for (std::size_t i = 0; i < listed; ++i) {
    list += std::to_string(lines[i]);
    list += ", ";
  }
  list.erase(list.size() - 2, 1);
  if (lines.size() > listed) list += "og " + std::to_string(lines.size() - listed) + " flere ";
  return "Morvel fandt et ulige antal \"<\" og \">\" i linierne " + list + ".";
}

std::string pairMessage(const PairImbalance& imbalance) {
  return "- Der er " + std::to_string(imbalance.difference) + " flere \"" + std::string(imbalance.moreOften) +
         "\" end \"" + std::string(imbalance.lessOften) + "\"";
}

}  // namespace

const std::vector<CodePair>& checkedCodePairs() {
  static const std::vector<CodePair> pairs{
      {"<HTML", "</HTML>"},
      {"<BODY", "</BODY>"},
      {"<FONT ", "</FONT>"},
      {"<B>", "</B>"},
      {"<I>", "</I>"},
      {"<U>", "</U>"},
      {"<A ", "</A>"},
      {"<TABLE", "</TABLE>"},
      {"<TR", "</TR>"},
      {"<TD", "</TD>"},
      {"<CENTER", "</CENTER>"},
      {"<H1", "</H1>"},
      {"<H2", "</H2>"},
      {"<H3", "</H3>"},
      {"<H4", "</H4>"},
      {"<H5", "</H5>"},
      {"<H6", "</H6>"},
      {"<!--", "-->"},
      {"<UL", "</UL>"},
      {"<OL", "</OL>"},
      {"<TT", "</TT>"},
      {"<FRAMESET", "</FRAMESET>"},
      {"<FORM", "</FORM>"},
      {"<APPLET", "</APPLET>"},
      {"<ADDRESS", "</ADDRESS>"},
      {"<STRONG", "</STRONG>"},
      {"<TEXTAREA", "</TEXTAREA>"},
      {"<SUB", "</SUB>"},
      {"<PRE", "</PRE>"},
      {"<TITLE", "</TITLE>"},
      {"<BLINK", "</BLINK>"},
      {"<BLOCKQUOTE", "</BLOCKQUOTE>"},
      {"<SUP", "</SUP>"},
      {"<EM>", "</EM>"},
      {"<MARQUEE", "</MARQUEE>"},
      {"<NOFRAMES", "</NOFRAMES>"},
      {"<CAPTION", "</CAPTION>"},
      {"<TH", "</TH>"},
      {"<DIV", "</DIV"},
      {"<SPAN", "</SPAN>"},
  };
  return pairs;
}

CodeCheckResult checkHtmlCode(std::string_view text, const ContinuedLines& continued) {
  const std::vector<CodePair>& pairs = checkedCodePairs();
  static const PatternIndex index(pairs);
  const std::size_t commentPair = commentEndPair(pairs);

  CodeCheckResult result;
  Counts counts{std::vector<std::size_t>(pairs.size()), std::vector<std::size_t>(pairs.size())};

  // One walk does both passes: it balances "<" against ">" per line and
  // counts the pair texts at every "<" and at every "-->".
  std::size_t line = 1;
  long balance = 0;  // "<" minus ">" on the current line
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char c = text[i];
    switch (c) {
      case '<': {
        ++balance;
        if (i + 1 < n) {
          for (const auto& entry : index.bySecondChar[static_cast<unsigned char>(ascii::upper(text[i + 1]))]) {
            if (!ascii::matchesIgnoringCase(text, i, entry.text)) continue;
            ++(entry.isStart ? counts.starts : counts.ends)[entry.pair];
          }
        }
        break;
      }
      case '>':
        --balance;
        if (i >= 2 && text[i - 1] == '-' && text[i - 2] == '-' && commentPair < pairs.size())
          ++counts.ends[commentPair];
        break;
      case '\r':
      case '\n':
        if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
        if (balance != 0) result.unevenLines.push_back(line);
        balance = 0;
        ++line;
        break;
      default:
        break;
    }
  }
  if (balance != 0) result.unevenLines.push_back(line);
  // The user finds a line by the editor's number for it.
  for (std::size_t& uneven : result.unevenLines)
    uneven = static_cast<std::size_t>(editorLineOf(static_cast<int>(uneven), continued));

  for (std::size_t p = 0; p < pairs.size(); ++p) {
    const std::size_t starts = counts.starts[p], ends = counts.ends[p];
    if (starts > ends)
      result.imbalances.push_back({p, pairs[p].start, pairs[p].end, starts - ends});
    else if (ends > starts)
      result.imbalances.push_back({p, pairs[p].end, pairs[p].start, ends - starts});
  }

  if (!result.unevenLines.empty()) result.report = lineListSentence(result.unevenLines);
  for (const PairImbalance& imbalance : result.imbalances) {
    result.report += pairMessage(imbalance);
    result.report += '\n';
  }
  if (!result.faultFound()) result.report = "Morvel fandt ingen fejl i koden.";
  return result;
}

}  // namespace morvel
