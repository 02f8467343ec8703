#include "dialogs/font_codes.h"

#include "ascii.h"
#include "dialogs/edited_element.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace morvel {

namespace {

constexpr std::string_view kFontEnd = "</FONT>";

// The last place before `before` where `pattern` starts; npos when none.
std::size_t lastBefore(std::string_view text, std::string_view pattern, std::size_t before) {
  std::size_t last = std::string_view::npos;
  for (std::size_t at = ascii::findIgnoringCase(text, pattern); at != std::string_view::npos && at < before;
       at = ascii::findIgnoringCase(text, pattern, at + 1))
    last = at;
  return last;
}

// A "<FONT" that is the whole tag name, not the start of a longer one.
std::size_t nextFontTag(std::string_view text, std::size_t from) {
  for (std::size_t at = ascii::findIgnoringCase(text, "<FONT", from); at != std::string_view::npos;
       at = ascii::findIgnoringCase(text, "<FONT", at + 1)) {
    const std::size_t after = at + 5;
    if (after == text.size() || text[after] == '>' || text[after] == ' ' || text[after] == '\t' ||
        text[after] == '\r' || text[after] == '\n')
      return at;
  }
  return std::string_view::npos;
}

// ---------------------------------------------------------------------------
// The style elements of a page: B, I, U and FONT

constexpr int kFontKind = 3;
constexpr std::array<std::string_view, 4> kKindNames{"B", "I", "U", "FONT"};

bool isNameChar(char c) { return ascii::isLetter(c) || (c >= '0' && c <= '9'); }

// A tag of one of the four kinds.
struct StyleTag {
  std::size_t begin = 0;
  std::size_t end = 0;  // past its ">"
  int kind = 0;
  bool closes = false;
};

// The style tag that starts at text[at] (a "<"), if it is one.
std::optional<StyleTag> styleTagAt(std::string_view text, std::size_t at) {
  std::size_t name = at + 1;
  const bool closes = name < text.size() && text[name] == '/';
  if (closes) ++name;
  std::size_t nameEnd = name;
  while (nameEnd < text.size() && isNameChar(text[nameEnd])) ++nameEnd;
  const std::string_view tagName = text.substr(name, nameEnd - name);
  for (int kind = 0; kind < static_cast<int>(kKindNames.size()); ++kind) {
    if (!ascii::equalIgnoringCase(tagName, kKindNames[static_cast<std::size_t>(kind)])) continue;
    const std::size_t close = text.find('>', nameEnd);
    if (close == std::string_view::npos) return std::nullopt;
    return StyleTag{at, close + 1, kind, closes};
  }
  return std::nullopt;
}

// The next style tag in text[from, to), if any.
std::optional<StyleTag> nextStyleTag(std::string_view text, std::size_t from, std::size_t to) {
  for (std::size_t at = text.find('<', from); at != std::string_view::npos && at < to; at = text.find('<', at + 1)) {
    const std::optional<StyleTag> tag = styleTagAt(text, at);
    if (tag && tag->end <= to) return tag;
  }
  return std::nullopt;
}

// An open element: its start tag as written (or as the dialog writes it).
struct Element {
  int id = 0;
  int kind = 0;
  std::string start;
};
using ElementStack = std::vector<Element>;

// The end tag of an element, in the letter case its start tag has.
std::string endTagOf(const Element& e) {
  std::size_t nameEnd = 1;
  while (nameEnd < e.start.size() && isNameChar(e.start[nameEnd])) ++nameEnd;
  return "</" + e.start.substr(1, nameEnd - 1) + ">";
}

// An end tag ends the innermost open element of its kind; one that ends
// nothing is ignored, as browsers do.
bool closeInnermost(ElementStack& stack, int kind) {
  for (auto e = stack.rbegin(); e != stack.rend(); ++e) {
    if (e->kind != kind) continue;
    stack.erase(std::next(e).base());
    return true;
  }
  return false;
}

// The elements open at each tag of text[from, to), from `stack` on.
class StyleWalk {
 public:
  StyleWalk(std::string_view text, ElementStack stack, int firstId)
      : text_(text), stack_(std::move(stack)), id_(firstId) {}

  void walk(std::size_t from, std::size_t to) {
    for (std::optional<StyleTag> tag = nextStyleTag(text_, from, to); tag; tag = nextStyleTag(text_, tag->end, to))
      apply(*tag);
  }
  void apply(const StyleTag& tag) {
    if (tag.closes)
      closeInnermost(stack_, tag.kind);
    else
      stack_.push_back(Element{++id_, tag.kind, std::string(text_.substr(tag.begin, tag.end - tag.begin))});
  }
  const ElementStack& stack() const { return stack_; }
  int lastId() const { return id_; }

