#pragma once

#include <memory>
#include <string>

#include "jose/arrays.h"
#include "jose/bytes.h"
#include "jose/consumer_validators.h"
#include "jose/context.h"
#include "jose/jwt.h"

namespace quorvane::jose {

// Decides whether a parsed token is acceptable: first the signature of its
// JWS (algorithm allow-list, key, signature), then every claim check, whose
// problems are reported together. Immutable once built; safe to share.
class JOSEConsumer {
 public:
  explicit JOSEConsumer(JWTClaimsClass claims_class);

  JOSEConsumer& SetKey(JOSEBytes key);
  JOSEConsumer& SetValidators(JOSEValidatorArray validators);
  JOSEConsumer& SetExpectedAlgorithms(JOSEAlgorithms algorithms);
  JOSEConsumer& SetRequireSignature(bool value);
  JOSEConsumer& SetRequireEncryption(bool value);
  JOSEConsumer& SetSkipSignatureVerification(bool value);
  JOSEConsumer& SetSkipVerificationKeyValidation(bool value);

  // Parses `compact_token` with the consumer's claims class and processes it.
  void Process(const JOSEBytes& compact_token) const;
  // Throws JOSEException when the signature stage refuses the token, and
  // InvalidJWTException (or a validator's own error) when the claims do.
  void ProcessContext(JOSEContext& context) const;
  // Runs the claim checks only.
  void Validate(const JOSEContext& context) const;

 private:
  JOSEBytes key_;
  JOSEValidatorArray validators_;
  JWTClaimsClass claims_class_;
  JOSEAlgorithms expected_algorithms_;
  bool require_signature_ = true;
  bool require_encryption_ = false;  // encrypted tokens are refused while read
  bool skip_signature_verification_ = false;
  bool skip_verification_key_validation_ = false;
};

// Fluent builder of consumers. By default every algorithm but Unknown and
// ES256K is admitted, a signature is required, and the default checks run:
// no "aud" accepted, any "iss", the date claims at the current time, "sub"
// and "jti" optional.
class JOSEConsumerBuilder {
 public:
  static JOSEConsumerBuilder NewConsumer() { return JOSEConsumerBuilder(); }

  JOSEConsumerBuilder& SetClaimsClass(JWTClaimsClass claims_class);
  JOSEConsumerBuilder& SetEnableRequireEncryption();
  JOSEConsumerBuilder& SetDisableRequireSignature();
  JOSEConsumerBuilder& SetSkipSignatureVerification();
  JOSEConsumerBuilder& SetSkipVerificationKeyValidation();
  JOSEConsumerBuilder& SetVerificationKey(JOSEBytes key);
  JOSEConsumerBuilder& SetDecryptionKey(JOSEBytes key);  // the same key as above
  JOSEConsumerBuilder& SetExpectedAlgorithms(JOSEAlgorithms algorithms);
  JOSEConsumerBuilder& SetSkipDefaultAudienceValidation();
  JOSEConsumerBuilder& SetExpectedAudience(bool require_audience,
                                           JOSEStringArray expected_audience);
  JOSEConsumerBuilder& SetExpectedIssuer(bool require_issuer, std::string expected_issuer);
  JOSEConsumerBuilder& SetExpectedIssuers(bool require_issuer, JOSEStringArray expected_issuers);
  JOSEConsumerBuilder& SetRequireSubject();
  JOSEConsumerBuilder& SetExpectedSubject(std::string subject);
  JOSEConsumerBuilder& SetRequireJwtId();
  JOSEConsumerBuilder& SetExpectedJwtId(std::string jwt_id);
  JOSEConsumerBuilder& SetRequireExpirationTime();
  JOSEConsumerBuilder& SetRequireIssuedAt();
  JOSEConsumerBuilder& SetRequireNotBefore();
  JOSEConsumerBuilder& SetEvaluationTime(const JOSENumericDate& evaluation_time);
  JOSEConsumerBuilder& SetAllowedClockSkew(std::int32_t clock_skew, JOSETimeUnit time_unit);
  JOSEConsumerBuilder& SetMaxFutureValidity(std::int32_t max_future_validity,
                                            JOSETimeUnit time_unit);
  // Registered checks run before the default ones, in registration order.
  JOSEConsumerBuilder& RegisterValidator(JOSEValidator validator);
  // Both suppress only the default checks; registered ones still run.
  JOSEConsumerBuilder& SetSkipAllValidators();
  JOSEConsumerBuilder& SetSkipAllDefaultValidators();

  // A consumer with the settings made so far. The builder is left as it
  // was, so later changes do not reach consumers already built.
  std::shared_ptr<JOSEConsumer> Build();

  // Every identifier except Unknown and ES256K (bits 0x7DFE).
  static constexpr JOSEAlgorithms kDefaultExpectedAlgorithms = JOSEAlgorithms::FromBits(0x7DFE);

 private:
  JOSEConsumerBuilder() = default;

  JOSEValidatorArray validators_;
  JOSEDateClaimsParams date_validator_params_ = JOSEDateClaimsParams::New();
  JOSEValidator date_validator_;
  JOSEValidator aud_validator_;
  JOSEValidator iss_validator_;
  JOSEBytes key_;
  JWTClaimsClass claims_class_ = nullptr;
  JOSEAlgorithms expected_algorithms_ = kDefaultExpectedAlgorithms;
  bool disable_require_signature_ = false;
  bool enable_require_encryption_ = false;
  bool skip_verification_key_validation_ = false;
  bool require_jwt_id_ = false;
  bool require_subject_ = false;
  bool skip_all_default_validators_ = false;
  bool skip_all_validators_ = false;
  bool skip_default_audience_validation_ = false;
  bool skip_signature_verification_ = false;
  std::string subject_;
  std::string jwt_id_;
};

}  // namespace quorvane::jose
