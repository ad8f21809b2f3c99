#include "controller/controller_utils.h"

#include <utility>

#include "database/errors.h"
#include "lib/lib_json.h"
#include "model/model_database.h"
#include "web/core/web_send_response.h"

namespace quorvane::controller {

using web::core::WebCallback;
using web::core::WebCallbackInterrupted;
using web::core::WebNext;
using web::core::WebRequest;
using web::core::WebResponse;
using web::core::WebSendResponse;

WebCallback Handler(WebCallback handler) {
  return [handler = std::move(handler)](WebRequest& req, WebResponse& res, const WebNext& next) {
    try {
      handler(req, res, next);
    } catch (const model::FilterHeaderError& e) {
      WebSendResponse::SendMessageBadRequest(res, e.what());
      throw WebCallbackInterrupted();
    } catch (const database::InvalidInputError& e) {
      WebSendResponse::SendMessageBadRequest(res, e.what());
      throw WebCallbackInterrupted();
    }
  };
}

WebCallback Read(CatalogueSelect select) {
  return Handler([select](WebRequest& req, WebResponse& res, const WebNext&) {
    const std::string sql = select(model::RequestFilterHeaders(req));
    model::ModelDatabase::ExecuteGet(req, res, sql);
  });
}

WebCallback Write(std::string table) {
  return Handler([table = std::move(table)](WebRequest& req, WebResponse& res, const WebNext&) {
    std::optional<lib::JsonValue> body = UploadBody(req);
    if (!body) {
      model::ModelDatabase::ExecutePost(req, res, table);  // answers the bad body
      return;
    }
    model::ModelDatabaseParameters parameters;
    parameters.setBody(std::move(*body));
    model::ModelDatabase::ExecutePost(req, res, table, std::move(parameters));
  });
}

bool IsPlainColumnName(std::string_view name) {
  if (name.empty()) return false;
  for (const char c : name) {
    const bool ok =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    if (!ok) return false;
  }
  return true;
}

void CheckColumnNames(const lib::JsonValue& object) {
  if (!object.IsObject()) return;
  for (const lib::JsonMember& member : object.AsObject()) {
    if (member.value.IsObject() || member.value.IsArray()) continue;  // never a column
    std::string column;
    for (const char c : member.name) {
      if (c != '"') column += c;
    }
    if (!IsPlainColumnName(column)) {
      throw database::InvalidInputError("Nome de coluna inválido: " + member.name);
    }
  }
}

std::optional<lib::JsonValue> UploadBody(const WebRequest& req) {
  std::optional<lib::JsonValue> body = lib::LibJSON::StrToJSONValue(req.Body());
  if (!body || !body->IsObject()) return std::nullopt;
  CheckColumnNames(*body);
  return body;
}

}  // namespace quorvane::controller
