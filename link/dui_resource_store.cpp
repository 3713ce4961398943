#include "link/dui_resource_store.h"

DUIResourceStore& DUIResourceStore::Instance() {
  static DUIResourceStore store;
  return store;
}

bool DUIResourceStore::StoreResource(const std::string& name, std::unique_ptr<uint8_t[]> data,
                                     uint32_t size) {
  // Built before taking the lock; the old snapshot (if any) is released after
  // the lock is left, so a large free never happens under it.
  BlobSnapshot blob = std::make_shared<const BlobData>(std::move(data), size);
  ScopedLock lock(resourceLock_);
  for (DUIResource& entry : resources_) {
    if (entry.name == name) {
      const uint64_t after = totalBytes_ - entry.blob->size() + size;
      if (after > maxBytes_) return false;
      totalBytes_ = after;
      entry.blob.swap(blob);
      return true;
    }
  }
  if (resources_.size() >= maxEntries_ || totalBytes_ + size > maxBytes_) return false;
  totalBytes_ += size;
  resources_.push_back({name, std::move(blob)});
  return true;
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

uint64_t DUIResourceStore::TotalBytes() const {
  ScopedLock lock(resourceLock_);
  return totalBytes_;
}
