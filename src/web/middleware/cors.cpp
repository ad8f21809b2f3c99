#include "web/middleware/cors.h"

#include <string_view>

namespace quorvane::web::middleware {
namespace {

struct CorsHeader {
  std::string_view name;
  std::string_view value;
};

constexpr CorsHeader kCorsHeaders[] = {
    {"Access-Control-Allow-Origin", "*"},   {"Access-Control-Allow-Credentials", "true"},
    {"Access-Control-Allow-Headers", "*"},  {"Access-Control-Allow-Methods", "*"},
    {"Access-Control-Expose-Headers", "*"},
};

}  // namespace

void CORS(core::WebRequest& req, core::WebResponse& res, const core::WebNext& next) {
  for (const CorsHeader& h : kCorsHeaders) res.Header(h.name, h.value);
  // OPTIONS has no method code of its own (it is "any"), so look at the text.
  if (req.RawWebRequest().method == "OPTIONS") {
    res.Send("");
    res.Status(204);
    throw core::WebCallbackInterrupted();
  }
  next();
}

}  // namespace quorvane::web::middleware
