#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "web/core/web_request.h"

namespace quorvane::model {

// The tenant's row of the control table _stru._schemas, as one request sees
// it. Read at most once per request (the first check that needs it), so a
// setting changed between two requests takes effect on the next one.
struct TenantRow {
  bool exists = false;
  // NULL columns read as nullopt.
  std::optional<int> manutencao;
  std::optional<int> sincronizar_tributacao;
  std::optional<int> sincronizar_inativo;
  std::optional<int> igualar_precos;
};

// The questions the validation middleware asks before a /v1 handler runs:
// does the tenant exist, is the login valid, is the tenant in maintenance or
// waiting for its initial load. Stateless; uses the request's database lease.
class ModelUtils {
 public:
  // "OK" when the tenant can be used; otherwise "Schema não informado",
  // "Schema inválido" or the database layer's message.
  static std::string TestSchema(web::core::WebRequest& req);
  static std::string TestSchema(web::core::WebRequest& req, std::string_view schema);

  // x-user / x-pass (or the given login and password) against the tenant's
  // table login: exact, case-sensitive password and ativo = 1.
  static bool LoginIsValid(web::core::WebRequest& req);
  static bool LoginIsValid(web::core::WebRequest& req, std::string_view login,
                           std::string_view password);

  static bool isManutencao(web::core::WebRequest& req);
  static bool isAguardandoCargaInicial(web::core::WebRequest& req);
  // Whether the tenant's manutencao equals `status` (no row: 0).
  static bool ValidateStatusManutencao(web::core::WebRequest& req, short status);

  // The tenant's control row for x-schema, read once per request.
  static const TenantRow& Tenant(web::core::WebRequest& req);
};

}  // namespace quorvane::model
