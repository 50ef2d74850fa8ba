#include "support/MemoryFileSystem.h"

#ifdef _WIN32
#include "platform/win32/Win32Sha256.h"
#else
#include <openssl/evp.h>
#endif

namespace docrecover::testing {

#ifdef _WIN32
std::unique_ptr<Sha256> NewTestSha256() {
  return win32::NewCryptoApiSha256();
}
#else
namespace {

class OpenSslSha256 final : public Sha256 {
 public:
  OpenSslSha256() { EVP_DigestInit_ex(context_.get(), EVP_sha256(), /*impl=*/nullptr); }
  void Add(std::span<const std::byte> data) override {
    EVP_DigestUpdate(context_.get(), data.data(), data.size());
  }
  Sha256Digest Finish() override {
    Sha256Digest digest;
    EVP_DigestFinal_ex(context_.get(), digest.data(), /*s=*/nullptr);
    return digest;
  }

 private:
  std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context_{EVP_MD_CTX_new(),
                                                                   &EVP_MD_CTX_free};
};

}  // namespace

std::unique_ptr<Sha256> NewTestSha256() {
  return std::make_unique<OpenSslSha256>();
}
#endif

}  // namespace docrecover::testing
