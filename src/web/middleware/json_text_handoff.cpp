#include "web/middleware/json_text_handoff.h"

namespace quorvane::web::middleware::internal {

thread_local JsonTextScope::Slot JsonTextScope::slot_;

JsonTextScope::JsonTextScope() : saved_(slot_) { slot_ = Slot{.open = true}; }

JsonTextScope::~JsonTextScope() { slot_ = saved_; }

bool JsonTextScope::BodyHoldsJsonOf(const core::WebResponse& res) const {
  const core::RawResponse& raw = res.RawWebResponse();
  return slot_.open && slot_.raw == &raw && slot_.content != nullptr &&
         slot_.content == res.Content() && !raw.body_is_bytes() && raw.body().size() == slot_.size;
}

void NoteJsonBodyWritten(const core::WebResponse& res) {
  JsonTextScope::Slot& slot = JsonTextScope::slot_;
  if (!slot.open) return;
  slot.raw = &res.RawWebResponse();
  slot.content = res.Content();
  slot.size = res.RawWebResponse().body().size();
}

}  // namespace quorvane::web::middleware::internal
