#include "platform/PlatformError.h"

#include <utility>

namespace docrecover {

PlatformError::PlatformError(uint32_t number, std::wstring message)
    : std::runtime_error("platform error " + std::to_string(number)),
      number_(number),
      message_(std::move(message)) {}

}  // namespace docrecover
