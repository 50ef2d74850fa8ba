#include <windows.h>
#include <wincrypt.h>

#include <algorithm>

#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Sha256.h"

namespace docrecover::win32 {

namespace {

// CryptoAPI loads its provider, rsaenh.dll, by the bare name the registry gives. Windows takes it
// from System32 only once the process has limited its DLL search to System32, which Windows 7 can
// do only with update KB2533623; without it the program's own folder, the disc, is searched
// first, and a DLL planted there would run elevated. A DLL already loaded is used whatever its
// folder, so the provider is loaded first by its full path, its own imports looked for beside it.
void LoadProviderFromSystem32() {
  static const HMODULE provider = [] {
    wchar_t system[MAX_PATH];
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
      throw LastError(L"GetSystemDirectoryW");
    }
    const std::wstring path = std::wstring(system, length) + L"\\rsaenh.dll";
    const HMODULE loaded =
        LoadLibraryExW(path.c_str(), /*hFile=*/nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (loaded == nullptr) {
      throw LastError(path);
    }
    return loaded;  // kept for the process's life
  }();
  static_cast<void>(provider);
}

class CryptoApiSha256 final : public Sha256 {
 public:
  CryptoApiSha256() {
    LoadProviderFromSystem32();
    // PROV_RSA_FULL refuses SHA-256. A verify context holds no key container: without it
    // CryptoAPI makes one, a lasting file in the user's profile.
    if (!CryptAcquireContextW(&provider_, /*szContainer=*/nullptr, /*szProvider=*/nullptr,
                              PROV_RSA_AES, CRYPT_VERIFYCONTEXT | CRYPT_SILENT)) {
      throw LastError(L"CryptAcquireContextW");
    }
    if (!CryptCreateHash(provider_, CALG_SHA_256, /*hKey=*/0, /*dwFlags=*/0, &hash_)) {
      const PlatformError failure = LastError(L"CryptCreateHash");
      CryptReleaseContext(provider_, /*dwFlags=*/0);
      throw failure;
    }
  }
  CryptoApiSha256(const CryptoApiSha256&) = delete;
  CryptoApiSha256& operator=(const CryptoApiSha256&) = delete;
  ~CryptoApiSha256() override {
    CryptDestroyHash(hash_);
    CryptReleaseContext(provider_, /*dwFlags=*/0);
  }

  void Add(std::span<const std::byte> data) override {
    while (!data.empty()) {  // a DWORD's worth at a time
      const DWORD part = static_cast<DWORD>(std::min<size_t>(data.size(), 1u << 30));
      if (!CryptHashData(hash_, reinterpret_cast<const BYTE*>(data.data()), part, /*dwFlags=*/0)) {
        throw LastError(L"CryptHashData");
      }
      data = data.subspan(part);
    }
  }

  Sha256Digest Finish() override {
    Sha256Digest digest;
    DWORD length = digest.size();
    if (!CryptGetHashParam(hash_, HP_HASHVAL, digest.data(), &length, /*dwFlags=*/0)) {
      throw LastError(L"CryptGetHashParam");
    }
    return digest;
  }

 private:
  HCRYPTPROV provider_ = 0;
  HCRYPTHASH hash_ = 0;
};

}  // namespace

std::unique_ptr<Sha256> NewCryptoApiSha256() {
  return std::make_unique<CryptoApiSha256>();
}

}  // namespace docrecover::win32
