#include "app/Texts.h"

namespace docrecover::texts {

namespace {

constexpr const wchar_t* kLine = L"\r\n";
constexpr const wchar_t* kParagraph = L"\r\n\r\n";
// What a failure leaves behind: a copy replaces a document in one step, so none is left half made.
constexpr const wchar_t* kAfterFailure =
    L"Documents copied before the error are in place; no other document was changed.";

}  // namespace

std::wstring SupportText() {
  return std::wstring(L"Orvell Technical Support") + kLine + L"Email: support@docrecover.invalid" +
         kLine + L"Phone: 555-0142";
}

std::wstring Searching(const std::wstring& drive) {
  return std::wstring(L"Welcome") + kParagraph + L"ZEMO On CD Update is now searching drive " +
         drive + L" for all copies of the ZEMO On CD program." + kParagraph + L"Please wait...";
}

std::wstring Copying(const std::wstring& installFolder) {
  return std::wstring(L"Copying New Documents...") + kParagraph + installFolder;
}

std::wstring NoDrivesBox(const std::wstring& supportText) {
  return std::wstring(L"Windows is reporting that this computer has no hard drives.") + kParagraph +
         L"Please restart your computer and run this program again." + kParagraph +
         L"If, after restarting your computer you still see this message, contact Orvell for "
         L"assistance." +
         kParagraph + supportText;
}

std::wstring OfferBox() {
  return std::wstring(
             L"The ZEMO On CD program has been located on drive C in the following folder:") +
         kParagraph + kDefaultFolder + kParagraph +
         L"We recommend that you click YES to continue normally and update your ZEMO On CD "
         L"program." +
         kParagraph +
         L"You may optionally click NO if you want this updater to search your computer for "
         L"additional installations of the ZEMO On CD program." +
         L" We recommend that you do this only if you've already run this updater and found that "
         L"your ZEMO On CD program was not updated.";
}

std::wstring NotInstalledBox(const std::wstring& supportText) {
  return std::wstring(L"Windows is reporting that ZEMO On CD is not installed on this computer.") +
         kParagraph +
         L"If you're sure that ZEMO On CD is installed on this computer, please restart your "
         L"computer and run this updater again. If, after restarting your computer and running "
         L"this updater a second time you still encounter this error, contact Orvell technical "
         L"support for assistance." +
         kParagraph + supportText;
}

std::wstring NoCopiesBox(const std::wstring& supportText) {
  return std::wstring(L"This updater has found no copies of ZEMO On CD on your computer.") +
         kParagraph +
         L"If you're sure that ZEMO On CD is installed on this computer, please restart your "
         L"computer and run this updater again. If, after restarting your computer and running "
         L"this program a second time you still encounter this error, contact Orvell technical "
         L"support for assistance." +
         kParagraph + supportText;
}

std::wstring CompletionBox() {
  return L"ZEMO On CD Doc Repair has completed successfully.";
}

std::wstring RefusedDocumentsBox(const std::wstring& problem, const std::wstring& supportText) {
  return std::wstring(
             L"The documents on this disc are not the ones this updater was made with, so "
             L"it has changed nothing on your computer.") +
         kParagraph + problem + kParagraph +
         L"The disc may be damaged, or its files changed. Please run the updater from the original "
         L"disc. If you still see this message, contact Orvell for assistance." +
         kParagraph + supportText;
}

std::wstring MissingDocument(const std::wstring& name) {
  return L"The document \"" + name + L"\" is missing from the disc.";
}

std::wstring DocumentOfOtherSize(const std::wstring& name, uint64_t size, uint64_t expected) {
  return L"The document \"" + name + L"\" on the disc has " + std::to_wstring(size) +
         L" bytes instead of " + std::to_wstring(expected) + L".";
}

std::wstring ChangedDocument(const std::wstring& name) {
  return L"The document \"" + name + L"\" on the disc has been changed or damaged.";
}

std::wstring TwinDocuments(const std::wstring& first, const std::wstring& second) {
  return L"The disc holds both \"" + first + L"\" and \"" + second +
         L"\", names that Windows cannot tell apart.";
}

std::wstring FailureBox(const std::wstring& message, unsigned long number) {
  return std::wstring(L"The update could not be finished because of this error:") + kParagraph +
         message + kLine + L"(error " + std::to_wstring(number) + L")" + kParagraph + kAfterFailure;
}

std::wstring InternalFailureBox(const std::wstring& description) {
  return std::wstring(L"The update could not be finished because of an error in this program:") +
         kParagraph + description + kParagraph + kAfterFailure;
}

}  // namespace docrecover::texts
