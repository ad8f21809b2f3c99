#pragma once

#include <string_view>

#include "lib/json.h"
#include "web/core/web_response.h"

namespace quorvane::web::core {

// The standard answers. Each sets the status and the content value (written
// into the body later by the JSON middleware), never the body text, and
// returns the response. A helper does not stop the chain: throw
// WebCallbackInterrupted right after it when nothing else may run.
class WebSendResponse {
 public:
  // {"message": message}
  static lib::JsonValue MessageToJSONObject(std::string_view message);

  static WebResponse& SendMessage(WebResponse& res, std::string_view message, int status);
  static WebResponse& SendMessage(WebResponse& res, lib::JsonValue json, int status);
  // The value parsed from `text` after reducing it to 7-bit ASCII; when the
  // text is not valid JSON the content is cleared and only the status set.
  static WebResponse& SendMessageAsJSON(WebResponse& res, std::string_view text, int status);

  static WebResponse& SendMessageBadRequest(WebResponse& res, std::string_view message);    // 400
  static WebResponse& SendMessageUnauthorized(WebResponse& res, std::string_view message);  // 401
  static WebResponse& SendMessageNotFound(WebResponse& res, std::string_view message);      // 404
  static WebResponse& SendMessageNotFound(WebResponse& res);  // 404, content null
  static WebResponse& SendMessagePreconditionFailed(WebResponse& res,
                                                    std::string_view message);  // 412
  // 412 with {"message": errors}.
  static WebResponse& SendMessagePreconditionFailed(WebResponse& res, lib::JsonValue errors);
  // 412 with {"message": {key: value}}, value as a JSON string.
  static WebResponse& SendMessagePreconditionFailed(WebResponse& res, std::string_view key,
                                                    std::string_view value);
  static WebResponse& SendMessageUnprocessableEntity(WebResponse& res);  // 422, content null
  static WebResponse& SendMessageUnprocessableEntity(WebResponse& res,
                                                     std::string_view message);  // 422
  static WebResponse& SendMessageServiceUnavailable(WebResponse& res,
                                                    std::string_view message);  // 503
  // 204; the content is left as it is (the writer sends no body for 204).
  static WebResponse& NoContent(WebResponse& res);
};

}  // namespace quorvane::web::core
