#include <clocale>
#include <cwctype>
#include <locale.h>

#include "platform/TextCase.h"

namespace docrecover {

std::wstring UpperCase(std::wstring text) {
  // A UTF-8 locale of our own, so the mapping covers all of Unicode whatever the process locale.
  static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  for (wchar_t& c : text) {
    c = utf8 != static_cast<locale_t>(nullptr) ? towupper_l(c, utf8) : std::towupper(c);
  }
  return text;
}

}  // namespace docrecover
