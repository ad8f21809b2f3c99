#include "web/core/web_send_response.h"

namespace quorvane::web::core {

lib::JsonValue WebSendResponse::MessageToJSONObject(std::string_view message) {
  lib::JsonValue body = lib::JsonValue::MakeObject();
  body.Add("message", lib::JsonValue::String(std::string(message)));
  return body;
}

WebResponse& WebSendResponse::SendMessage(WebResponse& res, std::string_view message, int status) {
  return res.Send(MessageToJSONObject(message)).Status(status);
}

WebResponse& WebSendResponse::SendMessage(WebResponse& res, lib::JsonValue json, int status) {
  return res.Send(std::move(json)).Status(status);
}

WebResponse& WebSendResponse::SendMessageAsJSON(WebResponse& res, std::string_view text,
                                                int status) {
  res.Content(lib::ParseJson(lib::ReduceToAscii(text)));
  return res.Status(status);
}

WebResponse& WebSendResponse::SendMessageBadRequest(WebResponse& res, std::string_view message) {
  return SendMessage(res, message, 400);
}

WebResponse& WebSendResponse::SendMessageUnauthorized(WebResponse& res, std::string_view message) {
  return SendMessage(res, message, 401);
}

WebResponse& WebSendResponse::SendMessageNotFound(WebResponse& res, std::string_view message) {
  return SendMessage(res, message, 404);
}

WebResponse& WebSendResponse::SendMessageNotFound(WebResponse& res) {
  return SendMessage(res, lib::JsonValue::Null(), 404);
}

WebResponse& WebSendResponse::SendMessagePreconditionFailed(WebResponse& res,
                                                            std::string_view message) {
  return SendMessage(res, message, 412);
}

WebResponse& WebSendResponse::SendMessagePreconditionFailed(WebResponse& res,
                                                            lib::JsonValue errors) {
  lib::JsonValue body = lib::JsonValue::MakeObject();
  body.Add("message", std::move(errors));
  return SendMessage(res, std::move(body), 412);
}

WebResponse& WebSendResponse::SendMessagePreconditionFailed(WebResponse& res, std::string_view key,
                                                            std::string_view value) {
  lib::JsonValue inner = lib::JsonValue::MakeObject();
  inner.Add(std::string(key), lib::JsonValue::String(std::string(value)));
  return SendMessagePreconditionFailed(res, std::move(inner));
}

WebResponse& WebSendResponse::SendMessageUnprocessableEntity(WebResponse& res) {
  return SendMessage(res, lib::JsonValue::Null(), 422);
}

WebResponse& WebSendResponse::SendMessageUnprocessableEntity(WebResponse& res,
                                                             std::string_view message) {
  return SendMessage(res, message, 422);
}

WebResponse& WebSendResponse::SendMessageServiceUnavailable(WebResponse& res,
                                                            std::string_view message) {
  return SendMessage(res, message, 503);
}

WebResponse& WebSendResponse::NoContent(WebResponse& res) { return res.Status(204); }

}  // namespace quorvane::web::core
