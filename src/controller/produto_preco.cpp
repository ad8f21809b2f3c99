#include "controller/produto_preco.h"

#include <cctype>
#include <utility>

#include "controller/controller_utils.h"
#include "controller/parametros.h"
#include "lib/json.h"
#include "model/model_database.h"
#include "model/model_sql.h"
#include "web/core/web_send_response.h"

namespace quorvane::controller::produto_preco {

using model::ModelDatabase;
using model::ModelDatabaseParameters;
using model::ModelSQLPrecos;
using web::core::WebCallbackInterrupted;
using web::core::WebNext;
using web::core::WebRequest;
using web::core::WebResponse;
using web::core::WebSendResponse;

namespace {

constexpr std::string_view kItensTable = "tabelaprecositens";
constexpr std::string_view kFilialField = "codfilial";
constexpr std::string_view kMissingFilialValue =
    "O cabeçalho x-key-values não informa o valor da chave codfilial.";
constexpr std::string_view kInvalidFilial = "Filial informada não é válida";

// Blanks and control characters, as branch systems pad their key lists.
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool IsDigits(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// The upload of one item with the given options.
void Upload(WebRequest& req, WebResponse& res, ModelDatabaseParameters parameters) {
  ModelDatabase::ExecutePost(req, res, kItensTable, std::move(parameters));
}

}  // namespace

void Registry(web::core::WebCore& core) {
  core.Group()
      .Prefix("/v1/preco")
      .Get("/", Read(&ModelSQLPrecos::SelectTabelas))
      .Post("/", Write("tabelaprecos"))
      .Get("/item", Read([](const model::SqlFilterHeaders& headers) {
             return ModelSQLPrecos::SelectTabelasItens(headers, {});
           }))
      .Post("/item", Handler(PostItem))
      .Get("/item/filial", Handler(GetItemFilial));
}

void Registry() { Registry(web::core::WebCore::GetInstance()); }

std::vector<std::string> SplitKeyList(std::string_view text) {
  std::vector<std::string> entries;
  if (text.empty()) return entries;
  std::string current;
  bool quoted = false;
  for (const char c : text) {
    if (c == '"') {
      quoted = !quoted;  // dropped from the entry
    } else if (c == ',' && !quoted) {
      entries.push_back(std::move(current));
      current.clear();
    } else {
      current += c;
    }
  }
  entries.push_back(std::move(current));
  return entries;
}

std::optional<std::string> EqualisedKeyValues(std::string_view key_fields,
                                              std::string_view key_values) {
  const std::vector<std::string> fields = SplitKeyList(key_fields);
  std::vector<std::string> values = SplitKeyList(key_values);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (Lower(Trim(fields[i])) != kFilialField) continue;
    // A value outside the given list would be a key the client never sent.
    if (i >= values.size()) return std::nullopt;
    values[i] = std::string(kFilialCompartilhada);
    break;  // only the first codfilial
  }
  std::string joined;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) joined += ", ";
    joined += Trim(values[i]);
  }
  return joined;
}

void GetItemFilial(WebRequest& req, WebResponse& res, const WebNext&) {
  std::string filter = "codfilial = ";
  if (parametros::isIgualarPrecos(req)) {
    filter += kFilialCompartilhada;
  } else {
    // The validation middleware admits only digits; checked again because
    // the value is written into the statement as it stands.
    const std::string filial = req.Headers("x-filial");
    if (!IsDigits(filial)) {
      WebSendResponse::SendMessageBadRequest(res, kInvalidFilial);
      throw WebCallbackInterrupted();
    }
    filter += filial;
  }
  ModelDatabase::ExecuteGet(
      req, res, ModelSQLPrecos::SelectTabelasItens(model::RequestFilterHeaders(req), filter));
}

void PostItem(WebRequest& req, WebResponse& res, const WebNext&) {
  ModelDatabaseParameters parameters;
  if (parametros::isIgualarPrecos(req)) {
    const std::string key_fields = req.Headers("x-key-fields");
    const std::optional<std::string> key_values =
        EqualisedKeyValues(key_fields, req.Headers("x-key-values"));
    if (!key_values) {
      WebSendResponse::SendMessageBadRequest(res, kMissingFilialValue);
      throw WebCallbackInterrupted();
    }
    // Without x-key-fields the keys stay empty and the data service takes
    // them from the headers, as without equalised prices.
    parameters.setKeys(key_fields, *key_values);
  }
  Upload(req, res, std::move(parameters));
}

}  // namespace quorvane::controller::produto_preco
