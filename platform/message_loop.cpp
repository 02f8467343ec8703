// Posted messages, timers and the message loop, joined to Qt's event loop.
//
// Posted messages wait in one queue. While the program runs Qt's loop, a
// pump object drains the queue between Qt's own events; while code runs a
// GetMessage loop of its own, that loop takes the messages instead. Timers
// post WM_TIMER (at most one waiting per timer, as on Windows).
#include "internal.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>

#include <deque>
#include <map>
#include <memory>
#include <string>

using namespace platform::detail;

namespace {

struct TimerKey {
  HWND hwnd;
  UINT_PTR id;
  bool operator<(const TimerKey& o) const { return hwnd != o.hwnd ? hwnd < o.hwnd : id < o.id; }
};

struct TimerEntry {
  std::unique_ptr<QTimer> timer;
  TIMERPROC proc = nullptr;
  bool pending = false;  // a WM_TIMER is waiting in the queue
};

class Pump : public QObject {
 public:
  void schedule();
  bool event(QEvent* e) override;

 private:
  bool scheduled_ = false;
};

struct LoopState {
  std::deque<MSG> queue;
  std::map<TimerKey, TimerEntry> timers;
  std::map<std::string, UINT> registered;
  UINT nextRegistered = 0xC000;
  UINT_PTR nextThreadTimer = 1;
  int getMessageDepth = 0;
  bool quitPosted = false;
  int quitCode = 0;
  Pump* pump = nullptr;
};

LoopState& state() {
  static LoopState& s = *new LoopState;  // process-wide, never torn down
  return s;
}

DWORD now() {
  static QElapsedTimer clock = [] {
    QElapsedTimer t;
    t.start();
    return t;
  }();
  return static_cast<DWORD>(clock.elapsed()) + 1000;
}

Pump& pump() {
  LoopState& s = state();
  if (!s.pump) s.pump = new Pump;  // lives for the process, like the queue
  return *s.pump;
}

void Pump::schedule() {
  if (scheduled_) return;
  scheduled_ = true;
  QCoreApplication::postEvent(this, new QEvent(QEvent::User));
}

bool Pump::event(QEvent* e) {
  if (e->type() != QEvent::User) return QObject::event(e);
  scheduled_ = false;
  LoopState& s = state();
  if (s.getMessageDepth > 0) return true;  // a GetMessage loop takes them
  // Only what is queued now; messages posted meanwhile wait for the next
  // turn so that Qt's own events are not starved.
  size_t count = s.queue.size();
  while (count-- > 0 && !s.queue.empty() && s.getMessageDepth == 0) {
    MSG msg = s.queue.front();
    s.queue.pop_front();
    DispatchMessage(&msg);
  }
  if (!s.queue.empty()) schedule();
  return true;
}

MSG makeMsg(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG m{};
  m.hwnd = hwnd;
  m.message = message;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = now();
  GetCursorPos(&m.pt);
  return m;
}

void post(const MSG& msg) {
  state().queue.push_back(msg);
  pump().schedule();
}

bool matches(const MSG& m, HWND hwnd, UINT min, UINT max) {
  if (hwnd && m.hwnd != hwnd) return false;
  if (min == 0 && max == 0) return true;
  return m.message >= min && m.message <= max;
}

bool takeMessage(LPMSG out, HWND hwnd, UINT min, UINT max, bool remove) {
  auto& q = state().queue;
  for (auto it = q.begin(); it != q.end(); ++it) {
    if (!matches(*it, hwnd, min, max)) continue;
    *out = *it;
    if (remove) q.erase(it);
    return true;
  }
  return false;
}

void timerFired(HWND hwnd, UINT_PTR id) {
  auto& timers = state().timers;
  auto it = timers.find(TimerKey{hwnd, id});
  if (it == timers.end() || it->second.pending) return;
  it->second.pending = true;
  post(makeMsg(hwnd, WM_TIMER, id, reinterpret_cast<LPARAM>(it->second.proc)));
}

}  // namespace

