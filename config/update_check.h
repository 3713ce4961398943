// Verification of a downloaded installer with Windows' own CNG: its SHA-256
// against the reply's, and the maker's ECDSA P-256 signature over version,
// address and hash (message layout: config/core/update_signature.h).
//
// The release public key is a build setting, VELA_UPDATE_PUBLIC_KEY (128 hex
// digits, X || Y). A build without one refuses every installer: it never
// starts a file it cannot check.
#pragma once
#include <windows.h>

#include <bcrypt.h>

#include <string>

#include "framework/unique_owner.h"

// The release public key this build checks updates with (hex, maybe empty).
const char* ReleaseUpdatePublicKey();

// What the reply says about the offered installer.
struct UpdateOffer {
  std::string version;    // appupdate_version
  std::string url;        // appupdate_url
  std::string sha256;     // appupdate_sha256: 64 hex digits
  std::string signature;  // appupdate_sig: base64 of r || s
};

enum class UpdateCheck { kOk, kNoKey, kBadHash, kHashMismatch, kNoSignature, kBadSignature, kUnreadable };

// The text the user is shown for a refused installer (kOk: empty).
const char* UpdateCheckText(UpdateCheck check);

struct BCryptAlgorithmTraits {
  static bool IsValid(BCRYPT_ALG_HANDLE h) { return h != nullptr; }
  static void Release(BCRYPT_ALG_HANDLE h) { BCryptCloseAlgorithmProvider(h, 0); }
};
struct BCryptKeyTraits {
  static bool IsValid(BCRYPT_KEY_HANDLE h) { return h != nullptr; }
  static void Release(BCRYPT_KEY_HANDLE h) { BCryptDestroyKey(h); }
};
using BCryptAlgorithm = UniqueOwner<BCRYPT_ALG_HANDLE, BCryptAlgorithmTraits>;
using BCryptKey = UniqueOwner<BCRYPT_KEY_HANDLE, BCryptKeyTraits>;

// The CNG provider of `id` (BCRYPT_SHA256_ALGORITHM...); empty on failure.
BCryptAlgorithm OpenAlgorithm(const wchar_t* id);
// SHA-256 of `bytes`; false when CNG fails.
bool Sha256OfBytes(const std::string& bytes, std::string& digest);
// SHA-256 of everything `file` holds from its start; false when it cannot be read.
bool Sha256OfFile(HANDLE file, std::string& digest);

// Before anything is downloaded: the release key, the reply's hash text and
// the signature over version, address and hash. kOk gives the published
// SHA-256 (32 bytes) in `digest`.
UpdateCheck CheckOffer(const UpdateOffer& offer, const std::string& publicKeyHex, std::string& digest);
// After the download: the installer open as `file` has the published SHA-256.
UpdateCheck CheckInstallerFile(HANDLE file, const std::string& digest);
