// The process-wide store of the phone's picture blobs, by name. The stream
// thread stores (every Blob message); the window thread looks up (panel items
// applying an "image" attribute).
//
// Consistency: an entry's bytes and size travel together in one immutable
// BlobData; a lookup hands out a shared snapshot of it. Replacing a blob swaps
// the entry's snapshot under the lock, so a reader holding the old snapshot
// keeps a complete (data, size) pair, and the old buffer is released when its
// last holder lets go (not kept for the whole run).
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "critical_section.h"

class BlobData {
 public:
  BlobData(std::unique_ptr<uint8_t[]> bytes, uint32_t size) : bytes_(std::move(bytes)), size_(size) {}
  const uint8_t* data() const { return bytes_.get(); }
  uint32_t size() const { return size_; }

 private:
  std::unique_ptr<uint8_t[]> bytes_;
  uint32_t size_;
};

using BlobSnapshot = std::shared_ptr<const BlobData>;

class DUIResourceStore {
 public:
  DUIResourceStore() = default;
  DUIResourceStore(const DUIResourceStore&) = delete;
  DUIResourceStore& operator=(const DUIResourceStore&) = delete;

  // The one store of the process; exists from first use to the end of the run.
  static DUIResourceStore& Instance();

  // Keeps `size` bytes of `data` under `name` (compared exactly, case
  // sensitive), replacing an earlier blob of that name; takes ownership.
  void StoreResource(const std::string& name, std::unique_ptr<uint8_t[]> data, uint32_t size);
  // The blob stored under exactly `name`, or null.
  BlobSnapshot FindResource(const std::string& name) const;
  // Number of distinct names stored.
  size_t Count() const;

 private:
  struct DUIResource {
    std::string name;
    BlobSnapshot blob;
  };
  mutable CriticalSection resourceLock_;
  std::vector<DUIResource> resources_;  // arrival order; entries are never removed
};
