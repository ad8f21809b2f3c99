#include "web/middleware/json_text_handoff.h"

namespace quorvane::web::middleware::internal {
namespace {

struct JsonTextNote {
  bool open = false;
  const lib::JsonValue* content = nullptr;
  std::size_t size = 0;
};

}  // namespace

void OpenJsonTextNote(core::WebRequest& req) {
  req.Attachment<JsonTextNote>() = JsonTextNote{.open = true};
}

void NoteJsonBodyWritten(core::WebRequest& req, const core::WebResponse& res) {
  JsonTextNote& note = req.Attachment<JsonTextNote>();
  if (!note.open) return;
  note.content = res.Content();
  note.size = res.RawWebResponse().body().size();
}

bool BodyHoldsJsonOf(core::WebRequest& req, const core::WebResponse& res) {
  const JsonTextNote& note = req.Attachment<JsonTextNote>();
  const core::RawResponse& raw = res.RawWebResponse();
  return note.open && note.content != nullptr && note.content == res.Content() &&
         !raw.body_is_bytes() && raw.body().size() == note.size;
}

}  // namespace quorvane::web::middleware::internal
