#pragma once

#include <string>

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
// x-key-fields / x-key-values, member names checked as column names).
web::core::WebCallback Write(std::string table);

}  // namespace quorvane::controller
