#include "web/middleware/web_jwt.h"

#include <algorithm>
#include <string_view>

#include "jose/consumer.h"
#include "jose/context.h"

namespace quorvane::web::middleware {
namespace {

constexpr std::string_view kTokenNotFound = "Token not found";
constexpr std::string_view kInvalidAuthorizationType = "Invalid authorization type";
constexpr std::string_view kInvalidTokenAuthorization = "Invalid token authorization";
constexpr std::string_view kUnauthorized = "Unauthorized";
constexpr int kStatusUnauthorized = 401;

// Answers a refusal: the bare text as body, 401, and the chain ends here.
[[noreturn]] void Refuse(core::WebResponse& res, std::string_view message) {
  res.Send(message);
  res.Status(kStatusUnauthorized);
  throw core::WebCallbackInterrupted();
}

// Blank: only characters up to the space (control characters included).
bool IsBlank(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Position of the first case-insensitive occurrence of `needle` (lower
// case), or npos.
std::size_t FindNoCase(std::string_view text, std::string_view needle) {
  if (needle.size() > text.size()) return std::string_view::npos;
  for (std::size_t i = 0; i + needle.size() <= text.size(); ++i) {
    std::size_t k = 0;
    while (k < needle.size() && AsciiLower(text[i + k]) == needle[k]) ++k;
    if (k == needle.size()) return i;
  }
  return std::string_view::npos;
}

// The header name with its first letter a-z turned upper-case.
std::string NormalisedName(const std::string& header) {
  std::string name = header;
  if (!name.empty() && name[0] >= 'a' && name[0] <= 'z') name[0] = static_cast<char>(name[0] - 32);
  return name;
}

}  // namespace

WebJWTCallback& WebJWTCallback::SetSecretJWT(std::string secret_jwt) {
  secret_jwt_ = std::move(secret_jwt);
  return *this;
}

WebJWTCallback& WebJWTCallback::SetHeader(std::string header) {
  header_ = std::move(header);
  return *this;
}

WebJWTCallback& WebJWTCallback::SetSessionClass(jose::JWTClaimsClass session_class) {
  session_class_ = session_class;
  return *this;
}

WebJWTCallback& WebJWTCallback::SetConfig(std::unique_ptr<WebJWTConfig> config) {
  if (config) config_ = std::move(config);
  return *this;
}

void WebJWTCallback::Callback(core::WebRequest& req, core::WebResponse& res,
                              const core::WebNext& next) const {
  std::string token = req.Headers(header_);
  if (IsBlank(token)) {
    // A repeated query name throws here and ends the request with 500.
    const core::WebStringMap& query = req.Query();
    auto found = query.find(header_);
    if (found == query.end()) found = query.find(NormalisedName(header_));
    if (found == query.end()) Refuse(res, kTokenNotFound);
    token = found->second;  // as given, even when empty
  }
  if (FindNoCase(token, "bearer") == std::string::npos) Refuse(res, kInvalidAuthorizationType);
  // Only the first "bearer " goes, wherever it stands; nothing is trimmed,
  // so stray blanks end up in the signing input and fail the signature.
  if (const std::size_t at = FindNoCase(token, "bearer "); at != std::string::npos) {
    token.erase(at, 7);
  }

  auto consumer_builder = jose::JOSEConsumerBuilder::NewConsumer();
  consumer_builder.SetVerificationKey(jose::JOSEBytes(secret_jwt_))
      .SetSkipVerificationKeyValidation()
      .SetExpectedAudience(config_->IsRequireAudience(), config_->ExpectedAudience());
  if (config_->IsRequiredExpirationTime()) consumer_builder.SetRequireExpirationTime();
  if (config_->IsRequiredIssuedAt()) consumer_builder.SetRequireIssuedAt();
  if (config_->IsRequiredNotBefore()) consumer_builder.SetRequireNotBefore();
  if (config_->IsRequiredSubject()) consumer_builder.SetRequireSubject();
  const std::shared_ptr<jose::JOSEConsumer> consumer = consumer_builder.Build();

  std::unique_ptr<jose::JOSEContext> context;
  try {
    context = std::make_unique<jose::JOSEContext>(jose::JOSEBytes(std::move(token)),
                                                  &jose::JWTClaims::Create);
  } catch (const std::exception&) {
    Refuse(res, kInvalidTokenAuthorization);
  }

  try {
    consumer->ProcessContext(*context);
    lib::JsonValue session = context->GetClaims().Clone();
    if (session_class_ != nullptr) {
      // The session object is of the configured class; the request carries
      // its JSON.
      std::unique_ptr<jose::JWTClaims> object = session_class_();
      object->SetAsJSON(std::move(session));
      session = object->Clone();
    }
    req.Session(std::move(session));
  } catch (const core::WebCallbackInterrupted&) {
    throw;
  } catch (const std::exception&) {
    Refuse(res, kUnauthorized);
  }
  context.reset();  // nothing of the token is needed past this point

  next();
}

WebJWTManager& WebJWTManager::GetDefaultManager() {
  static WebJWTManager manager;
  return manager;
}

WebJWTCallback& WebJWTManager::Add(std::unique_ptr<WebJWTCallback> callback) {
  std::lock_guard lock(mutex_);
  callback_list_.push_back(std::move(callback));
  return *callback_list_.back();
}

std::size_t WebJWTManager::Count() const {
  std::lock_guard lock(mutex_);
  return callback_list_.size();
}

core::WebCallback WebJWT(std::string secret_jwt, std::string header) {
  return WebJWT(std::move(secret_jwt), nullptr, nullptr, std::move(header));
}

core::WebCallback WebJWT(std::string secret_jwt, jose::JWTClaimsClass session_class,
                         std::unique_ptr<WebJWTConfig> config, std::string header) {
  auto callback = WebJWTCallback::New();
  callback->SetSecretJWT(std::move(secret_jwt))
      .SetHeader(std::move(header))
      .SetSessionClass(session_class)
      .SetConfig(std::move(config));
  const WebJWTCallback* installed = &WebJWTManager::GetDefaultManager().Add(std::move(callback));
  return [installed](core::WebRequest& req, core::WebResponse& res, const core::WebNext& next) {
    installed->Callback(req, res, next);
  };
}

}  // namespace quorvane::web::middleware
