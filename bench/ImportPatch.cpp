#include "ImportPatch.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/Win32Error.h"

namespace docrecover::bench {

namespace {

// Points one import slot at replacement.
void Patch(IMAGE_THUNK_DATA& slot, ULONG_PTR replacement) {
  DWORD protection = 0;
  if (!VirtualProtect(&slot.u1.Function, sizeof(slot.u1.Function), PAGE_READWRITE, &protection)) {
    throw win32::LastError();
  }
  slot.u1.Function = replacement;
  if (!VirtualProtect(&slot.u1.Function, sizeof(slot.u1.Function), protection, &protection)) {
    throw win32::LastError();
  }
}

}  // namespace

std::uintptr_t PatchImport(const char* name, std::uintptr_t replacement) {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(/*lpModuleName=*/nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       module->Name != 0; ++module) {
    // The lookup table names each import; the address table beside it holds what is called.
    const auto* names =
        reinterpret_cast<const IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
        continue;
      }
      const auto* byName =
          reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), name) == 0) {
        const std::uintptr_t original = slots->u1.Function;
        Patch(*slots, replacement);
        return original;
      }
    }
  }
  throw win32::Error(ERROR_PROC_NOT_FOUND);
}

}  // namespace docrecover::bench