 private:
  std::string_view text_;
  ElementStack stack_;
  int id_;
};

bool sameElement(const Element& a, const Element& b) {
  return a.id == b.id || (a.kind == b.kind && ascii::equalIgnoringCase(a.start, b.start));
}

bool hasKind(const ElementStack& stack, int kind) {
  return std::any_of(stack.begin(), stack.end(), [kind](const Element& e) { return e.kind == kind; });
}

// The replacement of a selection as it is written: tags and text in order.
// Tags the writer adds and that would enclose nothing (an element it opens
// and closes right after) are left out.
class MarkupWriter {
 public:
  explicit MarkupWriter(ElementStack open) : open_(std::move(open)) {}

  // Closes and opens elements until exactly `wanted` is open: those the
  // two have in common from the outside in stay open. An open element
  // stands for a wanted one with the same start tag.
  void reach(const ElementStack& wanted) {
    std::size_t common = 0;
    while (common < open_.size() && common < wanted.size() && sameElement(open_[common], wanted[common])) {
      open_[common] = wanted[common];
      ++common;
    }
    while (open_.size() > common) {
      close(endTagOf(open_.back()));
      open_.pop_back();
    }
    for (std::size_t k = common; k < wanted.size(); ++k) {
      open(wanted[k]);
      open_.push_back(wanted[k]);
    }
  }
  void text(std::string_view characters) {
    if (!characters.empty()) pieces_.push_back(Piece{std::string(characters), 0});
  }
  // Reaches `wanted` with the end tag as the page has it when that is all
  // it takes: the innermost open element ends.
  void reachWith(const ElementStack& wanted, std::string_view endTag) {
    const bool innermostOnly = open_.size() == wanted.size() + 1 &&
                               std::equal(wanted.begin(), wanted.end(), open_.begin(),
                                          [](const Element& a, const Element& b) { return a.id == b.id; });
    if (!innermostOnly) return reach(wanted);
    pieces_.push_back(Piece{std::string(endTag), 0});
    open_.pop_back();
  }
  // Marks where the selection's own content begins and ends.
  void contentBegins() { contentBegin_ = pieces_.size(); }
  void contentEnds() { contentEnd_ = pieces_.size(); }

  WrappedText result() const {
    WrappedText out;
    for (std::size_t k = 0; k < pieces_.size(); ++k)
      (k < contentBegin_ ? out.prefix : k < contentEnd_ ? out.text : out.suffix) += pieces_[k].text;
    return out;
  }

 private:
  struct Piece {
    std::string text;
    int opened;  // the id of the element a written start tag opens; 0 for anything else
  };

  void open(const Element& e) { pieces_.push_back(Piece{e.start, e.id}); }
  void close(const std::string& endTag) {
    // An element opened just before (and after the prefix) encloses nothing.
    if (!pieces_.empty() && pieces_.back().opened == open_.back().id && pieces_.size() > contentBegin_) {
      pieces_.pop_back();
      contentEnd_ = std::min(contentEnd_, pieces_.size());
      return;
    }
    pieces_.push_back(Piece{endTag, 0});
  }

  ElementStack open_;
  std::vector<Piece> pieces_;
  std::size_t contentBegin_ = 0;
  std::size_t contentEnd_ = static_cast<std::size_t>(-1);
};

}  // namespace

StyleAround styleAround(std::string_view page, std::size_t begin, std::size_t end, FontStyle style) {
  StyleWalk before(page, {}, 0);
  before.walk(0, begin);
  StyleAround around;
  around.openBefore = hasKind(before.stack(), style);
  for (std::optional<StyleTag> tag = nextStyleTag(page, begin, end); tag; tag = nextStyleTag(page, tag->end, end))
    around.inside = around.inside || tag->kind == style;
  return around;
}

