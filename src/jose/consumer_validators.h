#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "jose/arrays.h"
#include "jose/context.h"
#include "jose/numeric_date.h"

namespace quorvane::jose {

// A claim check: empty text when the token passes, otherwise the problem.
// It may also throw (a date claim that is no integer), which rejects the
// token with that error.
using JOSEValidator = std::function<std::string(const JOSEContext&)>;
using JOSEValidatorArray = std::vector<JOSEValidator>;

// Settings of the date check.
struct JOSEDateClaimsParams {
  bool require_exp = false;
  bool require_iat = false;
  bool require_nbf = false;
  // The instant tokens are judged at; the null date means "now", read anew
  // for every token.
  JOSENumericDate static_evaluation_time;
  std::int32_t allowed_clock_skew_seconds = 0;
  // 0 or less: no limit on how far in the future "exp" may lie.
  std::int32_t max_future_validity_in_minutes = 0;

  static JOSEDateClaimsParams New() { return JOSEDateClaimsParams(); }
};

// Factories of the registered-claim checks (RFC 7519 section 4.1).
class JOSEClaimsValidators {
 public:
  // "aud" must share at least one value with `audience`; an empty
  // `audience` thus refuses every token that carries "aud".
  static JOSEValidator audValidator(JOSEStringArray audience, bool required);
  // "iss" must be one of `issuers`; an empty list (or empty issuer) accepts
  // any value.
  static JOSEValidator issValidator(std::string issuer, bool required);
  static JOSEValidator issValidator(JOSEStringArray issuers, bool required);
  static JOSEValidator subValidator(std::string subject, bool required);
  static JOSEValidator subValidator(bool required) { return subValidator(std::string(), required); }
  static JOSEValidator jtiValidator(std::string jwt_id, bool required);
  static JOSEValidator jtiValidator(bool required) { return jtiValidator(std::string(), required); }
  // "exp", "nbf" and "iat" against the evaluation time, in whole seconds.
  static JOSEValidator DateClaimsValidator(JOSEDateClaimsParams params);
};

}  // namespace quorvane::jose
