// Started by the process tests from a folder of their choosing; see Probe.h.

#include <windows.h>

#include <string>

#include "Probe.h"
#include "platform/win32/Win32Process.h"

int main() {
  const std::wstring folder = docrecover::ProgramFolder();
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), folder.data(),
            static_cast<DWORD>(folder.size() * sizeof(wchar_t)), &written,
            /*lpOverlapped=*/nullptr);
  docrecover::EndProgramNow(docrecover::testing::kProbeExitCode);
}
