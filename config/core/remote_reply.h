// The configuration server's reply: which element goes to which shared text
// and INI key, the bounds a reply must keep, and the request address.
//
// Bounds (the reply comes from the network, so it is bounded before it is
// parsed):
// - kMaxReplyBytes: a real reply is well under 4 KiB of texts and addresses;
//   256 KiB leaves room for long release notes and refuses anything bulky.
// - kMaxReplyNesting: a real reply is three elements deep (root, update,
//   version); a deeper document is refused before TinyXML recurses into it.
//   TinyXML expands no declared entities (a document type with an internal
//   subset does not even parse), so an entity bomb cannot grow.
// - kMaxPictureBytes: a help picture is a few hundred KiB; 4 MiB is the most
//   a picture may take in memory and on disk.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "config/core/app_globals.h"

struct RemoteReplyLimits {
  static constexpr size_t kMaxReplyBytes = 256 * 1024;
  static constexpr size_t kMaxReplyNesting = 16;
  static constexpr size_t kMaxPictureBytes = 4 * 1024 * 1024;
};

// One value of the reply: the shared text it replaces and, when the fetch
// itself stores it, the INI key and the text written there. The help-picture
// addresses carry no key: the help-picture refresh stores them after
// comparing them with the last ones.
struct ReplyValue {
  AppString target;
  const char* iniKey;  // null: not written by the fetch
  std::string text;
  std::string iniText;
};

struct RemoteReply {
  std::vector<ReplyValue> values;  // in the order they are applied
  bool hasUpdate = false;          // an "update" element: the update check and the picture refresh run
};

enum class ReplyParse { kOk, kTooLarge, kTooDeep, kNotXml };

// Reads the elements of a reply (bytes in the program's code page, taken as
// they are); only elements present are listed. `out` is filled only on kOk.
ReplyParse ParseRemoteReply(const std::string& body, RemoteReply& out);

// "\r\n", then every remaining "\n", replaced by "</br>": how the INI file
// keeps a text of several lines.
std::string LineBreaksToMarkup(const std::string& text);

// endpoint + "?ver=" + version + "&rand=" + the low 32 bits of `nowSeconds`
// as a signed decimal number (it only defeats caches).
std::string ConfigRequestUrl(const std::string& endpoint, const std::string& version, long long nowSeconds);
