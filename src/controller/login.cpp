#include "controller/login.h"

#include <optional>
#include <string>
#include <string_view>

#include "controller/controller_utils.h"
#include "controller/request_transaction.h"
#include "database/sql_input.h"
#include "model/model_database.h"
#include "model/model_sql.h"
#include "web/core/web_send_response.h"

namespace quorvane::controller::login {
namespace {

using model::ModelDatabase;
using web::core::WebCallbackInterrupted;
using web::core::WebNext;
using web::core::WebRequest;
using web::core::WebResponse;
using web::core::WebSendResponse;

constexpr std::string_view kMissingId = "ID de login não informado.";
constexpr std::string_view kInvalidId = "ID inválido: ";
constexpr std::string_view kLastActive = "Não é permitido todos os logins do schema";

[[noreturn]] void Refuse(WebResponse& res, std::string_view message) {
  WebSendResponse::SendMessageBadRequest(res, message);
  throw WebCallbackInterrupted();
}

}  // namespace

void Registry(web::core::WebCore& core) {
  core.Group()
      .Prefix("/v1/login")
      .Get("/", Handler(GetLogin))
      .Post("/", Handler(PostLogin))
      .Put("/:ID/ativar", Handler(PutLoginAtivar))
      .Put("/:ID/inativar", Handler(PutLoginInativar));
}

void Registry() { Registry(web::core::WebCore::GetInstance()); }

void GetLogin(WebRequest& req, WebResponse& res, const WebNext&) {
  ModelDatabase::ExecuteGet(req, res,
                            model::ModelSQLLogin::SelectLogin(model::RequestFilterHeaders(req)));
}

void PostLogin(WebRequest& req, WebResponse& res, const WebNext&) {
  model::ModelDatabaseParameters parameters;
  parameters.setGravarFilialOrigem(false);
  ModelDatabase::ExecutePost(req, res, "login", std::move(parameters));
}

void PutLoginAtivar(WebRequest& req, WebResponse& res, const WebNext&) { StatusLogin(req, res, 1); }

void PutLoginInativar(WebRequest& req, WebResponse& res, const WebNext&) {
  StatusLogin(req, res, 0);
}

void StatusLogin(WebRequest& req, WebResponse& res, int value) {
  const auto it = req.Params().find("ID");
  const std::string id = it == req.Params().end() ? std::string() : it->second;
  if (id.empty()) Refuse(res, kMissingId);
  if (!model::IsIntegerKey(id)) Refuse(res, std::string(kInvalidId) + id);

  database::DatabaseConnection& connection = ModelDatabase::RequestConnection(req);
  const database::PagingParameters no_paging;
  RequestTransaction transaction(connection);
  // Every account row locked first, in key order, so that switches are
  // decided one after the other: of two requests switching off the last two
  // active accounts, the second waits here and then sees the first one's
  // result. The later reads lock too, so they read the latest rows whatever
  // the session's isolation level.
  connection.SelectToJSONArray(no_paging, "Select id From login For Update", true);
  // Only an existing account is switched: the table holds no account
  // without a name and a password.
  if (!connection.SelectToJSONArray(
          no_paging, "Select id From login Where id = " + id + " For Update", true)) {
    Refuse(res, std::string(kInvalidId) + id);
  }
  if (value == 0) {
    const std::optional<lib::JsonValue> others =
        connection.SelectToJSONArray(no_paging,
                                     "Select id From login Where ativo = 1 and id <> " +
                                         model::QuoteSqlLiteral(id) + " For Update",
                                     true);
    if (!others) Refuse(res, kLastActive);
  }
  connection.Update("login", "id", "ativo", id, std::to_string(value));
  transaction.Commit();
  WebSendResponse::NoContent(res);
}

}  // namespace quorvane::controller::login