namespace platform::detail {

void killTimersOf(HWND hwnd) {
  auto& timers = state().timers;
  for (auto it = timers.begin(); it != timers.end();) {
    if (it->first.hwnd == hwnd)
      it = timers.erase(it);
    else
      ++it;
  }
}

void dropMessagesOf(HWND hwnd) {
  auto& q = state().queue;
  std::erase_if(q, [hwnd](const MSG& m) { return m.hwnd == hwnd; });
}

}  // namespace platform::detail

BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hwnd && !IsWindow(hwnd)) return FALSE;
  post(makeMsg(hwnd, msg, wParam, lParam));
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  LoopState& s = state();
  s.quitPosted = true;
  s.quitCode = exitCode;
  if (s.getMessageDepth == 0) QCoreApplication::exit(exitCode);
}

BOOL GetMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (!msg) return -1;
  LoopState& s = state();
  ++s.getMessageDepth;
  BOOL result = TRUE;
  for (;;) {
    if (s.quitPosted) {
      s.quitPosted = false;
      *msg = makeMsg(nullptr, WM_QUIT, static_cast<WPARAM>(s.quitCode), 0);
      result = FALSE;
      break;
    }
    if (takeMessage(msg, hwnd, filterMin, filterMax, true)) break;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  --s.getMessageDepth;
  if (s.getMessageDepth == 0 && !s.queue.empty()) pump().schedule();
  return result;
}

BOOL PeekMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg) {
  if (!msg) return FALSE;
  LoopState& s = state();
  if (!(removeMsg & PM_NOYIELD)) {
    ++s.getMessageDepth;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    --s.getMessageDepth;
  }
  if (s.quitPosted && (removeMsg & PM_REMOVE)) {
    s.quitPosted = false;
    *msg = makeMsg(nullptr, WM_QUIT, static_cast<WPARAM>(s.quitCode), 0);
    return TRUE;
  }
  bool found = takeMessage(msg, hwnd, filterMin, filterMax, (removeMsg & PM_REMOVE) != 0);
  if (s.getMessageDepth == 0 && !s.queue.empty()) pump().schedule();
  return found ? TRUE : FALSE;
}

BOOL TranslateMessage(const MSG*) {
  // Host widgets already send WM_CHAR with each key that produces text.
  return FALSE;
}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER) {
    auto& timers = state().timers;
    auto it = timers.find(TimerKey{msg->hwnd, msg->wParam});
    if (it == timers.end()) return 0;  // killed while the message waited
    it->second.pending = false;
    if (msg->lParam) {
      reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
      return 0;
    }
  }
  if (!msg->hwnd) return 0;
  if (msg->message == WM_PAINT) {
    if (Window* w = find(msg->hwnd)) paintPending(*w);
    return 0;
  }
  return SendMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

UINT RegisterWindowMessage(LPCSTR name) {
  if (!name || !*name) return 0;
  LoopState& s = state();
  std::string key(name);
  for (char& c : key) c = ascii::lower(c);
  auto it = s.registered.find(key);
  if (it != s.registered.end()) return it->second;
  if (s.nextRegistered > 0xFFFF) return 0;
  return s.registered[key] = s.nextRegistered++;
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (hwnd && !IsWindow(hwnd)) return 0;
  LoopState& s = state();
  if (!hwnd) id = s.nextThreadTimer++;
  TimerEntry& entry = s.timers[TimerKey{hwnd, id}];
  if (!entry.timer) {
    entry.timer = std::make_unique<QTimer>();
    QObject::connect(entry.timer.get(), &QTimer::timeout, [hwnd, id] { timerFired(hwnd, id); });
  }
  entry.proc = proc;
  entry.timer->start(static_cast<int>(std::max<UINT>(elapse, 10)));
  return id ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto& timers = state().timers;
  auto it = timers.find(TimerKey{hwnd, id});
  if (it == timers.end()) return FALSE;
  timers.erase(it);
  std::erase_if(state().queue,
                [hwnd, id](const MSG& m) { return m.message == WM_TIMER && m.hwnd == hwnd && m.wParam == id; });
  return TRUE;
}
