#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "database/connection.h"
#include "lib/json.h"
#include "model/model_sql_basic.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"

namespace quorvane::model {

// Whether `text` can stand in a statement as an integer key: an optional "-"
// and 1 to 18 decimal digits, so it can neither widen a condition
// ("1 or 1=1") nor overflow a BIGINT.
bool IsIntegerKey(std::string_view text);

// The download filter headers of a request (x-where, x-alterado-apos,
// x-filial-origem-filter, x-filial) for the query catalogue.
SqlFilterHeaders RequestFilterHeaders(const web::core::WebRequest& req);

// Options of one upload, handed from a controller to ModelDatabase::ExecutePost.
class ModelDatabaseParameters {
 public:
  ModelDatabaseParameters() { Reset(); }

  // No body, codfilialorigem written, no keys.
  ModelDatabaseParameters& Reset();
  // The object to write instead of the request body.
  ModelDatabaseParameters& setBody(lib::JsonValue value);
  // Whether the column codfilialorigem is set from x-filial.
  ModelDatabaseParameters& setGravarFilialOrigem(bool value);
  // Key columns and key values (SQL literals) of the upsert, instead of the
  // x-key-fields / x-key-values headers.
  ModelDatabaseParameters& setKeys(std::string fields, std::string values);

  const std::optional<lib::JsonValue>& getBody() const { return body_; }
  std::optional<lib::JsonValue>& getBody() { return body_; }
  bool getGravarFilialOrigem() const { return gravar_filial_origem_; }
  const std::string& getKeyFields() const { return key_fields_; }
  const std::string& getKeyValues() const { return key_values_; }

 private:
  std::optional<lib::JsonValue> body_;
  bool gravar_filial_origem_ = true;
  std::string key_fields_;
  std::string key_values_;
};

// The generic data service between the controllers and the database: reads,
// uploads and deletes that answer the request with the standard statuses and
// bodies. Stateless.
//
// All statements of one request run on one pooled database lease, kept on
// the request and switched between the control schema and the tenant as
// needed; it is given back when the request ends.
//
// Refusals (400 and the like) fill the response and throw
// web::core::WebCallbackInterrupted where the chain must stop; unexpected
// database errors propagate and become the framework's 500 answer.
class ModelDatabase {
 public:
  // The control schema that holds one row per tenant.
  static constexpr std::string_view kControlSchema = "_stru";

  // A new connection object for the schema of x-schema / for `schema`,
  // configured with the server's database settings. The caller owns it.
  static std::unique_ptr<database::DatabaseConnection> CreateConnection(web::core::WebRequest& req);
  static std::unique_ptr<database::DatabaseConnection> CreateConnection(std::string_view schema);

  // The request's own connection object for `schema` (x-schema when empty),
  // running on the request's one lease. Owned by the request.
  static database::DatabaseConnection& RequestConnection(web::core::WebRequest& req,
                                                         std::string_view schema = {});

  // RequestConnection, switched to `schema` at once, so that a schema that
  // cannot be opened fails here with the database's message ("Unknown
  // database ...") rather than on the next statement.
  static database::DatabaseConnection& OpenRequestConnection(web::core::WebRequest& req,
                                                             std::string_view schema);

  // 200 with the rows of `sql` as an array (paged by limit/page), or 422 with
  // the body null. An empty `schema` means the tenant of x-schema.
  static void ExecuteGet(web::core::WebRequest& req, web::core::WebResponse& res,
                         std::string_view sql, std::string_view schema = {});

  // 200 with the first row of `sql` as an object (no paging), or 422 null.
  static void ExecuteGetObject(web::core::WebRequest& req, web::core::WebResponse& res,
                               std::string_view sql, std::string_view schema = {});

  // Writes one object into `table_name`: insert, or upsert when keys are
  // given. Answers 200 {"id": N} when the database generated key N, else 204;
  // 400 {"message": ...} for a missing or invalid body and for a write the
  // database refuses. Returns the generated key or 0.
  static std::int64_t ExecutePost(web::core::WebRequest& req, web::core::WebResponse& res,
                                  std::string_view table_name, std::string_view schema = {});
  static std::int64_t ExecutePost(web::core::WebRequest& req, web::core::WebResponse& res,
                                  std::string_view table_name, ModelDatabaseParameters parameters,
                                  std::string_view schema = {});

  // Deletes the row whose `pk_name` equals the path parameter ID: 204 (also
  // when no row matched); 400 without an ID; 400 "ID inválido: " + ID when
  // the ID is not a plain integer or the database refuses.
  static void ExecuteDelete(web::core::WebRequest& req, web::core::WebResponse& res,
                            std::string_view table_name, std::string_view pk_name);

  // Runs `sql` on the tenant of x-schema; the generated key or 0. Errors
  // propagate.
  static std::int64_t ExecuteSQL(web::core::WebRequest& req, std::string_view sql);
};

}  // namespace quorvane::model
