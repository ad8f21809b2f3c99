#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "jose/arrays.h"
#include "jose/jwt.h"
#include "web/core/web_callback.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"

namespace quorvane::web::middleware {

// Optional claim requirements of one JWT middleware installation. A new
// config requires nothing and expects no audience (so a token with "aud" is
// refused).
class WebJWTConfig {
 public:
  static std::unique_ptr<WebJWTConfig> New() { return std::make_unique<WebJWTConfig>(); }

  bool IsRequireAudience() const { return is_require_audience_; }
  WebJWTConfig& SetIsRequireAudience(bool value) {
    is_require_audience_ = value;
    return *this;
  }
  const jose::JOSEStringArray& ExpectedAudience() const { return expected_audience_; }
  WebJWTConfig& SetExpectedAudience(jose::JOSEStringArray value) {
    expected_audience_ = std::move(value);
    return *this;
  }
  bool IsRequiredExpirationTime() const { return is_required_expiration_time_; }
  WebJWTConfig& SetIsRequiredExpirationTime(bool value) {
    is_required_expiration_time_ = value;
    return *this;
  }
  bool IsRequiredIssuedAt() const { return is_required_issued_at_; }
  WebJWTConfig& SetIsRequiredIssuedAt(bool value) {
    is_required_issued_at_ = value;
    return *this;
  }
  bool IsRequiredNotBefore() const { return is_required_not_before_; }
  WebJWTConfig& SetIsRequiredNotBefore(bool value) {
    is_required_not_before_ = value;
    return *this;
  }
  bool IsRequiredSubject() const { return is_required_subject_; }
  WebJWTConfig& SetIsRequiredSubject(bool value) {
    is_required_subject_ = value;
    return *this;
  }

 private:
  bool is_require_audience_ = false;
  jose::JOSEStringArray expected_audience_;
  bool is_required_expiration_time_ = false;
  bool is_required_issued_at_ = false;
  bool is_required_not_before_ = false;
  bool is_required_subject_ = false;
};

// The checker of one installation: the signing key, the header (and query
// field) that carries the token, the claim requirements and the kind of
// session object. Configured before the server serves, then only read by
// the worker threads.
class WebJWTCallback {
 public:
  static std::unique_ptr<WebJWTCallback> New() { return std::make_unique<WebJWTCallback>(); }

  WebJWTCallback& SetSecretJWT(std::string secret_jwt);
  WebJWTCallback& SetHeader(std::string header);
  // nullptr: the session is a plain copy of the claims' JSON.
  WebJWTCallback& SetSessionClass(jose::JWTClaimsClass session_class);
  // Adopts `config`; nullptr keeps the current one.
  WebJWTCallback& SetConfig(std::unique_ptr<WebJWTConfig> config);

  const WebJWTConfig& Config() const { return *config_; }
  const std::string& Header() const { return header_; }

  // The per-request check. A request without a valid bearer token is
  // answered 401 with one of the plain-text bodies "Token not found",
  // "Invalid authorization type", "Invalid token authorization" or
  // "Unauthorized", and the chain ends (WebCallbackInterrupted). An
  // accepted token's claims become the request's session, then the chain
  // goes on; failures after this point are not turned into 401.
  void Callback(core::WebRequest& req, core::WebResponse& res, const core::WebNext& next) const;

 private:
  std::unique_ptr<WebJWTConfig> config_ = WebJWTConfig::New();
  std::string secret_jwt_;
  jose::JWTClaimsClass session_class_ = nullptr;
  std::string header_;
};

// Keeps every callback made by WebJWT alive until the process ends.
class WebJWTManager {
 public:
  static WebJWTManager& GetDefaultManager();

  // Takes ownership; the returned reference stays valid for the process.
  WebJWTCallback& Add(std::unique_ptr<WebJWTCallback> callback);
  std::size_t Count() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::unique_ptr<WebJWTCallback>> callback_list_;
};

// The JWT middleware: HS256/HS384/HS512 bearer tokens signed with
// `secret_jwt`, read from the header `header` (or, when that header is blank,
// from the query field of that name or of that name with a capital first
// letter).
core::WebCallback WebJWT(std::string secret_jwt, std::string header = "authorization");
core::WebCallback WebJWT(std::string secret_jwt, jose::JWTClaimsClass session_class,
                         std::unique_ptr<WebJWTConfig> config,
                         std::string header = "authorization");

}  // namespace quorvane::web::middleware
