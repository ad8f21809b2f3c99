#include "jose/consumer.h"

#include "jose/exceptions.h"
#include "jose/jws.h"

namespace quorvane::jose {

// --- consumer -------------------------------------------------------------------

JOSEConsumer::JOSEConsumer(JWTClaimsClass claims_class)
    : claims_class_(claims_class != nullptr ? claims_class : &JWTClaims::Create) {}

JOSEConsumer& JOSEConsumer::SetKey(JOSEBytes key) {
  key_ = std::move(key);
  return *this;
}
JOSEConsumer& JOSEConsumer::SetValidators(JOSEValidatorArray validators) {
  validators_ = std::move(validators);
  return *this;
}
JOSEConsumer& JOSEConsumer::SetExpectedAlgorithms(JOSEAlgorithms algorithms) {
  expected_algorithms_ = algorithms;
  return *this;
}
JOSEConsumer& JOSEConsumer::SetRequireSignature(bool value) {
  require_signature_ = value;
  return *this;
}
JOSEConsumer& JOSEConsumer::SetRequireEncryption(bool value) {
  require_encryption_ = value;
  return *this;
}
JOSEConsumer& JOSEConsumer::SetSkipSignatureVerification(bool value) {
  skip_signature_verification_ = value;
  return *this;
}
JOSEConsumer& JOSEConsumer::SetSkipVerificationKeyValidation(bool value) {
  skip_verification_key_validation_ = value;
  return *this;
}

void JOSEConsumer::Process(const JOSEBytes& compact_token) const {
  JOSEContext context(compact_token, claims_class_);
  ProcessContext(context);
}

void JOSEConsumer::ProcessContext(JOSEContext& context) const {
  auto* jws = dynamic_cast<JWS*>(&context.GetJOSEObject());
  if (jws != nullptr) {
    const std::string alg = jws->HeaderAlgorithm();
    if (!skip_signature_verification_) {
      if (!expected_algorithms_.Contains(JOSEAlgorithmIdHelper::FromString(alg))) {
        throw JOSEException("JWS algorithm [" + alg + "] is not listed among those expected");
      }
      if (skip_verification_key_validation_) jws->SetSkipKeyValidation(true);
      jws->SetKey(key_);
      if (!jws->VerifySignature()) {
        throw JOSEException("JWS signature is invalid: " + jws->Signature().ToString());
      }
    }
    if (require_signature_ && alg == "none") {
      throw JOSEException(
          "The JWT has no signature but the JWT Consumer is configured to require one");
    }
  }
  Validate(context);
}

void JOSEConsumer::Validate(const JOSEContext& context) const {
  std::vector<std::string> problems;
  for (const JOSEValidator& validator : validators_) {
    std::string problem = validator(context);
    if (!problem.empty()) problems.push_back(std::move(problem));
  }
  if (problems.empty()) return;
  std::string message = "JWT (claims: " + JSONUtils::ToJSON(context.GetClaims().JSON()) +
                        ") rejected due to invalid claims.\r\nValidation errors:\r\n";
  for (const std::string& problem : problems) message += problem + "\r\n";
  throw InvalidJWTException(message);
}

// --- builder -------------------------------------------------------------------

JOSEConsumerBuilder& JOSEConsumerBuilder::SetClaimsClass(JWTClaimsClass claims_class) {
  claims_class_ = claims_class;
  return *this;
}
JOSEConsumerBuilder& JOSEConsumerBuilder::SetEnableRequireEncryption() {
  enable_require_encryption_ = true;
  return *this;
}
JOSEConsumerBuilder& JOSEConsumerBuilder::SetDisableRequireSignature() {
  disable_require_signature_ = true;
  return *this;
}
JOSEConsumerBuilder& JOSEConsumerBuilder::SetSkipSignatureVerification() {
  skip_signature_verification_ = true;
  return *this;
}
JOSEConsumerBuilder& JOSEConsumerBuilder::SetSkipVerificationKeyValidation() {
  skip_verification_key_validation_ = true;
  return *this;
}
JOSEConsumerBuilder& JOSEConsumerBuilder::SetVerificationKey(JOSEBytes key) {
  key_ = std::move(key);
  return *this;
}
JOSEConsumerBuilder& JOSEConsumerBuilder::SetDecryptionKey(JOSEBytes key) {
  key_ = std::move(key);
  return *this;
}
JOSEConsumerBuilder& JOSEConsumerBuilder::SetExpectedAlgorithms(JOSEAlgorithms algorithms) {
  expected_algorithms_ = algorithms;
  return *this;
}
JOSEConsumerBuilder& JOSEConsumerBuilder::SetSkipDefaultAudienceValidation() {
  skip_default_audience_validation_ = true;
  return *this;
}
JOSEConsumerBuilder& JOSEConsumerBuilder::SetExpectedAudience(bool require_audience,
                                                              JOSEStringArray expected_audience) {
  aud_validator_ =
      JOSEClaimsValidators::audValidator(std::move(expected_audience), require_audience);
  return *this;
}
JOSEConsumerBuilder& JOSEConsumerBuilder::SetExpectedIssuer(bool require_issuer,
                                                            std::string expected_issuer) {
  iss_validator_ = JOSEClaimsValidators::issValidator(std::move(expected_issuer), require_issuer);
  return *this;
}
JOSEConsumerBuilder& JOSEConsumerBuilder::SetExpectedIssuers(bool require_issuer,
                                                             JOSEStringArray expected_issuers) {
  iss_validator_ = JOSEClaimsValidators::issValidator(std::move(expected_issuers), require_issuer);
  return *this;
}
JOSEConsumerBuilder& JOSEConsumerBuilder::SetRequireSubject() {
  require_subject_ = true;
  return *this;
}
JOSEConsumerBuilder& JOSEConsumerBuilder::SetExpectedSubject(std::string subject) {
  subject_ = std::move(subject);
  require_subject_ = true;
  return *this;
}
JOSEConsumerBuilder& JOSEConsumerBuilder::SetRequireJwtId() {
  require_jwt_id_ = true;
  return *this;
}
JOSEConsumerBuilder& JOSEConsumerBuilder::SetExpectedJwtId(std::string jwt_id) {
  jwt_id_ = std::move(jwt_id);
  require_jwt_id_ = true;
  return *this;
}
JOSEConsumerBuilder& JOSEConsumerBuilder::SetRequireExpirationTime() {
  date_validator_params_.require_exp = true;
  return *this;
}
JOSEConsumerBuilder& JOSEConsumerBuilder::SetRequireIssuedAt() {
  date_validator_params_.require_iat = true;
  return *this;
}
JOSEConsumerBuilder& JOSEConsumerBuilder::SetRequireNotBefore() {
  date_validator_params_.require_nbf = true;
  return *this;
}
JOSEConsumerBuilder& JOSEConsumerBuilder::SetEvaluationTime(
    const JOSENumericDate& evaluation_time) {
  date_validator_params_.static_evaluation_time = evaluation_time;
  return *this;
}
JOSEConsumerBuilder& JOSEConsumerBuilder::SetAllowedClockSkew(std::int32_t clock_skew,
                                                              JOSETimeUnit time_unit) {
  date_validator_params_.allowed_clock_skew_seconds =
      JOSETimeUnitHelper::ToSeconds(time_unit, clock_skew);
  return *this;
}
JOSEConsumerBuilder& JOSEConsumerBuilder::SetMaxFutureValidity(std::int32_t max_future_validity,
                                                               JOSETimeUnit time_unit) {
  date_validator_params_.max_future_validity_in_minutes =
      JOSETimeUnitHelper::ToMinutes(time_unit, max_future_validity);
  return *this;
}
JOSEConsumerBuilder& JOSEConsumerBuilder::RegisterValidator(JOSEValidator validator) {
  validators_.push_back(std::move(validator));
  return *this;
}
JOSEConsumerBuilder& JOSEConsumerBuilder::SetSkipAllValidators() {
  skip_all_validators_ = true;
  return *this;
}
JOSEConsumerBuilder& JOSEConsumerBuilder::SetSkipAllDefaultValidators() {
  skip_all_default_validators_ = true;
  return *this;
}

std::shared_ptr<JOSEConsumer> JOSEConsumerBuilder::Build() {
  JOSEValidatorArray validators = validators_;
  if (!skip_all_validators_ && !skip_all_default_validators_) {
    if (!skip_default_audience_validation_) {
      if (!aud_validator_) aud_validator_ = JOSEClaimsValidators::audValidator({}, false);
      validators.push_back(aud_validator_);
    }
    if (!iss_validator_) iss_validator_ = JOSEClaimsValidators::issValidator(std::string(), false);
    validators.push_back(iss_validator_);
    if (!date_validator_) {
      date_validator_ = JOSEClaimsValidators::DateClaimsValidator(date_validator_params_);
    }
    validators.push_back(date_validator_);
    validators.push_back(JOSEClaimsValidators::subValidator(subject_, require_subject_));
    validators.push_back(JOSEClaimsValidators::jtiValidator(jwt_id_, require_jwt_id_));
  }
  auto consumer =
      std::make_shared<JOSEConsumer>(claims_class_ != nullptr ? claims_class_ : &JWTClaims::Create);
  consumer->SetKey(key_)
      .SetRequireSignature(!disable_require_signature_)
      .SetRequireEncryption(enable_require_encryption_)
      .SetSkipSignatureVerification(skip_signature_verification_)
      .SetSkipVerificationKeyValidation(skip_verification_key_validation_)
      .SetExpectedAlgorithms(expected_algorithms_)
      .SetValidators(std::move(validators));
  return consumer;
}

}  // namespace quorvane::jose
