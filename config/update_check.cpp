#include "config/update_check.h"

#include <bcrypt.h>

#include <cstring>

#include "config/core/update_signature.h"
#include "framework/unique_owner.h"

namespace {

struct HashTraits {
  static bool IsValid(BCRYPT_HASH_HANDLE h) { return h != nullptr; }
  static void Release(BCRYPT_HASH_HANDLE h) { BCryptDestroyHash(h); }
};
using Hash = UniqueOwner<BCRYPT_HASH_HANDLE, HashTraits>;

// Feeds `read` chunks into SHA-256 until it returns 0 bytes; false on a failure.
template <class Read>
bool Sha256(Read read, std::string& digest) {
  BCryptAlgorithm algorithm = OpenAlgorithm(BCRYPT_SHA256_ALGORITHM);
  BCRYPT_HASH_HANDLE raw = nullptr;
  if (!algorithm || BCryptCreateHash(algorithm.get(), &raw, nullptr, 0, nullptr, 0, 0) != 0) return false;
  Hash hash(raw);
  std::string buffer(64 * 1024, '\0');
  for (;;) {
    long got = read(&buffer[0], static_cast<ULONG>(buffer.size()));
    if (got < 0) return false;
    if (got == 0) break;
    if (BCryptHashData(hash.get(), reinterpret_cast<UCHAR*>(&buffer[0]), static_cast<ULONG>(got), 0) != 0)
      return false;
  }
  std::string out(kUpdateDigestBytes, '\0');
  if (BCryptFinishHash(hash.get(), reinterpret_cast<UCHAR*>(&out[0]), static_cast<ULONG>(out.size()), 0) != 0)
    return false;
  digest = out;
  return true;
}

bool VerifySignature(const std::string& publicKey, const std::string& message, const std::string& signature) {
  std::string digest;
  if (!Sha256OfBytes(message, digest)) return false;
  BCryptAlgorithm algorithm = OpenAlgorithm(BCRYPT_ECDSA_P256_ALGORITHM);
  if (!algorithm) return false;
  BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, 32};
  std::string blob(reinterpret_cast<const char*>(&header), sizeof header);
  blob += publicKey;
  BCRYPT_KEY_HANDLE raw = nullptr;
  if (BCryptImportKeyPair(algorithm.get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, &raw,
                          reinterpret_cast<UCHAR*>(&blob[0]), static_cast<ULONG>(blob.size()), 0) != 0)
    return false;
  BCryptKey key(raw);
  std::string sig = signature;
  return BCryptVerifySignature(key.get(), nullptr, reinterpret_cast<UCHAR*>(&digest[0]),
                               static_cast<ULONG>(digest.size()), reinterpret_cast<UCHAR*>(&sig[0]),
                               static_cast<ULONG>(sig.size()), 0) == 0;
}

}  // namespace

BCryptAlgorithm OpenAlgorithm(const wchar_t* id) {
  BCRYPT_ALG_HANDLE handle = nullptr;
  if (BCryptOpenAlgorithmProvider(&handle, id, nullptr, 0) != 0) return BCryptAlgorithm();
  return BCryptAlgorithm(handle);
}

bool Sha256OfBytes(const std::string& bytes, std::string& digest) {
  size_t at = 0;
  return Sha256(
      [&](char* to, ULONG room) -> long {
        size_t n = bytes.size() - at < room ? bytes.size() - at : room;
        std::memcpy(to, bytes.data() + at, n);
        at += n;
        return static_cast<long>(n);
      },
      digest);
}

#ifndef VELA_UPDATE_PUBLIC_KEY
#define VELA_UPDATE_PUBLIC_KEY ""
#endif

const char* ReleaseUpdatePublicKey() {
  return VELA_UPDATE_PUBLIC_KEY;
}

const char* UpdateCheckText(UpdateCheck check) {
  switch (check) {
    case UpdateCheck::kOk:
      return "";
    case UpdateCheck::kNoKey:
      return "此版本无法校验更新文件，已取消更新。请到官方网站下载新版本。";
    case UpdateCheck::kBadHash:
      return "更新信息不完整（缺少有效的文件校验值），已取消更新。";
    case UpdateCheck::kHashMismatch:
      return "下载的更新文件与发布的文件不一致，可能已被篡改，已删除且未安装。";
    case UpdateCheck::kNoSignature:
      return "更新信息缺少数字签名，无法确认来源，已取消更新。";
    case UpdateCheck::kBadSignature:
      return "更新信息的数字签名无效，可能不是官方发布的版本，已取消更新。";
    case UpdateCheck::kUnreadable:
      return "无法读取下载的更新文件，已取消安装。";
  }
  return "";
}

bool Sha256OfFile(HANDLE file, std::string& digest) {
  LARGE_INTEGER start{};
  if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) return false;
  return Sha256(
      [file](char* to, ULONG room) -> long {
        DWORD got = 0;
        if (!ReadFile(file, to, room, &got, nullptr)) return -1;
        return static_cast<long>(got);
      },
      digest);
}

UpdateCheck CheckOffer(const UpdateOffer& offer, const std::string& publicKeyHex, std::string& digest) {
  std::string publicKey, published, signature;
  if (!DecodeHex(publicKeyHex, publicKey, kUpdatePublicKeyBytes) || publicKey.size() != kUpdatePublicKeyBytes)
    return UpdateCheck::kNoKey;
  if (!DecodeHex(offer.sha256, published, kUpdateDigestBytes) || published.size() != kUpdateDigestBytes)
    return UpdateCheck::kBadHash;
  if (offer.signature.find_first_not_of(" \t\r\n") == std::string::npos) return UpdateCheck::kNoSignature;
  if (!DecodeBase64(offer.signature, signature, kUpdateSignatureBytes) ||
      signature.size() != kUpdateSignatureBytes ||
      !VerifySignature(publicKey, UpdateSignedMessage(offer.version, offer.url, published), signature))
    return UpdateCheck::kBadSignature;
  digest = published;
  return UpdateCheck::kOk;
}

UpdateCheck CheckInstallerFile(HANDLE file, const std::string& digest) {
  std::string actual;
  if (!Sha256OfFile(file, actual)) return UpdateCheck::kUnreadable;
  return actual == digest ? UpdateCheck::kOk : UpdateCheck::kHashMismatch;
}
