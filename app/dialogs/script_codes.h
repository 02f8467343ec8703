// What the script editor knows without its window: the tree of JavaScript
// objects, properties, methods and reserved words that it inserts names
// from, the colours of a script's words, the <SCRIPT> element it writes into
// a page and the script it reads back from one, and the window.open call of
// the open-window dialog. Texts are Windows-1252 bytes; the tree's entries
// are ASCII.
#pragma once

#include "markup/code_colours.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvel {

// --- The object tree

enum class ScriptNodeKind { Object, Property, Method, ReservedWord };

struct ScriptNode {
  std::string text;
  ScriptNodeKind kind = ScriptNodeKind::Object;
  std::vector<ScriptNode> children;
};

// The top-level nodes, in the order the tree shows them. Entries keep the
// spelling users of the tree know ("appname", "setdate()", "SGRT2",
// "sgrt()", "small").
const std::vector<ScriptNode>& scriptObjectTree();

// The heading of the reserved words, whose entries are inserted alone.
inline constexpr std::string_view kReservedWordsNode = "Reserverede ord";

// What choosing a node without children inserts: its parent's text, "." and
// its own text ("document.write()", "Math.PI"), or the word alone below the
// reserved words ("while").
std::string scriptInsertionText(std::string_view parentText, std::string_view nodeText);

// The 53 reserved words, and whether a word is one of them (letter case
// ignored).
std::span<const std::string_view> reservedScriptWords();
bool isReservedScriptWord(std::string_view word);

// --- Languages and colours

inline constexpr std::string_view kJavaScript = "JavaScript";
inline constexpr std::string_view kVBScript = "VBScript";
// The tree and the insertion commands are for JavaScript only (letter case
// ignored: old pages write "javascript").
bool isJavaScript(std::string_view language);

// The colours of one token of a script, from the word type and characters
// the editor reports: with JavaScript plain text grey, reserved words red,
// strings navy, comments green and numbers teal; with any other language
// all text black. The background is white.
ColourPair scriptTokenColours(bool javaScript, unsigned wordType, long wordValue, std::string_view word);

// --- The <SCRIPT> element

// "<SCRIPT LANGUAGE="language"" + kept attributes + ">", a line break, the
// script, a line break and "</SCRIPT>". Without a language the start tag has
// no LANGUAGE attribute.
std::string scriptElement(std::string_view language, std::string_view keptAttributes, std::string_view script);

// The script of an element's content as the editor shows it: an empty last
// line and then an empty first line are removed, undoing the line breaks
// that scriptElement adds, so that an unchanged script is written back as it
// stood.
std::string scriptOfContent(std::string_view content);

// The insertion commands: the text, and how far the caret goes back from
// its end to stand between the quotes.
struct ScriptSnippet {
  std::string_view text;
  int caretBack;
};
inline constexpr ScriptSnippet kConfirmSnippet{"confirm(\"\");", 3};
inline constexpr ScriptSnippet kAlertSnippet{"alert(\"\");", 3};
inline constexpr ScriptSnippet kWriteSnippet{"document.write(\"\");", 3};

// --- The open-window dialog

// The window's features, in the order of the dialog's list.
inline constexpr std::array<std::string_view, 8> kWindowFeatures = {
    "location", "directories", "copyhistory", "menubar", "resizable", "scrollbars", "status", "toolbar"};

struct WindowOpenFields {
  std::string address;
  std::string name;
  std::array<bool, kWindowFeatures.size()> features{};
  std::string width;
  std::string height;
};
// window.open("address", "name", "feature,...,height=h,width=w");
std::string windowOpenCode(const WindowOpenFields& fields);

// An address the browser can open as it stands: it begins with "http://"
// (or "https://"), letter case ignored.
bool isFullAddress(std::string_view address);

}  // namespace morvel
