#include "web/middleware/validate_server.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "model/model_utils.h"
#include "web/core/text_util.h"
#include "web/core/web_request.h"
#include "web/core/web_request_utils.h"
#include "web/core/web_response.h"
#include "web/core/web_send_response.h"
#include "web/middleware/tracker.h"

namespace quorvane::web::middleware {

using core::WebCallbackInterrupted;
using core::WebRequestUtils;
using core::WebSendResponse;
using model::ModelUtils;

namespace {

// Branch codes are decimal digits only, without blanks.
bool IsBranchCode(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

[[noreturn]] void Refuse(core::WebResponse& res, int status, std::string_view message) {
  WebSendResponse::SendMessage(res, message, status);
  throw WebCallbackInterrupted();
}

}  // namespace

void Validate(core::WebRequest& req, core::WebResponse& res, const core::WebNext& next) {
  if (WebRequestUtils::isPathInfo(req, {"/status"})) {
    WebTracker::Status(req, res, next);
    throw WebCallbackInterrupted();
  }

  const std::string schema_state = ModelUtils::TestSchema(req);
  if (core::text::ToUpperAscii(core::text::Trim(schema_state)) != "OK")
    Refuse(res, 400, schema_state);

  if (ModelUtils::isAguardandoCargaInicial(req)) Refuse(res, 503, "Aguardando carga inicial");

  if (!WebRequestUtils::isPathInfo(req, {"/v1/manutencao", "/v1/manutencao/inativar"}) &&
      ModelUtils::isManutencao(req)) {
    Refuse(res, 503, "Manutenção programada");
  }

  if (!WebRequestUtils::isPathInfo(req, {"/v1/manutencao/ativar", "/v1/manutencao/inativar"})) {
    const std::string filial = req.Headers("x-filial");
    if (core::text::Trim(filial).empty()) Refuse(res, 400, "Filial não informada");
    if (!IsBranchCode(filial)) Refuse(res, 400, "Filial informada não é válida");
    if (!ModelUtils::LoginIsValid(req)) Refuse(res, 401, "Invalid username or password");
  }

  next();
}

}  // namespace quorvane::web::middleware
