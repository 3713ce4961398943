// Small COM helpers of the camera filter: an owning interface reference.
#pragma once
#include <unknwn.h>

#include "framework/unique_owner.h"

struct ComReleaseTraits {
  template <class T>
  static bool IsValid(T* object) {
    return object != nullptr;
  }
  template <class T>
  static void Release(T* object) {
    object->Release();
  }
};
// Owns one reference on a COM object.
template <class T>
class ComRef : public UniqueOwner<T*, ComReleaseTraits> {
 public:
  using UniqueOwner<T*, ComReleaseTraits>::UniqueOwner;
  T* operator->() const { return this->get(); }
};

// A new owned reference on `object` (which may be null).
template <class T>
ComRef<T> AddRefed(T* object) {
  if (object) object->AddRef();
  return ComRef<T>(object);
}
