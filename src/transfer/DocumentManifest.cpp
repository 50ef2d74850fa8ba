#include "transfer/DocumentManifest.h"

#include <optional>
#include <stdexcept>

namespace docrecover {

namespace {

constexpr std::string_view kHeader = "DocRecover documents 1\n";
constexpr size_t kChunk = 256 * 1024;

[[noreturn]] void Damaged(size_t line) {
  throw std::runtime_error("the list of documents in this program is damaged (line " +
                           std::to_string(line) + ")");
}

// The code points of UTF-8 text as wide characters (UTF-16 where wchar_t has 16 bits); nothing
// for text that is not UTF-8.
std::optional<std::wstring> Widened(std::string_view text) {
  std::wstring wide;
  for (size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    const uint32_t lowest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (lead >= 0xF8 || (lead >= 0x80 && lead < 0xC0) || at + length > text.size()) {
      return std::nullopt;
    }
    uint32_t point = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t next = 1; next < length; ++next) {
      const auto unit = static_cast<unsigned char>(text[at + next]);
      if ((unit & 0xC0) != 0x80) {
        return std::nullopt;
      }
      point = point << 6 | (unit & 0x3F);
    }
    if (point < lowest[length] || point > 0x10FFFF || (point >= 0xD800 && point < 0xE000)) {
      return std::nullopt;  // overlong, beyond Unicode, or a surrogate
    }
    if (sizeof(wchar_t) == 2 && point > 0xFFFF) {
      wide += static_cast<wchar_t>(0xD800 + ((point - 0x10000) >> 10));
      wide += static_cast<wchar_t>(0xDC00 + ((point - 0x10000) & 0x3FF));
    } else {
      wide += static_cast<wchar_t>(point);
    }
    at += length;
  }
  return wide;
}

bool IsBareName(const std::wstring& name) {
  if (name.empty() || name == L"." || name == L".." || name.back() == L'.' || name.back() == L' ') {
    return false;
  }
  for (const wchar_t c : name) {
    if (c < 0x20 || c == L'\\' || c == L'/' || c == L':') {
      return false;
    }
  }
  return true;
}

int HexDigit(char c) {
  return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

}  // namespace

DocumentManifest ParseManifest(std::string_view text) {
  if (!text.starts_with(kHeader)) {
    Damaged(1);
  }
  DocumentManifest documents;
  std::string_view previous;
  size_t number = 1;
  for (std::string_view rest = text.substr(kHeader.size()); !rest.empty();) {
    ++number;
    const size_t end = rest.find('\n');
    if (end == std::string_view::npos) {
      Damaged(number);
    }
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end + 1);
    // "<64 hex> <decimal> <name>"
    const size_t sizeEnd = line.find(' ', 65);
    if (line.size() < 68 || line[64] != ' ' || sizeEnd == std::string_view::npos || sizeEnd == 65 ||
        sizeEnd - 65 > 19) {
      Damaged(number);
    }
    DocumentEntry entry;
    for (size_t i = 0; i < 32; ++i) {
      const int high = HexDigit(line[2 * i]), low = HexDigit(line[2 * i + 1]);
      if (high < 0 || low < 0) {
        Damaged(number);
      }
      entry.sha256[i] = static_cast<uint8_t>(high << 4 | low);
    }
    for (const char digit : line.substr(65, sizeEnd - 65)) {
      if (digit < '0' || digit > '9') {
        Damaged(number);
      }
      entry.size = entry.size * 10 + static_cast<uint64_t>(digit - '0');
    }
    const std::string_view name = line.substr(sizeEnd + 1);
    const std::optional<std::wstring> wide = Widened(name);
    // Strictly ascending: no name twice, and the order the build wrote.
    if (!wide || !IsBareName(*wide) || (!documents.empty() && name <= previous)) {
      Damaged(number);
    }
    previous = name;
    entry.name = *wide;
    documents.push_back(std::move(entry));
  }
  return documents;
}

FileFacts ReadFacts(FileSystemService& fileSystem, ProgressView& view, const std::wstring& path) {
  const std::unique_ptr<FileReader> reader = fileSystem.OpenForReading(path);
  const std::unique_ptr<Sha256> digest = fileSystem.NewSha256();
  // One buffer for every document of the run: a block this large is a mapping of its own, made
  // and dropped on each allocation, which cost about 2.5 ms a document under Wine.
  static thread_local std::vector<std::byte> buffer(kChunk);
  FileFacts facts;
  for (size_t read; (read = reader->Read(buffer)) != 0; facts.size += read) {
    digest->Add(std::span(buffer).first(read));
    view.KeepAlive();
  }
  facts.sha256 = digest->Finish();
  return facts;
}

}  // namespace docrecover
