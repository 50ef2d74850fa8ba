// The document copy against two floors, side by side in one process: a plain CopyFileW loop, and
// the plainest replacement that loses a document neither on a failure nor on a power cut and
// installs only the bytes its list vouches for (each document read and hashed before any copy,
// then CopyFileW beside it, FlushFileBuffers, the new copy read and hashed again, and MoveFileExW
// over it, written through). The copy checks in the same way, as the program does with a list.
// Each copies the same documents into a package folder of its own that holds older copies; each
// round copies the other of two versions, so every copy replaces a different, older file, and has
// a list of its own, made of that version's files before the round is timed.
//
//   bench_copy_throughput <folder> [runs, default 5]
// <folder> holds "New 1" and "New 2" (two versions of the same documents) and "Package safe",
// "Package plain" and "Package durable" (each holding older copies). Prints every round, then the
// medians ("plain ms: T", "durable ms: T", "copy ms: T") and the copy's ratio to the plain loop.
// Ends by checking that every package holds exactly the last version, and nothing else.

#include <windows.h>
#include <wincrypt.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BenchDocuments.h"
#include "Stopwatch.h"
#include "platform/PlatformError.h"
#include "platform/win32/Win32FileSystem.h"
#include "app/DocumentCheck.h"
#include "transfer/CopyAllFiles.h"
#include "transfer/DocumentManifest.h"

namespace docrecover::bench {

namespace {

[[noreturn]] void Fail(const std::wstring& what, unsigned long error) {
  std::fwprintf(stderr, L"%ls: error %lu\n", what.c_str(), error);
  std::exit(1);
}

// The names of the plain files directly in folder, in listing order.
std::vector<std::wstring> FileNames(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  const HANDLE find =
      FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                       /*lpSearchFilter=*/nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) {
    Fail(L"cannot list " + folder, GetLastError());
  }
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      names.push_back(data.cFileName);
    }
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

// Whether the file at path holds the bytes of that SHA-256: the least a check of a document does,
// read once from its start and hashed by CryptoAPI, in a verify context (no key container) of the
// provider that has SHA-256 on Windows 7.
bool HasDigest(const std::wstring& path, const Sha256Digest& expected) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  /*lpSecurityAttributes=*/nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, /*hTemplateFile=*/nullptr);
  HCRYPTPROV provider = 0;
  HCRYPTHASH hash = 0;
  if (file == INVALID_HANDLE_VALUE ||
      !CryptAcquireContextW(&provider, /*szContainer=*/nullptr, /*szProvider=*/nullptr,
                            PROV_RSA_AES, CRYPT_VERIFYCONTEXT | CRYPT_SILENT) ||
      !CryptCreateHash(provider, CALG_SHA_256, /*hKey=*/0, /*dwFlags=*/0, &hash)) {
    Fail(L"cannot hash " + path, GetLastError());
  }
  static std::vector<BYTE> buffer(256 * 1024);
  DWORD read = 0;
  while (ReadFile(file, buffer.data(), buffer.size(), &read, /*lpOverlapped=*/nullptr) &&
         read > 0) {
    CryptHashData(hash, buffer.data(), read, /*dwFlags=*/0);
  }
  Sha256Digest digest{};
  DWORD length = digest.size();
  CryptGetHashParam(hash, HP_HASHVAL, digest.data(), &length, /*dwFlags=*/0);
  CryptDestroyHash(hash);
  CryptReleaseContext(provider, /*dwFlags=*/0);
  CloseHandle(file);
  return digest == expected;
}

// What any copy of a folder's documents must at least do: list them, and copy each over its
// older copy.
void PlainCopy(const std::wstring& from, const std::wstring& to, const DocumentManifest&) {
  for (const std::wstring& name : FileNames(from)) {
    if (!CopyFileW((from + L'\\' + name).c_str(), (to + L'\\' + name).c_str(),
                   /*bFailIfExists=*/FALSE)) {
      Fail(L"cannot copy " + name, GetLastError());
    }
  }
}

