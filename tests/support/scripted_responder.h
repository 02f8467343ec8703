// Answers the requests of the interaction seam from a script, records what
// was asked, and fails the test on any request it was not told to expect.
#pragma once

#include "interaction.h"

#include <gtest/gtest.h>

#include <QString>

#include <deque>
#include <functional>
#include <vector>

namespace testing_support {

struct SeenRequest {
  platform::RequestKind kind;
  QString caption;
  QString text;
  UINT flags;
};

class ScriptedResponder {
 public:
  using Handler = std::function<int(platform::Request&)>;

  ScriptedResponder() {
    previous_ = platform::setResponder([this](platform::Request& r) { return respond(r); });
  }
  ~ScriptedResponder() {
    platform::setResponder(std::move(previous_));
    EXPECT_TRUE(script_.empty()) << script_.size() << " scripted answer(s) were never asked for";
  }
  ScriptedResponder(const ScriptedResponder&) = delete;
  ScriptedResponder& operator=(const ScriptedResponder&) = delete;

  // The next request gets this answer.
  void answer(int result) {
    script_.push_back([result](platform::Request&) { return result; });
  }
  // The next request is handled by this function (to fill a form, say).
  void answer(Handler handler) { script_.push_back(std::move(handler)); }

  const std::vector<SeenRequest>& seen() const { return seen_; }
  const SeenRequest& last() const { return seen_.back(); }
  size_t pending() const { return script_.size(); }

 private:
  int respond(platform::Request& r) {
    seen_.push_back(SeenRequest{r.kind, r.caption, r.text, r.flags});
    if (script_.empty()) {
      ADD_FAILURE() << "unexpected request: caption \"" << r.caption.toStdString() << "\", text \""
                    << r.text.toStdString() << "\"";
      return r.kind == platform::RequestKind::MessageBox ? IDCANCEL : 0;
    }
    Handler h = std::move(script_.front());
    script_.pop_front();
    return h(r);
  }

  platform::Responder previous_;
  std::deque<Handler> script_;
  std::vector<SeenRequest> seen_;
};

}  // namespace testing_support
