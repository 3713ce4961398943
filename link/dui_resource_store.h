// The process-wide store of the phone's picture blobs, by name. The stream
// thread stores (every Blob message); the window thread looks up (panel items
// applying an "image" attribute).
//
// Consistency: an entry's bytes and size travel together in one immutable
// BlobData; a lookup hands out a shared snapshot of it. Replacing a blob swaps
// the entry's snapshot under the lock, so a reader holding the old snapshot
// keeps a complete (data, size) pair, and the old buffer is released when its
// last holder lets go (not kept for the whole run).
//
// Bound: the phone decides names and sizes, so the store caps what it holds
// (by default 4096 names and 256 MiB of blob bytes, far above a panel's
// pictures). A blob that would go past either cap is dropped and the store
// keeps what it had; replacing a name counts only the difference in size.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/critical_section.h"

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
  static constexpr size_t kDefaultMaxEntries = 4096;
  static constexpr uint64_t kDefaultMaxBytes = 256ull * 1024 * 1024;

  explicit DUIResourceStore(size_t maxEntries = kDefaultMaxEntries, uint64_t maxBytes = kDefaultMaxBytes)
      : maxEntries_(maxEntries), maxBytes_(maxBytes) {}
  DUIResourceStore(const DUIResourceStore&) = delete;
  DUIResourceStore& operator=(const DUIResourceStore&) = delete;

  // The one store of the process; exists from first use to the end of the run.
  static DUIResourceStore& Instance();

  // Keeps `size` bytes of `data` under `name` (compared exactly, case
  // sensitive), replacing an earlier blob of that name; takes ownership.
  // False when the blob was dropped because of the caps (data is freed).
  bool StoreResource(const std::string& name, std::unique_ptr<uint8_t[]> data, uint32_t size);
  // The blob stored under exactly `name`, or null.
  BlobSnapshot FindResource(const std::string& name) const;
  // Number of distinct names stored, and the bytes of their current blobs.
  size_t Count() const;
  uint64_t TotalBytes() const;

 private:
  struct DUIResource {
    std::string name;
    BlobSnapshot blob;
  };
  const size_t maxEntries_;
  const uint64_t maxBytes_;
  mutable CriticalSection resourceLock_;
  std::vector<DUIResource> resources_;  // arrival order; entries are never removed
  uint64_t totalBytes_ = 0;             // sum of the current blobs' sizes
};
