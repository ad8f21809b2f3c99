#include "controller/controller_utils.h"

#include <utility>

#include "database/errors.h"
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
    model::ModelDatabase::ExecutePost(req, res, table);
  });
}

}  // namespace quorvane::controller
