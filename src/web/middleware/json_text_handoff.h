#pragma once

#include <cstddef>

#include "web/core/web_response.h"

namespace quorvane::web::middleware::internal {

// Lets JsonBody tell the Compression around it that the response body already
// holds, as text, the serialisation of the content value, so that a large
// answer is serialised once and not twice. The chain of one request runs on
// one thread, so the note lives in a thread-local slot.
//
// Compression opens a scope before it calls next; only a JsonBody running
// inside that scope can leave a note, and the scope puts back what was there
// before, so an earlier or nested chain never sees a stale note.
class JsonTextScope {
 public:
  JsonTextScope();
  ~JsonTextScope();
  JsonTextScope(const JsonTextScope&) = delete;
  JsonTextScope& operator=(const JsonTextScope&) = delete;

  // True when JsonBody, inside this scope, set the body of `res` to the
  // serialisation of its content value and the body is still that text.
  bool BodyHoldsJsonOf(const core::WebResponse& res) const;

 private:
  struct Slot {
    bool open = false;
    const core::RawResponse* raw = nullptr;
    const lib::JsonValue* content = nullptr;
    std::size_t size = 0;
  };
  friend void NoteJsonBodyWritten(const core::WebResponse& res);
  static thread_local Slot slot_;
  Slot saved_;
};

// Called by JsonBody right after it has set the body text to the
// serialisation of the content value. Does nothing outside a scope.
void NoteJsonBodyWritten(const core::WebResponse& res);

}  // namespace quorvane::web::middleware::internal
