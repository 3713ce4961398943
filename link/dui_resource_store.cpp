#include "dui_resource_store.h"

DUIResourceStore& DUIResourceStore::Instance() {
  static DUIResourceStore store;
  return store;
}

void DUIResourceStore::StoreResource(const std::string& name, std::unique_ptr<uint8_t[]> data,
                                     uint32_t size) {
  // Built before taking the lock; the old snapshot (if any) is released after
  // the lock is left, so a large free never happens under it.
  BlobSnapshot blob = std::make_shared<const BlobData>(std::move(data), size);
  ScopedLock lock(resourceLock_);
  for (DUIResource& entry : resources_) {
    if (entry.name == name) {
      entry.blob.swap(blob);
      return;
    }
  }
  resources_.push_back({name, std::move(blob)});
}

BlobSnapshot DUIResourceStore::FindResource(const std::string& name) const {
  ScopedLock lock(resourceLock_);
  for (const DUIResource& entry : resources_) {
    if (entry.name == name) return entry.blob;
  }
  return nullptr;
}

size_t DUIResourceStore::Count() const {
  ScopedLock lock(resourceLock_);
  return resources_.size();
}
