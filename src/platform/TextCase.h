#pragma once

#include <string>

namespace docrecover {

// Upper-cases text by the platform's own rule (on Windows, the one file names compare by), not
// ASCII only. Each code unit maps to one, so the result is as long as text. Each build links the
// implementation of its platform.
std::wstring UpperCase(std::wstring text);

}  // namespace docrecover
