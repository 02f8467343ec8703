#include "dialogs/script_codes.h"

#include "ascii.h"

#include <algorithm>
#include <initializer_list>

namespace morvel {

namespace {

using Kind = ScriptNodeKind;

constexpr std::array<std::string_view, 53> kReservedWords = {
    "abstract", "boolean",   "break",    "byte",   "case",  "catch",      "char",         "class",   "const",
    "continue", "default",   "do",       "double", "else",  "extends",    "false",        "final",   "finally",
    "float",    "for",       "function", "goto",   "if",    "implements", "import",       "in",      "instanceof",
    "int",      "interface", "long",     "native", "new",   "null",       "package",      "private", "protected",
    "public",   "return",    "short",    "static", "super", "switch",     "synchronized", "this",    "throw",
    "throws",   "transient", "true",     "try",    "var",   "void",       "while",        "with"};

// A member is a method when it ends in ")", otherwise a property.
ScriptNode member(std::string_view text) {
  return ScriptNode{std::string(text), text.ends_with(')') ? Kind::Method : Kind::Property, {}};
}

ScriptNode object(std::string_view text, std::initializer_list<std::string_view> members,
                  std::initializer_list<ScriptNode> objects = {}) {
  ScriptNode node{std::string(text), Kind::Object, {}};
  for (const std::string_view m : members) node.children.push_back(member(m));
  for (const ScriptNode& o : objects) node.children.push_back(o);
  return node;
}

ScriptNode formObject() {
  return object("form", {"action", "elements", "encoding", "length", "method", "target", "reset()", "submit()"},
                {
                    object("button", {"name", "type", "value", "click()"}),
                    object("checkbox", {"checked", "defaultChecked", "name", "type", "value", "click()"}),
                    object("hidden", {"name", "type", "value"}),
                    object("password", {"defaultValue", "name", "type", "value", "blur()", "focus()", "select()"}),
                    object("radio", {"checked", "defaultChecked", "length", "name", "type", "value", "click()"}),
                    object("reset", {"name", "type", "value", "click()"}),
                    object("select", {"length", "name", "options", "selectedIndex", "text", "type", "value", "blur()",
                                      "focus()"}),
                    object("submit", {"name", "type", "value", "click()"}),
                    object("text", {"defaultValue", "name", "type", "value", "blur()", "focus()", "select()"}),
                    object("textarea", {"defaultValue", "name", "type", "value", "blur()", "focus()", "select()"}),
                });
}

ScriptNode documentObject() {
  return object(
      "document",
      {"alinkColor", "anchors", "bgColor", "cookie", "embeds", "fgColor", "forms", "lastModified", "linkColor", "links",
       "location", "referrer", "title", "vlinkColor", "clear()", "close()", "open()", "write()", "writeln()"},
      {
          formObject(),
          object("image",
                 {"border", "complete", "height", "hspace", "lowsrc", "name", "prototype", "src", "vspace", "width"}),
          object("images", {"length"}),
          object("link", {"hash", "host", "hostname", "href", "pathname", "port", "protocol", "search", "target"}),
      });
}

ScriptNode windowObject() {
  return object("window",
                {"defaultStatus", "frames[]", "length", "name", "opener", "parent", "self", "status", "top",
                 "alert(\"\")", "blur()", "clearTimeout()", "close()", "confirm()", "focus()", "open()",
                 "prompt(\"\", \"\")", "scroll()", "setTimeout()"},
                {
                    object("history", {"length", "back()", "forward()", "go()"}),
                    object("location", {"hash", "host", "hostname", "href", "pathname", "port", "protocol", "search",
                                        "reload()", "replace()"}),
                    documentObject(),
                    object("frame", {"frames", "name", "length", "parent", "self", "window", "blur()", "clearTimeout()",
                                     "focus()", "setTimeout()"}),
                });
}

std::vector<ScriptNode> buildTree() {
  std::vector<ScriptNode> tree;
  tree.push_back(windowObject());
  tree.push_back(object("navigator", {"appCodeName", "appname", "appVersion", "mimeTypes", "plugins", "userAgent"},
                        {object("plugin", {"description", "filename", "length", "name"})}));
  tree.push_back(
      object("Date", {"prototype",    "getDate()",    "getDay()",   "getHours()",          "getMinutes()",
                      "getMonth()",   "getSeconds()", "getTime()",  "getTimezoneOffset()", "getYear()",
                      "parse(\"\")",  "setdate()",    "setHours()", "setMinutes()",        "setMonth()",
                      "setSeconds()", "setTime()",    "setYear()",  "toGMTString()",       "toLocaleString()",
                      "UTC()"}));
  tree.push_back(
      object("Math", {"E",      "LN2",    "LN10",     "LOG2E",   "LOG10E", "PI",     "SQRT1_2", "SGRT2", "abs()",
                      "acos()", "asin()", "atan()",   "ceil()",  "cos()",  "exp()",  "floor()", "log()", "max()",
                      "min()",  "pow()",  "random()", "round()", "sin()",  "sgrt()", "tan()"}));
  tree.push_back(object(
      "Tekststreng",
      {"length",      "prototype",  "anchor()",    "big()",     "blink()",       "bold()",       "charAt()", "fixed()",
       "fontcolor()", "fontsize()", "indexOf()",   "italics()", "lastIndexOf()", "link()",       "small",    "split()",
       "strike()",    "sub()",      "substring()", "sup()",     "toLowerCase()", "toUpperCase()"}));
  ScriptNode reserved{std::string(kReservedWordsNode), Kind::Object, {}};
  for (const std::string_view word : kReservedWords)
    reserved.children.push_back(ScriptNode{std::string(word), Kind::ReservedWord, {}});
  tree.push_back(std::move(reserved));
  return tree;
}

constexpr unsigned kWordToken = 0x0001;
constexpr unsigned kNumberBit = 0x0002;
constexpr unsigned kDelimiterToken = 0x8000;
constexpr unsigned kStringToken = 0x2001;
constexpr unsigned kStringStateToken = 0x6001;
constexpr unsigned kCommentScanner = 1;  // high word of a string or comment token's value

constexpr ColorValue kBlack = colorFromRgb(0, 0, 0);
constexpr ColorValue kWhite = colorFromRgb(0xFF, 0xFF, 0xFF);
constexpr ColorValue kGrey = colorFromRgb(0x80, 0x80, 0x80);
constexpr ColorValue kRed = colorFromRgb(0xFF, 0, 0);
constexpr ColorValue kNavy = colorFromRgb(0, 0, 0x80);
constexpr ColorValue kGreen = colorFromRgb(0, 0x80, 0);
constexpr ColorValue kTeal = colorFromRgb(0, 0x80, 0x80);

// Removes one line break at the end (or, with `atEnd` false, at the start).
void dropLineBreak(std::string& text, bool atEnd) {
  for (const std::string_view lineBreak : {std::string_view("\r\n"), std::string_view("\n")}) {
    if (atEnd && text.ends_with(lineBreak)) {
      text.erase(text.size() - lineBreak.size());
      return;
    }
    if (!atEnd && text.starts_with(lineBreak)) {
      text.erase(0, lineBreak.size());
      return;
    }
  }
}

}  // namespace

const std::vector<ScriptNode>& scriptObjectTree() {
  static const std::vector<ScriptNode> tree = buildTree();
  return tree;
}

std::string scriptInsertionText(std::string_view parentText, std::string_view nodeText) {
  if (parentText.empty() || parentText == kReservedWordsNode) return std::string(nodeText);
  std::string text(parentText);
  text += '.';
  text += nodeText;
  return text;
}

std::span<const std::string_view> reservedScriptWords() { return kReservedWords; }

bool isReservedScriptWord(std::string_view word) {
  return std::any_of(kReservedWords.begin(), kReservedWords.end(),
                     [word](std::string_view reserved) { return ascii::equalIgnoringCase(word, reserved); });
}

bool isJavaScript(std::string_view language) { return ascii::equalIgnoringCase(language, kJavaScript); }

ColourPair scriptTokenColours(bool javaScript, unsigned wordType, long wordValue, std::string_view word) {
  if (!javaScript) return {kBlack, kWhite};
  if (wordType == kStringToken || wordType == kStringStateToken) {
    const unsigned scanner = (static_cast<unsigned long>(wordValue) >> 16) & 0xFFFF;
    return {scanner == kCommentScanner ? kGreen : kNavy, kWhite};
  }
  if ((wordType & kDelimiterToken) == 0 && (wordType & kWordToken) != 0) {
    if (wordType & kNumberBit) return {kTeal, kWhite};
    if (isReservedScriptWord(word)) return {kRed, kWhite};
  }
  return {kGrey, kWhite};
}

std::string scriptElement(std::string_view language, std::string_view keptAttributes, std::string_view script) {
  std::string element = "<SCRIPT";
  if (!language.empty()) {
    element += " LANGUAGE=\"";
    element += language;
    element += '"';
  }
  element += keptAttributes;
  element += ">\r\n";
  element += script;
  element += "\r\n</SCRIPT>";
  return element;
}

std::string scriptOfContent(std::string_view content) {
  std::string script(content);
  dropLineBreak(script, true);
  dropLineBreak(script, false);
  return script;
}

std::string windowOpenCode(const WindowOpenFields& fields) {
  std::string features;
  for (std::size_t i = 0; i < kWindowFeatures.size(); ++i) {
    if (!fields.features[i]) continue;
    features += kWindowFeatures[i];
    features += ',';
  }
  if (!fields.height.empty()) features += "height=" + fields.height + ",";
  if (!fields.width.empty()) features += "width=" + fields.width + ",";
  if (!features.empty()) features.pop_back();
  return "window.open(\"" + fields.address + "\", \"" + fields.name + "\", \"" + features + "\");";
}

bool isFullAddress(std::string_view address) {
  return ascii::startsWithIgnoringCase(address, "http://") || ascii::startsWithIgnoringCase(address, "https://");
}

}  // namespace morvel
