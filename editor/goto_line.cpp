// Go to line: the dialog "LINENUMBER" asks for a line number, refuses what
// is not a number or not a line of the text (and stays open), and selects
// the line it is given.
#include "search.h"

#include "editing.h"
#include "notify.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

namespace tivra {

namespace {

constexpr char kTemplateName[] = "LINENUMBER";
constexpr char kEditorProperty[] = "TivraProp";
constexpr char kChoiceProperty[] = "TivraLineChoice";
constexpr int kPromptId = 100;
constexpr int kLineNumberId = 101;
constexpr int kLineCountId = 102;
constexpr WPARAM kGoToLinePosition = 7;
constexpr int kFieldLimit = 127;

bool registerTemplate() {
  // The template is copied when registered.
  const std::string caption = cp1252("Vælg linienummer");
  const DIALOGITEM items[] = {
      {"STATIC", "&Skriv linienummer her:", kPromptId, FALSE, "prompt"},
      {"EDIT", "", kLineNumberId, FALSE, "lineNumber"},
      {"STATIC", "", kLineCountId, FALSE, "lineCount"},
      {"BUTTON", "OK", IDOK, TRUE, "ok"},
      {"BUTTON", "Annuller", IDCANCEL, FALSE, "cancel"},
  };
  const DIALOGTEMPLATE t{caption.c_str(), items, static_cast<int>(sizeof items / sizeof items[0])};
  return RegisterDialogTemplate(kTemplateName, &t);
}

// What the dialog works on: the editor, and the line chosen.
struct LineChoice {
  const Instance* inst;
  long line;
};

enum class Parsed { NotANumber, Number };

// A whole number, blanks around it allowed; values beyond the range of a
// line number come back as LONG_MAX or LONG_MIN (they are out of range).
Parsed parseNumber(const char* text, long* value) {
  while (std::isspace(static_cast<unsigned char>(*text))) ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') negative = *text++ == '-';
  if (!std::isdigit(static_cast<unsigned char>(*text))) return Parsed::NotANumber;
  long long n = 0;
  for (; std::isdigit(static_cast<unsigned char>(*text)); ++text)
    n = std::min<long long>(n * 10 + (*text - '0'), 1LL << 40);
  while (std::isspace(static_cast<unsigned char>(*text))) ++text;
  if (*text) return Parsed::NotANumber;
  *value = static_cast<long>(negative ? -n : n);
  return Parsed::Number;
}

void refuse(HWND dialog, const std::string& text) {
  MessageBox(dialog, text.c_str(), kMessageCaption, MB_OK | MB_ICONEXCLAMATION);
  SendDlgItemMessage(dialog, kLineNumberId, EM_SETSEL, 0, -1);
}

void onOk(HWND dialog) {
  auto* choice = static_cast<LineChoice*>(GetProp(dialog, kChoiceProperty));
  if (!choice) return;
  const Instance* inst = choice->inst;
  char text[kFieldLimit + 1];
  GetDlgItemText(dialog, kLineNumberId, text, sizeof text);
  long line = 0;
  if (parseNumber(text, &line) == Parsed::NotANumber) {
    refuse(dialog, cp1252("Ugyldigt linienummer"));
  } else if (line < 1 || line > inst->text.lineCount) {
    refuse(dialog, withCount("Tallet skal være mellem 1 og %ld", inst->text.lineCount));
  } else {
    choice->line = line;
    EndDialog(dialog, IDOK);
  }
}

INT_PTR CALLBACK lineNumberProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: {
      auto* choice = reinterpret_cast<LineChoice*>(lParam);
      const Instance* inst = choice->inst;
      SetProp(dialog, kEditorProperty, inst->window);
      SetProp(dialog, kChoiceProperty, choice);
      SendDlgItemMessage(dialog, kLineNumberId, EM_LIMITTEXT, kFieldLimit, 0);
      SetDlgItemText(dialog, kLineCountId, withCount("Der er %ld linier i teksten", inst->text.lineCount).c_str());
      const LONG position = inst->dialogPositions[kGoToLinePosition];
      if (position != kDefaultDialogPosition)
        SetWindowPos(dialog, nullptr, static_cast<SHORT>(LOWORD(position)), static_cast<SHORT>(HIWORD(position)), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
      return TRUE;
    }
    case WM_MOVE:
      if (auto editor = static_cast<HWND>(GetProp(dialog, kEditorProperty)))
        SendMessage(editor, TM_SETDIALOGPOS, kGoToLinePosition, lParam);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK)
        onOk(dialog);
      else if (LOWORD(wParam) == IDCANCEL)
        EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

LRESULT goToLineDialog(Instance& inst) {
  static const bool registered = registerTemplate();
  if (!registered) return 0;
  const HWND hwnd = inst.window;
  LineChoice choice{&inst, 0};
  const INT_PTR result =
      DialogBoxParam(nullptr, kTemplateName, hwnd, lineNumberProc, reinterpret_cast<LPARAM>(&choice));
  if (result != IDOK || !IsWindow(hwnd) || choice.line < 1 || choice.line > inst.text.lineCount) return 0;
  selectWholeLine(inst, static_cast<int32_t>(choice.line));
  return 0;
}

}  // namespace tivra
