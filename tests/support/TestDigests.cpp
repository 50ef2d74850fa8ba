#include "support/MemoryFileSystem.h"

#include <algorithm>

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

// Keeps what is added and digests it at the end with OpenSSL's: for the tests' small files only.
struct OpenSslSha256 final : Sha256 {
  void Add(std::span<const std::byte> more) override {
    data.append(reinterpret_cast<const char*>(more.data()), more.size());
  }
  Sha256Digest Finish() override {
    Sha256Digest digest;
    EVP_Digest(data.data(), data.size(), digest.data(), /*size=*/nullptr, EVP_sha256(),
               /*impl=*/nullptr);
    return digest;
  }
  std::string data;
};

}  // namespace

std::unique_ptr<Sha256> NewTestSha256() {
  return std::make_unique<OpenSslSha256>();
}
#endif

std::string ListText(const std::vector<std::wstring>& documents) {
  std::string text = "DocRecover documents 1\n";
  for (const std::wstring& document : documents) {
    const size_t equals = document.find(L'=');
    const std::string name(document.begin(), document.begin() + std::min(equals, document.size()));
    const std::string content = equals == std::wstring::npos
                                    ? "new"
                                    : std::string(document.begin() + equals + 1, document.end());
    const auto digest = NewTestSha256();
    digest->Add(std::as_bytes(std::span(content)));
    for (const uint8_t byte : digest->Finish()) {
      text += "0123456789abcdef"[byte >> 4];
      text += "0123456789abcdef"[byte & 15];
    }
    text.append(" ").append(std::to_string(content.size())).append(" ").append(name) += '\n';
  }
  return text;
}

}  // namespace docrecover::testing
