#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "lib/json.h"
#include "model/model_sql_basic.h"
#include "web/core/web_callback.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"

namespace quorvane::controller {

// Wraps a route handler so that what the lower layers refuse as client input
// becomes a 400 answer here, in one place, instead of a 500:
//   model::FilterHeaderError      a download filter header (x-where, ...)
//   database::InvalidInputError   a column name, key value or paging value
// The answer is {"message": what()} and the chain stops
// (WebCallbackInterrupted). Everything else propagates unchanged, so
// database failures still become the framework's 500 page.
//
// Every controller registers its handlers through this:
//   group.Get("/", Handler(Get)).Post("/", Handler(Post));
web::core::WebCallback Handler(web::core::WebCallback handler);

// A catalogue function of the query catalogue that takes nothing but the
// request's filter headers (ModelSQLCidade::SelectCidades and the like).
using CatalogueSelect = std::string (*)(const model::SqlFilterHeaders& headers);

// The read shape: the catalogue's statement for this request, handed to
// ModelDatabase::ExecuteGet on the tenant of x-schema.
web::core::WebCallback Read(CatalogueSelect select);

// The write shape: the request body upserted into `table` by
// ModelDatabase::ExecutePost (codfilialorigem from x-filial, keys from
// x-key-fields / x-key-values), after its column names passed
// CheckColumnNames.
web::core::WebCallback Write(std::string table);

// Whether `name` can stand in a statement as a column name: one or more
// ASCII letters, digits and underscores, nothing else.
bool IsPlainColumnName(std::string_view name);

// The member names of an upload object become column names written into the
// statement as bare text; the database layer checks only the joined list, in
// which a name like "nome, codigo" passes as two columns and shifts the
// values. So every name that becomes a column (members with a scalar value;
// double quotes are dropped from names on the way, as the write does) must
// be a plain column name. Throws database::InvalidInputError
// "Nome de coluna inválido: <name>" otherwise.
void CheckColumnNames(const lib::JsonValue& object);

// The request body read the way the data service reads uploads
// (lib::LibJSON::StrToJSONValue), with CheckColumnNames applied when it is an
// object. nullopt when the body is no JSON object; the data service then
// answers for the missing body itself. Hand the result to ExecutePost with
// ModelDatabaseParameters::setBody so the body is parsed once.
std::optional<lib::JsonValue> UploadBody(const web::core::WebRequest& req);

}  // namespace quorvane::controller
