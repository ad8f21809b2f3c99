#pragma once

#include <cstddef>

#include "lib/json.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"

namespace quorvane::web::middleware::internal {

// Lets JsonBody tell the Compression around it that the response body already
// holds, as text, the serialisation of the content value, so that a large
// answer is serialised once and not twice. The note belongs to the request,
// so it never outlives it.
//
//   OpenJsonTextNote(req);                  // Compression, before next
//   NoteJsonBodyWritten(req, res);          // JsonBody, after writing the body
//   if (BodyHoldsJsonOf(req, res)) ...      // Compression, after next

void OpenJsonTextNote(core::WebRequest& req);

// Called by JsonBody right after it has set the body text to the
// serialisation of the content value. Does nothing unless a note is open.
void NoteJsonBodyWritten(core::WebRequest& req, const core::WebResponse& res);

// True when JsonBody wrote the serialisation of the current content value
// into the body since the note was opened, and the body is still that text.
bool BodyHoldsJsonOf(core::WebRequest& req, const core::WebResponse& res);

}  // namespace quorvane::web::middleware::internal
