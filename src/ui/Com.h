#pragma once

// COM for the window code: owners of interface pointers, and the thread's apartment.

#include <objbase.h>

#include <memory>

#include "platform/win32/Win32Error.h"

namespace docrecover::ui {

struct ComRelease {
  void operator()(IUnknown* object) const { object->Release(); }
};
template <class Interface>
using ComOwner = std::unique_ptr<Interface, ComRelease>;

// Joins this thread to a single-threaded apartment for the owner's life, or to the apartment
// already there, of either kind; throws PlatformError when COM cannot be had at all.
class ComApartment {
 public:
  ComApartment() {
    const HRESULT result = CoInitializeEx(/*pvReserved=*/nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(result) && result != RPC_E_CHANGED_MODE) {
      throw win32::Error(static_cast<unsigned long>(result));
    }
    joined_ = SUCCEEDED(result);
  }
  ~ComApartment() {
    if (joined_) {
      CoUninitialize();
    }
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool joined_ = false;
};

}  // namespace docrecover::ui
