#pragma once

#include <functional>
#include <stdexcept>
#include <string_view>

namespace quorvane::web::core {

class WebRequest;
class WebResponse;

// Method codes of requests and registrations. The numbers are part of the
// contract (they appear in logs); every method other than the six named ones,
// OPTIONS included, is kAny.
enum class HttpMethod : int {
  kAny = 0,
  kGet = 1,
  kPut = 2,
  kPost = 3,
  kHead = 4,
  kDelete = 5,
  kPatch = 6,
};

// The method code of an (upper-case) method text: exactly "GET", "PUT",
// "POST", "HEAD", "DELETE" or "PATCH"; anything else is kAny.
HttpMethod MethodFromText(std::string_view method);

// Continues the chain from inside a callback.
using WebNext = std::function<void()>;

// The one shape of every middleware and handler. A callback that returns
// without calling `next` does not stop the chain; only throwing
// WebCallbackInterrupted (after filling the response) does.
using WebCallback = std::function<void(WebRequest& req, WebResponse& res, const WebNext& next)>;

// Thrown after an answer has been filled, to end the chain without turning
// the answer into an error. The provider swallows it and sends the response
// as the callbacks left it.
class WebCallbackInterrupted : public std::runtime_error {
 public:
  WebCallbackInterrupted() : std::runtime_error("") {}
};

}  // namespace quorvane::web::core
