#pragma once

#include <string>

namespace docrecover {

// Upper-cases text by the platform's own rule (on Windows, the one file names compare by), not
// ASCII only. Each build links the implementation of its platform.
std::wstring UpperCase(std::wstring text);

}  // namespace docrecover
