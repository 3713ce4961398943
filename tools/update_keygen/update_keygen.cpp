// Makes an ECDSA P-256 key pair with Windows' own CNG and prints it as hex:
// the public key (X || Y, what the program is built with) and the private
// key blob (what signs the update replies). Run once for the test key pair
// and once, on the maker's machine, for the release pair.
#include <windows.h>

#include <bcrypt.h>

#include <cstdio>
#include <string>

namespace {

std::string Export(BCRYPT_KEY_HANDLE key, const wchar_t* type) {
  ULONG size = 0;
  if (BCryptExportKey(key, nullptr, type, nullptr, 0, &size, 0) != 0) return {};
  std::string blob(size, '\0');
  if (BCryptExportKey(key, nullptr, type, reinterpret_cast<UCHAR*>(&blob[0]), size, &size, 0) != 0) return {};
  return blob;
}

void PrintHex(const char* label, const std::string& bytes) {
  std::printf("%s ", label);
  for (unsigned char c : bytes) std::printf("%02x", c);
  std::printf("\n");
}

}  // namespace

int main() {
  BCRYPT_ALG_HANDLE alg = nullptr;
  BCRYPT_KEY_HANDLE key = nullptr;
  if (BCryptOpenAlgorithmProvider(&alg, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0) != 0 ||
      BCryptGenerateKeyPair(alg, &key, 256, 0) != 0 || BCryptFinalizeKeyPair(key, 0) != 0) {
    std::fprintf(stderr, "no ECDSA P-256 key pair\n");
    return 1;
  }
  std::string publicBlob = Export(key, BCRYPT_ECCPUBLIC_BLOB);
  std::string privateBlob = Export(key, BCRYPT_ECCPRIVATE_BLOB);
  const size_t header = sizeof(BCRYPT_ECCKEY_BLOB);
  if (publicBlob.size() != header + 64 || privateBlob.size() != header + 96) return 1;
  PrintHex("public", publicBlob.substr(header));    // X || Y
  PrintHex("private", privateBlob.substr(header));  // X || Y || d
  BCryptDestroyKey(key);
  BCryptCloseAlgorithmProvider(alg, 0);
  return 0;
}
