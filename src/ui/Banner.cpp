#include "ui/Banner.h"

#include <ole2.h>
#include <olectl.h>

#include <cstring>

#include "platform/win32/Win32Error.h"
#include "ui/Com.h"
#include "ui/ProgramResource.h"

namespace docrecover::ui {

namespace {

void Check(HRESULT result) {
  if (FAILED(result)) {
    throw win32::Error(static_cast<unsigned long>(result));
  }
}

// The resource's bytes in a stream of their own, as OleLoadPicture reads them.
ComOwner<IStream> ResourceStream(int resourceId, DWORD& size) {
  const std::optional<std::string_view> bytes = ProgramResource(resourceId);
  if (!bytes) {
    throw win32::Error(ERROR_RESOURCE_NAME_NOT_FOUND, L"resource " + std::to_wstring(resourceId));
  }
  size = static_cast<DWORD>(bytes->size());
  const HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  void* target = copy != nullptr ? GlobalLock(copy) : nullptr;
  if (target == nullptr) {
    throw win32::LastError();
  }
  std::memcpy(target, bytes->data(), size);
  GlobalUnlock(copy);
  IStream* stream = nullptr;
  const HRESULT result = CreateStreamOnHGlobal(copy, /*fDeleteOnRelease=*/TRUE, &stream);
  if (FAILED(result)) {
    GlobalFree(copy);
    Check(result);
  }
  return ComOwner<IStream>(stream);
}

}  // namespace

UniqueBitmap LoadBanner(int resourceId) {
  DWORD size = 0;
  const ComOwner<IStream> stream = ResourceStream(resourceId, size);
  IPicture* decoded = nullptr;
  Check(OleLoadPicture(stream.get(), static_cast<LONG>(size), /*fRunmode=*/FALSE, IID_IPicture,
                       reinterpret_cast<void**>(&decoded)));
  const ComOwner<IPicture> picture(decoded);
  OLE_HANDLE handle = 0;
  Check(picture->get_Handle(&handle));
  // The picture owns its bitmap and frees it on release; keep a copy of our own, pixel for pixel.
  UniqueBitmap bitmap(static_cast<HBITMAP>(CopyImage(reinterpret_cast<HANDLE>(handle), IMAGE_BITMAP,
                                                     /*cx=*/0, /*cy=*/0, LR_CREATEDIBSECTION)));
  if (!bitmap) {
    throw win32::LastError();
  }
  return bitmap;
}

}  // namespace docrecover::ui
