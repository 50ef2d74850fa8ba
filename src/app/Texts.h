#pragma once

// Every fixed path, name and text of the update sequence. Message texts are built by
// concatenation: a line break is CR LF, a paragraph break two of them.

#include <cstdint>
#include <string>

namespace docrecover::texts {

inline constexpr const wchar_t* kMsgTitle = L"ZEMO On CD Doc Recover";
inline constexpr const wchar_t* kDefaultExecutable = L"C:\\Program Files\\ZEMO On CD\\ZEMO.exe";
inline constexpr const wchar_t* kDefaultFolder = L"C:\\Program Files\\ZEMO On CD";
inline constexpr const wchar_t* kExecutableName = L"ZEMO.exe";
inline constexpr const wchar_t* kPackageSuffix = L"\\Packages\\ZEMO";
inline constexpr const wchar_t* kDocsSuffix = L"\\Docs";

inline constexpr const wchar_t* kAnalyzing = L"Analyzing your system, Please wait...";
inline constexpr const wchar_t* kUpdating = L"Updating your system, please wait...";
inline constexpr const wchar_t* kFoundNoCopies =
    L"ZEMO On CD Update found no copies of ZEMO On CD on your computer.";

// The support block: three lines, no line break after the last. The address and number are this
// project's placeholders.
std::wstring SupportText();
std::wstring Searching(const std::wstring& drive);
std::wstring Copying(const std::wstring& installFolder);

std::wstring NoDrivesBox(const std::wstring& supportText);
std::wstring OfferBox();
std::wstring NotInstalledBox(const std::wstring& supportText);
std::wstring NoCopiesBox(const std::wstring& supportText);
std::wstring CompletionBox();
// The stop box of a disc whose documents are not those this program vouches for: the problem, one
// of the four below, and that nothing was changed.
std::wstring RefusedDocumentsBox(const std::wstring& problem, const std::wstring& supportText);
std::wstring MissingDocument(const std::wstring& name);
std::wstring DocumentOfOtherSize(const std::wstring& name, uint64_t size, uint64_t expected);
std::wstring ChangedDocument(const std::wstring& name);
std::wstring TwinDocuments(const std::wstring& first, const std::wstring& second);
// The error report: what failed, in the platform's words, and its error number.
std::wstring FailureBox(const std::wstring& message, unsigned long number);
// The error report for a failure that is not the platform's (a fault of the program itself): its
// description, without an error number, since the platform gave none.
std::wstring InternalFailureBox(const std::wstring& description);

}  // namespace docrecover::texts
