// The running program's folder and its end, seen from a probe program that the test places in a
// folder of its choosing and starts with a different working folder.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Probe.h"

namespace docrecover::testing {
namespace {

class Handle {
 public:
  explicit Handle(HANDLE handle = nullptr) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { Close(); }
  void Close() {
    if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) {
      CloseHandle(handle_);
    }
    handle_ = nullptr;
  }
  HANDLE get() const { return handle_; }
  HANDLE* out() { return &handle_; }

 private:
  HANDLE handle_;
};

struct ProbeRun {
  std::wstring output;
  DWORD exitCode = 0;
};

class ProgramFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH + 1];
    ASSERT_NE(GetTempPathW(MAX_PATH + 1, temp), 0u);
    scratch_ = std::wstring(temp) + L"win32fs-process-" + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryW(scratch_.c_str(), /*lpSecurityAttributes=*/nullptr))
        << GetLastError();
  }

  // A probe or folder left behind (a probe still running, say) fails the case.
  void TearDown() override {
    for (const std::wstring& probe : probes_) {
      EXPECT_TRUE(DeleteFileW(probe.c_str())) << GetLastError();
    }
    for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder) {
      EXPECT_TRUE(RemoveDirectoryW(folder->c_str())) << GetLastError();
    }
    EXPECT_TRUE(RemoveDirectoryW(scratch_.c_str())) << GetLastError();
  }

  std::wstring MakeFolder(const std::wstring& path) {
    EXPECT_TRUE(CreateDirectoryW(path.c_str(), /*lpSecurityAttributes=*/nullptr)) << GetLastError();
    folders_.push_back(path);
    return path;
  }

  // Writes the probe program carried as a resource to path.
  void PlaceProbe(const std::wstring& path) {
    HRSRC resource = FindResourceW(/*hModule=*/nullptr, L"WIN32FS_PROBE", RT_RCDATA);
    ASSERT_NE(resource, nullptr) << GetLastError();
    const void* bytes = LockResource(LoadResource(/*hModule=*/nullptr, resource));
    const DWORD size = SizeofResource(/*hModule=*/nullptr, resource);
    ASSERT_NE(bytes, nullptr);
    Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, /*dwShareMode=*/0,
                            /*lpSecurityAttributes=*/nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            /*hTemplateFile=*/nullptr));
    ASSERT_NE(file.get(), INVALID_HANDLE_VALUE) << GetLastError();
    probes_.push_back(path);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.get(), bytes, size, &written, /*lpOverlapped=*/nullptr));
    ASSERT_EQ(written, size);
  }

  // Starts the probe at exe in workingFolder and collects what it wrote and its exit code.
  static ProbeRun Run(const std::wstring& exe, const std::wstring& workingFolder) {
    ProbeRun run;
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), /*lpSecurityDescriptor=*/nullptr,
                                    /*bInheritHandle=*/TRUE};
    Handle readEnd;
    Handle writeEnd;
    EXPECT_TRUE(CreatePipe(readEnd.out(), writeEnd.out(), &inheritable, /*nSize=*/0));
    SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, /*dwFlags=*/0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();
    std::wstring commandLine = L"\"" + exe + L"\"";
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), /*lpProcessAttributes=*/nullptr,
                        /*lpThreadAttributes=*/nullptr, /*bInheritHandles=*/TRUE,
                        /*dwCreationFlags=*/0, /*lpEnvironment=*/nullptr, workingFolder.c_str(),
                        &startup, &process)) {
      ADD_FAILURE() << "CreateProcessW failed: " << GetLastError();
      return run;
    }
    Handle processHandle(process.hProcess);
    Handle threadHandle(process.hThread);
    writeEnd.Close();  // so that reading ends when the probe's copy closes
    // The output is far smaller than the pipe's buffer: waiting first cannot block the probe.
    EXPECT_EQ(WaitForSingleObject(process.hProcess, /*dwMilliseconds=*/60000), WAIT_OBJECT_0);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    wchar_t buffer[512];
    DWORD read = 0;
    while (ReadFile(readEnd.get(), buffer, sizeof(buffer), &read, /*lpOverlapped=*/nullptr) &&
           read > 0) {
      run.output.append(buffer, read / sizeof(wchar_t));
    }
    return run;
  }

  std::wstring scratch_;
  std::vector<std::wstring> folders_;
  std::vector<std::wstring> probes_;
};

TEST_F(ProgramFolderTest, IsTheFolderOfTheProgramFileNotTheWorkingFolder) {
  const std::wstring folder = MakeFolder(scratch_ + L"\\Programm \u00c4\u00d6\u00dc \u65e5\u672c");
  const std::wstring working = MakeFolder(scratch_ + L"\\elsewhere");
  PlaceProbe(folder + L"\\probe.exe");
  const ProbeRun run = Run(folder + L"\\probe.exe", working);
  EXPECT_EQ(run.output, folder);
  EXPECT_EQ(run.exitCode, kProbeExitCode);  // ended through EndProgramNow, with its code
}

TEST_F(ProgramFolderTest, KeepsTheBackslashAtADriveRoot) {
  // The program folder's root form is what turns "E:\" into "E:\Docs" further up.
  const std::wstring drive = scratch_.substr(0, 3);
  const std::wstring probe =
      drive + L"win32fs-probe-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
  PlaceProbe(probe);
  const ProbeRun run = Run(probe, scratch_);
  EXPECT_EQ(run.output, drive);
  EXPECT_EQ(run.exitCode, kProbeExitCode);
}

}  // namespace
}  // namespace docrecover::testing
