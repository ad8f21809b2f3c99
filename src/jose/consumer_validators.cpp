#include "jose/consumer_validators.h"

#include <cstdio>
#include <string>

namespace quorvane::jose {
namespace {

using Wide = __int128;

// Substitutes each "%s" of `pattern` by the next argument, in order.
std::string Format(std::string_view pattern, std::initializer_list<std::string_view> args) {
  std::string out;
  auto next = args.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's' &&
        next != args.end()) {
      out += *next++;
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

std::string SkewText(std::int32_t skew) {
  if (skew <= 0) return ".";
  return "(even when providing [" + std::to_string(skew) +
         "] seconds of leeway to account for clock skew)";
}

}  // namespace

JOSEValidator JOSEClaimsValidators::audValidator(JOSEStringArray audience, bool required) {
  return [audience = std::move(audience), required](const JOSEContext& context) -> std::string {
    const JWTClaims& claims = context.GetClaims();
    if (!claims.HasAudience()) return required ? "No Audience [aud] claim present" : "";
    const JOSEStringArray values = claims.AudienceArray();
    for (const std::string& value : values.Items()) {
      if (audience.Contains(value)) return "";
    }
    std::string result = "Audience [aud] claim ";
    result += audience.IsEmpty()
                  ? " present in the JWT but no expected audience value(s) were provided to the "
                    "JWT Consumer."
                  : " doesn't contain an acceptable identifier.";
    // Appended piece by piece: GCC 12 misreads "literal + temporary" here
    // as an overlapping copy (-Wrestrict) in optimised builds.
    result += " Expected ";
    result += audience.Size() == 1 ? "[" : "one of [";
    result += audience.ToString();
    result += "]";
    result += " as aud value.";
    return result;
  };
}

JOSEValidator JOSEClaimsValidators::issValidator(std::string issuer, bool required) {
  JOSEStringArray issuers;
  if (!issuer.empty()) issuers.Push(std::move(issuer));
  return issValidator(std::move(issuers), required);
}

JOSEValidator JOSEClaimsValidators::issValidator(JOSEStringArray issuers, bool required) {
  return [issuers = std::move(issuers), required](const JOSEContext& context) -> std::string {
    const JWTClaims& claims = context.GetClaims();
    const std::string issuer = claims.Issuer();
    if (claims.HasIssuer() || !required) {
      if (!issuers.IsEmpty() && !issuers.Contains(issuer)) {
        return Format("Issuer [iss] claim value [%s] doesn't match expected value of [%s]",
                      {issuer, issuers.ToStringPluralForm("one of ")});
      }
      return "";
    }
    return Format("No Issuer [iss] claim present but was expecting %s",
                  {issuers.ToStringPluralForm("one of ")});
  };
}

JOSEValidator JOSEClaimsValidators::subValidator(std::string subject, bool required) {
  return [subject = std::move(subject), required](const JOSEContext& context) -> std::string {
    const JWTClaims& claims = context.GetClaims();
    if (!claims.HasSubject() && required) return "No Subject [sub] claim present";
    const std::string value = claims.Subject();
    if (!subject.empty() && value != subject) {
      return Format("Subject [sub] claim value [%s] doesn't match expected value of [%s]",
                    {value, subject});
    }
    return "";
  };
}

JOSEValidator JOSEClaimsValidators::jtiValidator(std::string jwt_id, bool required) {
  return [jwt_id = std::move(jwt_id), required](const JOSEContext& context) -> std::string {
    const JWTClaims& claims = context.GetClaims();
    if (!claims.HasJWTId() && required) return "No JWT ID [jti] claim present.";
    const std::string value = claims.JWTId();
    if (!jwt_id.empty() && value != jwt_id) {
      return Format("JWT Id [jti] claim value [%s] doesn't match expected value of [%s]",
                    {value, jwt_id});
    }
    return "";
  };
}

JOSEValidator JOSEClaimsValidators::DateClaimsValidator(JOSEDateClaimsParams params) {
  return [params](const JOSEContext& context) -> std::string {
    const JWTClaims& claims = context.GetClaims();
    const JOSENumericDate exp = claims.Expiration();
    const JOSENumericDate iat = claims.IssuedAt();
    const JOSENumericDate nbf = claims.NotBefore();
    const bool has_exp = claims.HasExpiration();
    const bool has_iat = claims.HasIssuedAt();
    const bool has_nbf = claims.HasNotBefore();

    if (params.require_exp && !has_exp) return "No Expiration Time [exp] claim present";
    if (params.require_iat && !has_iat) return "No IssuedAt [iat] claim present";
    if (params.require_nbf && !has_nbf) return "No NotBefore [nbf] claim present";

    // Judged at the configured instant or at this token's own "now": a
    // consumer kept for many tokens must not freeze its clock at the first.
    const JOSENumericDate evaluation = params.static_evaluation_time.IsNull()
                                           ? JOSENumericDate::Now()
                                           : params.static_evaluation_time;
    const Wide now = evaluation.AsSeconds();
    const Wide skew = params.allowed_clock_skew_seconds;
    const std::string skew_text = SkewText(params.allowed_clock_skew_seconds);

    if (has_exp) {
      const Wide e = exp.AsSeconds();
      if (now - skew >= e) {
        return Format(
            "The JWT is no longer valid - the evaluation time [%s] is on or after the Expiration "
            "Time [exp=%s] claim value %s",
            {evaluation.AsISO8601(), exp.AsLocalISO8601(), skew_text});
      }
      if (has_iat && e + skew < Wide{iat.AsSeconds()}) {
        return Format(
            "The Expiration Time (exp=%s) claim value cannot be before the IssuedAt (iat=%s) "
            "claim value",
            {exp.AsISO8601(), iat.AsISO8601()});
      }
      if (has_nbf && e + skew < Wide{nbf.AsSeconds()}) {
        return Format(
            "The Expiration Time (exp=%s) claim value cannot be before the NotBefore (nbf=%s) "
            "claim value",
            {exp.AsISO8601(), nbf.AsISO8601()});
      }
      const std::int32_t max_minutes = params.max_future_validity_in_minutes;
      if (max_minutes > 0 && e - skew - now > Wide{60} * max_minutes) {
        return Format("The Expiration Time [exp=%s] claim value cannot be more than [" +
                          std::to_string(max_minutes) +
                          "] minutes in the future relative to the evaluation time [%s] %s",
                      {exp.AsISO8601(), evaluation.AsISO8601(), skew_text});
      }
    }
    if (has_nbf && Wide{nbf.AsSeconds()} > now + skew) {
      return Format(
          "The JWT is not yet valid as the evaluation time [%s] is before the NotBefore "
          "[nbf=%s] claim time %s",
          {evaluation.AsISO8601(), nbf.AsISO8601(), skew_text});
    }
    return "";
  };
}

}  // namespace quorvane::jose
