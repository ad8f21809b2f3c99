#pragma once

#include <openssl/bio.h>
#include <openssl/bn.h>
#include <openssl/ec.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>
#include <string>

namespace quorvane::jose {

// Owning handles over OpenSSL objects: freed on every path.
template <auto FreeFn>
struct FreeWith {
  template <class T>
  void operator()(T* p) const noexcept {
    FreeFn(p);
  }
};
using EvpPkeyPtr = std::unique_ptr<EVP_PKEY, FreeWith<&EVP_PKEY_free>>;
using EvpMdCtxPtr = std::unique_ptr<EVP_MD_CTX, FreeWith<&EVP_MD_CTX_free>>;
using EvpMacCtxPtr = std::unique_ptr<EVP_MAC_CTX, FreeWith<&EVP_MAC_CTX_free>>;
using BioPtr = std::unique_ptr<BIO, FreeWith<&BIO_free>>;
using X509Ptr = std::unique_ptr<X509, FreeWith<&X509_free>>;
using BignumPtr = std::unique_ptr<BIGNUM, FreeWith<&BN_free>>;
using EcdsaSigPtr = std::unique_ptr<ECDSA_SIG, FreeWith<&ECDSA_SIG_free>>;
using EcGroupPtr = std::unique_ptr<EC_GROUP, FreeWith<&EC_GROUP_free>>;

// The text of the calling thread's latest OpenSSL error; clears the
// thread's error queue so that no stale error leaks into a later call.
std::string TakeOpenSSLError();

}  // namespace quorvane::jose
