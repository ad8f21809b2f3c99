#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "jose/bytes.h"
#include "jose/jwt.h"

namespace quorvane::jose {

// Compact serialization text rules. The empty text has no segments; any other
// text has one more segment than it has "." characters (consecutive dots give
// empty segments). No other character is special.
std::vector<std::string_view> SplitCompactSerialization(std::string_view text);
// The segments joined with ".".
JOSEBytes JoinCompactSerialization(const std::vector<JOSEBytes>& parts);

// Segment counts of the two compact forms.
inline constexpr std::size_t kJWSCompactParts = 3;
inline constexpr std::size_t kJWECompactParts = 5;

// Base of the compact-serialized JOSE objects: the encoded segments, in
// token order, and the token (header and claims) they encode. The token is
// not owned and must outlive this object.
class JOSEParts {
 public:
  explicit JOSEParts(JWT& token) : token_(&token) {}
  virtual ~JOSEParts() = default;
  JOSEParts(const JOSEParts&) = delete;
  JOSEParts& operator=(const JOSEParts&) = delete;

  virtual JOSEBytes GetCompactToken() const = 0;
  virtual void SetCompactToken(const JOSEBytes& value) = 0;

  // Removes all segments.
  void Clear() { parts_.clear(); }
  // Makes every segment empty, keeping their number.
  void Empty();

  std::string HeaderAlgorithm() const { return token_->Header().Algorithm(); }
  JOSEAlgorithmId HeaderAlgorithmId() const {
    return JOSEAlgorithmIdHelper::FromString(HeaderAlgorithm());
  }
  void SetHeaderAlgorithm(JOSEAlgorithmId alg) {
    token_->Header().SetAlgorithm(JOSEAlgorithmIdHelper::AsString(alg));
  }
  void SetHeaderAlgorithm(std::string_view alg) { token_->Header().SetAlgorithm(alg); }

  bool SkipKeyValidation() const { return skip_key_validation_; }
  void SetSkipKeyValidation(bool skip) { skip_key_validation_ = skip; }

  JWT& Token() { return *token_; }
  const JWT& Token() const { return *token_; }
  const std::vector<JOSEBytes>& Parts() const { return parts_; }

 protected:
  std::vector<JOSEBytes> parts_;

 private:
  JWT* token_;
  bool skip_key_validation_ = false;
};

}  // namespace quorvane::jose
