// A TTivra whose editor window records every message it is sent, with the
// texts, items and ranges that the message's parameters point to at the
// moment it was sent.
#pragma once

#include "component/tivra_component.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

inline bool operator==(const TivraRange& a, const TivraRange& b) {
  return a.StartPos == b.StartPos && a.EndPos == b.EndPos && a.StartLine == b.StartLine && a.EndLine == b.EndLine;
}

namespace app_test {

struct Sent {
  UINT msg = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  std::string text;         // the string lParam points to
  std::vector<WORD> items;  // TM_SETSYNTAX
  TivraRange range{};       // TM_SETSEL, TM_FIND
  int32_t firstNumber = 0;  // EM_GETLINE: the buffer's first 32 bits
};

class RecordingTivra : public TTivra {
 public:
  using TTivra::TTivra;
  ~RecordingTivra() override {
    if (Handle() && previous_) {
      SetWindowLongPtr(Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
      RemoveProp(Handle(), kProp);
    }
  }

  std::vector<Sent> sent;

  // The messages sent since the last call.
  std::vector<Sent> take() {
    std::vector<Sent> out;
    out.swap(sent);
    return out;
  }
  // Only the messages the component sends to drive the editor.
  std::vector<Sent> takeCommands() {
    std::vector<Sent> out;
    for (Sent& s : take()) {
      if (isCommand(s.msg)) out.push_back(std::move(s));
    }
    return out;
  }
  static std::vector<UINT> ids(const std::vector<Sent>& list) {
    std::vector<UINT> out;
    for (const Sent& s : list) out.push_back(s.msg);
    return out;
  }

 protected:
  void EditorCreated(HWND editor) override {
    SetProp(editor, kProp, this);
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingTivra::proc)));
  }

 private:
  static constexpr const char* kProp = "TestRecorder";

  static bool isCommand(UINT msg) {
    return msg >= WM_USER || (msg >= EM_GETSEL && msg <= EM_SETREADONLY) || msg == WM_CLEAR || msg == WM_CUT ||
           msg == WM_COPY || msg == WM_PASTE || msg == WM_SETFONT || msg == WM_COMMAND;
  }

  static Sent describe(UINT msg, WPARAM wParam, LPARAM lParam) {
    Sent s{msg, wParam, lParam, {}, {}, {}, 0};
    const auto* text = reinterpret_cast<const char*>(lParam);
    switch (msg) {
      case TM_SETTEXT:
      case EM_REPLACESEL:
      case TM_SETFILTER:
      case TM_SETFINDTEXT:
      case TM_LOADFILE:
      case TM_SAVEFILEAS:
        if (text) s.text = text;
        break;
      case TM_SETSYNTAX:
        if (lParam) {
          const auto* items = reinterpret_cast<const WORD*>(lParam);
          s.items.assign(items, items + LOBYTE(wParam));
        }
        break;
      case TM_SETSEL:
      case TM_FIND:
        if (lParam) s.range = *reinterpret_cast<const TivraRange*>(lParam);
        break;
      case EM_GETLINE:
        if (lParam) std::memcpy(&s.firstNumber, text, sizeof s.firstNumber);
        break;
      default:
        break;
    }
    return s;
  }

  static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<RecordingTivra*>(GetProp(hwnd, kProp));
    WNDPROC previous = self->previous_;
    self->sent.push_back(describe(msg, wParam, lParam));
    return CallWindowProc(previous, hwnd, msg, wParam, lParam);
  }

  WNDPROC previous_ = nullptr;
};

}  // namespace app_test
