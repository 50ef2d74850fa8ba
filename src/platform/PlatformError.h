#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace docrecover {

// Win32 error numbers. Every implementation of the platform services reports failures with
// these, so that tests and the error report see the same numbers on every platform.
namespace error {
inline constexpr uint32_t kFileNotFound = 2;
inline constexpr uint32_t kPathNotFound = 3;
inline constexpr uint32_t kAccessDenied = 5;
inline constexpr uint32_t kInvalidData = 13;
inline constexpr uint32_t kNotReady = 21;
inline constexpr uint32_t kSharingViolation = 32;
inline constexpr uint32_t kLockViolation = 33;
inline constexpr uint32_t kDiskFull = 112;
inline constexpr uint32_t kInvalidName = 123;
inline constexpr uint32_t kCancelled = 1235;  // ERROR_REQUEST_ABORTED
}  // namespace error

// The one failure type of the platform services: the platform's error number and its message.
class PlatformError : public std::runtime_error {
 public:
  PlatformError(uint32_t number, std::wstring message);

  uint32_t Number() const noexcept { return number_; }
  const std::wstring& Message() const noexcept { return message_; }

 private:
  uint32_t number_;
  std::wstring message_;
};

}  // namespace docrecover