// What any replacement that keeps the old document until the new one is on the disk, and puts
// nothing there its list does not vouch for, must at least do: check every document's bytes
// before any is replaced; then copy each beside its older copy, flush it, check the new copy's
// bytes, and move it over the older copy in one step, written through.
void DurableCopy(const std::wstring& from, const std::wstring& to,
                 const DocumentManifest& documents) {
  for (const DocumentEntry& document : documents) {
    if (!HasDigest(from + L'\\' + document.name, document.sha256)) {
      Fail(L"not the listed bytes: " + document.name, 0);
    }
  }
  for (const DocumentEntry& document : documents) {
    const std::wstring& name = document.name;
    const std::wstring beside = to + L"\\~" + name + L".new";
    if (!CopyFileW((from + L'\\' + name).c_str(), beside.c_str(), /*bFailIfExists=*/TRUE)) {
      Fail(L"cannot copy " + name, GetLastError());
    }
    const HANDLE file = CreateFileW(beside.c_str(), GENERIC_WRITE, /*dwShareMode=*/0,
                                    /*lpSecurityAttributes=*/nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, /*hTemplateFile=*/nullptr);
    if (file == INVALID_HANDLE_VALUE || !FlushFileBuffers(file)) {
      Fail(L"cannot flush " + name, GetLastError());
    }
    CloseHandle(file);
    if (!HasDigest(beside, document.sha256)) {
      Fail(L"not the listed bytes: " + beside, 0);
    }
    if (!MoveFileExW(beside.c_str(), (to + L'\\' + name).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      Fail(L"cannot replace " + name, GetLastError());
    }
  }
}

// The program's copy phase with its list: the digest pass, then the copy.
void SafeCopy(const std::wstring& from, const std::wstring& to, const DocumentManifest& documents) {
  const FileSystemPtr fileSystem = NewWin32FileSystem();
  NoWindow window;
  try {
    CheckDigests(*fileSystem, window, documents, from);
    CopyAllFiles(*fileSystem, window, from, to, &documents);
  } catch (const DocumentsRefused& refused) {
    Fail(refused.Problem(), 0);
  } catch (const PlatformError& failure) {
    Fail(L"CopyAllFiles: " + failure.Message(), failure.Number());
  }
}

std::vector<char> Contents(const std::wstring& path) {
  FILE* file = _wfopen(path.c_str(), L"rb");
  if (file == nullptr) {
    Fail(L"cannot open " + path, errno);
  }
  std::vector<char> contents;
  char buffer[1 << 16];
  for (size_t got; (got = std::fread(buffer, 1, sizeof(buffer), file)) > 0;) {
    contents.insert(contents.end(), buffer, buffer + got);
  }
  std::fclose(file);
  return contents;
}

// The package holds the source's files, byte for byte, and no other file (no temporary one).
void CheckSame(const std::wstring& source, const std::wstring& package) {
  const std::vector<std::wstring> names = FileNames(source);
  if (FileNames(package).size() != names.size()) {
    Fail(package + L" holds other files than " + source, 0);
  }
  for (const std::wstring& name : names) {
    if (Contents(source + L'\\' + name) != Contents(package + L'\\' + name)) {
      Fail(package + L'\\' + name + L" differs from its source", 0);
    }
  }
}

}  // namespace

}  // namespace docrecover::bench

int wmain(int argc, wchar_t** argv) {
  using namespace docrecover::bench;
  if (argc < 2) {
    std::fputs("usage: bench_copy_throughput <folder> [runs]\n", stderr);
    return 2;
  }
  const std::wstring folder = FolderArgument(argv[1]);
  const int runs = argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 5;
  const std::wstring versions[] = {folder + L"\\New 1", folder + L"\\New 2"};

  std::printf("documents: %zu\n", FileNames(versions[0]).size());
  struct Contender {
    void (*copy)(const std::wstring&, const std::wstring&, const docrecover::DocumentManifest&);
    std::wstring package;
    std::vector<double> ms;
  };
  Contender plain{PlainCopy, folder + L"\\Package plain", {}};
  Contender durable{DurableCopy, folder + L"\\Package durable", {}};
  Contender safe{SafeCopy, folder + L"\\Package safe", {}};
  Contender* const order[] = {&plain, &durable, &safe};
  for (int run = 0; run < runs; ++run) {
    const std::wstring& source = versions[run % 2];
    const docrecover::DocumentManifest documents =
        ListOf(*docrecover::NewWin32FileSystem(), source);
    // Each contender goes first in turn, so none always meets a cold or a busy disk.
    for (int turn = 0; turn < 3; ++turn) {
      Contender& contender = *order[(run + turn) % 3];
      const Stopwatch clock;
      contender.copy(source, contender.package, documents);
      contender.ms.push_back(clock.Milliseconds());
    }
    std::printf("run %d: plain %.1f ms, durable %.1f ms, copy %.1f ms\n", run + 1, plain.ms.back(),
                durable.ms.back(), safe.ms.back());
  }
  for (const Contender* contender : order) {
    CheckSame(versions[(runs - 1) % 2], contender->package);
  }
  const double plainMs = Median(plain.ms);
  const double copyMs = Median(safe.ms);
  std::printf("plain ms: %.1f\ndurable ms: %.1f\ncopy ms: %.1f\nratio: %.3f\n", plainMs,
              Median(durable.ms), copyMs, copyMs / plainMs);
  return 0;
}
