#include <windows.h>

#include "platform/TextCase.h"

namespace docrecover {

std::wstring UpperCase(std::wstring text) {
  // CharUpperBuffW maps code unit by code unit, as Windows compares file names.
  if (!text.empty()) {
    CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
  }
  return text;
}

}  // namespace docrecover
