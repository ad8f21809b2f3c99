#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <string_view>

#include "jose/bytes.h"
#include "jose/exceptions.h"
#include "jose/jwt.h"

namespace quorvane::jose {

// What every JOSE algorithm tells about itself. Algorithms are immutable and
// shared through std::shared_ptr.
class JOSEAlgorithm {
 public:
  virtual ~JOSEAlgorithm() = default;
  JOSEAlgorithmId GetAlgorithmIdentifier() const { return algorithm_identifier_; }
  JOSEKeyCategory GetKeyCategory() const { return key_category_; }
  const std::string& GetKeyType() const { return key_type_; }

 protected:
  JOSEAlgorithm(JOSEAlgorithmId id, JOSEKeyCategory category, std::string key_type)
      : algorithm_identifier_(id), key_category_(category), key_type_(std::move(key_type)) {}

 private:
  JOSEAlgorithmId algorithm_identifier_;
  JOSEKeyCategory key_category_;
  std::string key_type_;
};

// A JWS signature algorithm (RFC 7518 section 3). Keys, inputs and
// signatures are bytes; a signature is the encoded signature segment
// (base64url text), never the raw signature.
class JOSESigningAlgorithm : public JOSEAlgorithm {
 public:
  // True when `signature` (the segment as received) signs `input` under
  // `key`; false, or a JOSEException/SignException for a key unfit for the
  // algorithm.
  virtual bool VerifySignature(const JOSEBytes& key, const JOSEBytes& input,
                               const JOSEBytes& signature) const = 0;
  // The encoded signature segment of `input` under `key`.
  virtual JOSEBytes Sign(const JOSEBytes& key, const JOSEBytes& input) const = 0;
  // Throw JOSEException when `key` is unfit for signing or verifying.
  virtual void ValidateSigningKey(const JOSEBytes& key) const = 0;
  virtual void ValidateVerificationKey(const JOSEBytes& key) const = 0;

 protected:
  using JOSEAlgorithm::JOSEAlgorithm;
};

// Interfaces of the encryption and compression families. The library
// implements none; their registries stay empty.
class JOSEEncryptionAlgorithm : public JOSEAlgorithm {
 protected:
  using JOSEAlgorithm::JOSEAlgorithm;
};
class JOSECompressionAlgorithm : public JOSEAlgorithm {
 protected:
  using JOSEAlgorithm::JOSEAlgorithm;
};

// Algorithms of one family, keyed by their exact, case-sensitive "alg" text.
// Lookups may run on many threads at once; changes take a writer lock.
template <class Algorithm>
class JOSEAlgorithmRegistry {
 public:
  explicit JOSEAlgorithmRegistry(std::string name) : name_(std::move(name)) {}

  const std::string& Name() const { return name_; }

  // Adds the algorithm under its identifier's text; a text registered twice
  // fails with JOSEException.
  JOSEAlgorithmRegistry& RegisterAlgorithm(std::shared_ptr<const Algorithm> algorithm) {
    const std::string text(JOSEAlgorithmIdHelper::AsString(algorithm->GetAlgorithmIdentifier()));
    std::unique_lock lock(mutex_);
    if (!algorithms_.emplace(text, std::move(algorithm)).second) {
      throw JOSEException("Algorithm [" + text + "] is already registered in [" + name_ + "]");
    }
    return *this;
  }
  // The algorithm registered under exactly `text`, or null.
  std::shared_ptr<const Algorithm> GetAlgorithm(std::string_view text) const {
    std::shared_lock lock(mutex_);
    const auto it = algorithms_.find(text);
    return it == algorithms_.end() ? nullptr : it->second;
  }
  void UnregisterAlgorithm(std::string_view text) {
    std::unique_lock lock(mutex_);
    const auto it = algorithms_.find(text);
    if (it != algorithms_.end()) algorithms_.erase(it);
  }
  void UnregisterAlgorithm(JOSEAlgorithmId id) {
    UnregisterAlgorithm(JOSEAlgorithmIdHelper::AsString(id));
  }

 private:
  std::string name_;
  mutable std::shared_mutex mutex_;
  std::map<std::string, std::shared_ptr<const Algorithm>, std::less<>> algorithms_;
};

// The process-wide registries. The signing registry holds, from the start,
// HS256, HS384, HS512, RS256, RS384, RS512, ES256, ES256K, ES384 and ES512;
// "none" and the PS names are not registered.
class JOSEAlgorithmRegistryFactory {
 public:
  // Created on first use (once, also when threads race) and kept until the
  // process ends.
  static JOSEAlgorithmRegistryFactory& GetInstance();

  JOSEAlgorithmRegistry<JOSESigningAlgorithm>& SigningAlgorithmRegistry() {
    return signing_algorithm_registry_;
  }
  JOSEAlgorithmRegistry<JOSEEncryptionAlgorithm>& EncryptionAlgorithmRegistry() {
    return encryption_algorithm_registry_;
  }
  JOSEAlgorithmRegistry<JOSECompressionAlgorithm>& CompressionAlgorithmRegistry() {
    return compression_algorithm_registry_;
  }

 private:
  JOSEAlgorithmRegistryFactory();

  JOSEAlgorithmRegistry<JOSESigningAlgorithm> signing_algorithm_registry_{"alg"};
  JOSEAlgorithmRegistry<JOSEEncryptionAlgorithm> encryption_algorithm_registry_{"alg"};
  JOSEAlgorithmRegistry<JOSECompressionAlgorithm> compression_algorithm_registry_{"alg"};
};

}  // namespace quorvane::jose
