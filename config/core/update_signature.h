// What the maker signs for an update, and the decoding of the reply's hash
// and signature texts.
//
// The program runs elevated and fetches its update over plain HTTP, so the
// reply names the installer's SHA-256 and carries a signature over exactly
// these bytes (UTF-8/ANSI as they stand in the reply, no trailing NUL):
//
//   "vela-update-1\n" version "\n" address "\n" sha256 "\n"
//
// version and address are the texts of appupdate_version and appupdate_url;
// sha256 is the installer's digest as 64 lower-case hex digits (the reply may
// write it in either case). The signature is ECDSA P-256 over SHA-256 of that
// message, the 64 bytes r || s (big-endian, as CNG writes them), base64 in
// appupdate_sig. The leading tag keeps a signature for this message from
// being valid for any other message the key might sign.
#pragma once
#include <cstddef>
#include <string>

constexpr size_t kUpdateDigestBytes = 32;     // SHA-256
constexpr size_t kUpdateSignatureBytes = 64;  // P-256 r || s
constexpr size_t kUpdatePublicKeyBytes = 64;  // P-256 X || Y

// Hex digits (either case) to bytes; false for an odd count, a non-hex
// character or more than `maxBytes` bytes. White space around is ignored.
bool DecodeHex(const std::string& text, std::string& bytes, size_t maxBytes);
// Lower-case hex of `bytes`.
std::string EncodeHex(const std::string& bytes);
// Standard base64 (with "=" padding, white space around ignored) to bytes;
// false for a bad character, bad padding or more than `maxBytes` bytes.
bool DecodeBase64(const std::string& text, std::string& bytes, size_t maxBytes);
std::string EncodeBase64(const std::string& bytes);

// The message above; `digest` is the 32 raw bytes of the installer's SHA-256.
std::string UpdateSignedMessage(const std::string& version, const std::string& url,
                                const std::string& digest);
