#pragma once

#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/string_body.hpp>

#include "web/core/raw_web.h"

namespace quorvane::web::core {

// How the provider reads one request off the wire. The fuzz target of the
// HTTP frame uses the same two functions, so that what it feeds the route
// tree is exactly what a client could make the server see.
using RequestParser = boost::beast::http::request_parser<boost::beast::http::string_body>;

// Applies the provider's limits (kMaxHeaderBytes, kMaxBodyBytes) to a fresh
// parser.
void ConfigureRequestParser(RequestParser& parser);

// Moves a complete message into `raw`: the method upper-cased, the target
// split into path and query, the protocol version, the headers in arrival
// order and the body; then any method override of a POST. The remote address
// is left to the caller.
void ToRawRequest(RequestParser::value_type& message, RawRequest& raw);

}  // namespace quorvane::web::core
