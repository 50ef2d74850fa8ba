#pragma once

#include <optional>
#include <string_view>

namespace docrecover::ui {

// The bytes of the running program's RCDATA resource of that number, which live as long as the
// program; none when the program carries no such resource. Any other failure throws.
std::optional<std::string_view> ProgramResource(int resourceId);

}  // namespace docrecover::ui
