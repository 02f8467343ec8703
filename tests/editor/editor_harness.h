// Drives Tivra32 windows in tests: a notify window that records what the
// editor tells it and answers from a table, and a thin wrapper over the
// messages a test sends most.
#pragma once

#include "host.h"
#include "tivra.h"
#include "win32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

// TivraRange lives in the global namespace, where gtest looks for these.
inline bool operator==(const TivraRange& a, const TivraRange& b) {
  return a.StartPos == b.StartPos && a.EndPos == b.EndPos && a.StartLine == b.StartLine && a.EndLine == b.EndLine;
}

inline std::ostream& operator<<(std::ostream& os, const TivraRange& r) {
  return os << "(" << r.StartLine << "," << r.StartPos << ")-(" << r.EndLine << "," << r.EndPos << ")";
}

namespace editor_test {

// The editor's classes are registered before the first test, as every
// program that uses the library does before its first editor window.
class EditorClasses : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(TivraRegister()); }
};
inline ::testing::Environment* const kEditorClasses = ::testing::AddGlobalTestEnvironment(new EditorClasses);

struct Notification {
  HWND editor;
  int id;
  WORD code;
};

// A hidden window that receives the editor's notifications.
class NotifyWindow {
 public:
  NotifyWindow() {
    hwnd_ = platform::createMessageWindow([this](HWND h, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
      if (msg == WM_COMMAND) {
        const WORD code = HIWORD(wParam);
        seen.push_back(Notification{reinterpret_cast<HWND>(lParam), LOWORD(wParam), code});
        auto it = answers.find(code);
        return it == answers.end() ? 0 : it->second;
      }
      if (msg >= WM_USER) {
        if (auto it = handlers.find(msg); it != handlers.end()) return it->second(wParam, lParam);
        return 0;
      }
      return DefWindowProc(h, msg, wParam, lParam);
    });
  }
  ~NotifyWindow() { DestroyWindow(hwnd_); }
  NotifyWindow(const NotifyWindow&) = delete;
  NotifyWindow& operator=(const NotifyWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  std::vector<WORD> codes() const {
    std::vector<WORD> out;
    for (const Notification& n : seen) out.push_back(n.code);
    return out;
  }
  int count(WORD code) const {
    int n = 0;
    for (const Notification& s : seen) n += s.code == code;
    return n;
  }

  std::vector<Notification> seen;
  std::map<WORD, LRESULT> answers;                                  // notification code -> answer
  std::map<UINT, std::function<LRESULT(WPARAM, LPARAM)>> handlers;  // WM_USER-based requests

 private:
  HWND hwnd_ = nullptr;
};

// One editor window and the messages tests send it.
class Editor {
 public:
  // A child of the notify window (which becomes its notify window).
  Editor(NotifyWindow& parent, DWORD style = 0, const char* windowText = "", int id = 7, void* param = nullptr) {
    hwnd_ = CreateWindowEx(0, "Tivra32", windowText, WS_CHILD | style, 0, 0, 300, 200, parent.hwnd(),
                           reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, param);
  }
  // A top-level window without a parent.
  explicit Editor(DWORD style, const char* windowText = "") {
    hwnd_ = CreateWindowEx(0, "Tivra32", windowText, style, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
  }
  ~Editor() {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
  }
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  HWND hwnd() const { return hwnd_; }
  LRESULT send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const { return SendMessage(hwnd_, msg, wParam, lParam); }

  LRESULT setText(const std::string& text) const { return send(WM_SETTEXT, 1, reinterpret_cast<LPARAM>(text.c_str())); }
  std::string text() const {
    const LRESULT length = send(WM_GETTEXTLENGTH, 1);
    std::string out(static_cast<size_t>(length) + 1, '\x7f');
    EXPECT_EQ(send(WM_GETTEXT, 1, reinterpret_cast<LPARAM>(out.data())), 0);
    EXPECT_EQ(out[static_cast<size_t>(length)], 0) << "the text is zero-terminated";
    out.resize(static_cast<size_t>(length));
    return out;
  }
  long lineCount() const { return static_cast<long>(send(EM_GETLINECOUNT)); }
  std::string line(long n) const {
    std::vector<char> buffer(TIVRA_LINE_BUFFER + 1, '\x7f');
    const LRESULT length = send(EM_GETLINE, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(buffer.data()));
    return std::string(buffer.data(), static_cast<size_t>(length));
  }
  std::vector<std::string> lines() const {
    std::vector<std::string> out;
    for (long n = 1; n <= lineCount(); ++n) out.push_back(line(n));
    return out;
  }
  LRESULT select(LONG startLine, SHORT startPos, LONG endLine, SHORT endPos) const {
    TivraRange r{startPos, endPos, startLine, endLine};
    return send(EM_SETSEL, 0, reinterpret_cast<LPARAM>(&r));
  }
  TivraRange selection() const {
    TivraRange r{-9, -9, -9, -9};
    send(EM_GETSEL, 0, reinterpret_cast<LPARAM>(&r));
    return r;
  }
  LRESULT replace(const std::string& text) const {
    return send(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  std::string selectedText() const {
    const LRESULT length = send(TM_GETSELLENGTH);
    std::string out(static_cast<size_t>(length) + 1, '\x7f');
    send(TM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(out.data()));
    out.resize(static_cast<size_t>(length));
    return out;
  }
  void setOptions(WORD bits, bool on) const {
    if (on)
      send(TM_SETOPTIONS, bits, 0);
    else
      send(TM_SETOPTIONS, 0, bits);
  }

 private:
  HWND hwnd_ = nullptr;
};

// Compares texts that may be megabytes long; a failure shows where they
// part and a little of each, not all of them.
inline ::testing::AssertionResult sameText(const std::string& actual, const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  size_t at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
  auto around = [at](const std::string& s) {
    std::string out;
    for (size_t i = at >= 20 ? at - 20 : 0; i < s.size() && i < at + 40; ++i) {
      const char c = s[i];
      out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return out;
  };
  return ::testing::AssertionFailure() << "texts differ at byte " << at << " (lengths " << actual.size() << " and "
                                       << expected.size() << "): \"" << around(actual) << "\" vs \"" << around(expected)
                                       << "\"";
}

inline TivraRange range(LONG startLine, SHORT startPos, LONG endLine, SHORT endPos) {
  return TivraRange{startPos, endPos, startLine, endLine};
}

}  // namespace editor_test
