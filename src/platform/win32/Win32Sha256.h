#pragma once

#include <memory>

#include "platform/FileSystemService.h"

namespace docrecover::win32 {

// SHA-256 from CryptoAPI (advapi32), Windows' own provider since XP SP3.
std::unique_ptr<Sha256> NewCryptoApiSha256();

}  // namespace docrecover::win32