EnclosingFont enclosingFont(std::string_view page, std::size_t begin) {
  std::size_t from = 0;
  const std::size_t cell = lastBefore(page, "<TD", begin);
  if (cell != std::string_view::npos) {
    const std::size_t cellEnd = ascii::findIgnoringCase(page, "</TD>", cell);
    if (cellEnd != std::string_view::npos && cellEnd >= begin) from = cell;
  }
  const std::string_view text = page.substr(from, begin - from);
  std::vector<std::string_view> open;
  std::size_t at = 0;
  while (true) {
    const std::size_t start = nextFontTag(text, at);
    const std::size_t close = ascii::findIgnoringCase(text, kFontEnd, at);
    if (start == std::string_view::npos && close == std::string_view::npos) break;
    if (start != std::string_view::npos && (close == std::string_view::npos || start < close)) {
      const std::size_t tagEnd = text.find('>', start);
      if (tagEnd == std::string_view::npos) break;
      open.push_back(text.substr(start, tagEnd + 1 - start));
      at = tagEnd + 1;
    } else {
      if (!open.empty()) open.pop_back();
      at = close + kFontEnd.size();
    }
  }
  EnclosingFont font;
  if (open.empty()) return font;
  font.open = true;
  for (auto tag = open.rbegin(); tag != open.rend(); ++tag) {
    const std::optional<ParsedTag> parsed = parseStartTag(*tag);
    if (!parsed || parsed->row->editor != ElementEditor::Font) continue;
    if (font.values.face.empty()) font.values.face = parsed->values[0];
    if (font.values.colour.empty()) font.values.colour = parsed->values[1];
    if (font.values.size.empty()) font.values.size = parsed->values[2];
  }
  return font;
}

std::string fontStartTag(const FontValues& chosen, const FontValues& enclosing, std::string_view keptAttributes) {
  std::string tag = "<FONT";
  if (!chosen.face.empty() && chosen.face != enclosing.face) tag += " FACE=\"" + chosen.face + "\"";
  if (!chosen.colour.empty() && chosen.colour != enclosing.colour) tag += " COLOR=\"" + chosen.colour + "\"";
  if (!chosen.size.empty() && chosen.size != enclosing.size) tag += " SIZE=\"" + chosen.size + "\"";
  tag += keptAttributes;
  tag += ">";
  return tag;
}

WrappedText applyFont(std::string_view page, std::size_t begin, std::size_t end, const FontChange& change) {
  end = std::min(end, page.size());
  begin = std::min(begin, end);
  // The content: in edit mode what the element's own tags enclose.
  std::size_t from = begin, to = end;
  if (change.editMode) {
    const std::size_t startEnd = page.substr(begin, end - begin).find('>');
    from = startEnd == std::string_view::npos ? end : begin + startEnd + 1;
    to = std::max(from, end >= from + kFontEnd.size() ? end - kFontEnd.size() : from);
  }
  // What is open where the selection begins and where it ends.
  StyleWalk walk(page, {}, 0);
  walk.walk(0, begin);
  const ElementStack atBegin = walk.stack();
  walk.walk(begin, end);
  const ElementStack atEnd = walk.stack();

  // Tags of a changed style go, and so do those of the font when it changes
  // (outside edit mode); the new elements stand round the content.
  std::array<bool, 4> dropped{};
  for (int s = kBold; s <= kUnderline; ++s) dropped[static_cast<std::size_t>(s)] = change.styles[s].changed;
  dropped[kFontKind] = change.fontChanged && !change.editMode;
  const auto switchedOff = [&](int kind) {
    return kind <= kUnderline && change.styles[kind].changed && !change.styles[kind].on;
  };

  ElementStack base;
  for (const Element& e : atBegin)
    if (!switchedOff(e.kind)) base.push_back(e);
  ElementStack added;
  int addedId = 0;
  if (change.fontChanged || change.editMode) added.push_back(Element{--addedId, kFontKind, change.fontTag});
  for (int s = kBold; s <= kUnderline; ++s) {
    const StyleChoice& c = change.styles[s];
    if (c.changed && c.on && !hasKind(base, s)) added.push_back(Element{--addedId, s, std::string(kStyleStartTags[s])});
  }
  ElementStack inner;
  const auto wanted = [&] {
    ElementStack stack = base;
    stack.insert(stack.end(), added.begin(), added.end());
    stack.insert(stack.end(), inner.begin(), inner.end());
    return stack;
  };

  MarkupWriter out(atBegin);
  out.reach(wanted());
  out.contentBegins();
  int lastId = walk.lastId();
  std::size_t at = from;
  for (std::optional<StyleTag> tag = nextStyleTag(page, from, to); tag; tag = nextStyleTag(page, tag->end, to)) {
    out.text(page.substr(at, tag->begin - at));
    at = tag->end;
    if (dropped[static_cast<std::size_t>(tag->kind)]) continue;
    const std::string_view written = page.substr(tag->begin, tag->end - tag->begin);
    if (!tag->closes) {
      inner.push_back(Element{++lastId, tag->kind, std::string(written)});
      out.reach(wanted());
    } else if (closeInnermost(inner, tag->kind) || closeInnermost(base, tag->kind)) {
      out.reachWith(wanted(), written);
    } else {
      out.text(written);  // it ends nothing: kept as it is
    }
  }
  out.text(page.substr(at, to - at));
  out.contentEnds();
  out.reach(atEnd);
  return out.result();
}

}  // namespace morvel
