#include "config/core/remote_reply.h"

#include <tinyxml.h>

#include <cstdint>
#include <string>

#include "config/core/xml_nesting.h"

namespace {

struct ElementRule {
  const char* element;
  AppString target;
  const char* iniKey;
};

// Children of the root, in the order they are applied.
constexpr ElementRule kRootRules[] = {
    {"tips_conn", AppString::ConnTips, "ConnTips"},
    {"app_name", AppString::AppName, "AppName"},
    {"app_url", AppString::AppUrl, "AppUrl"},
    {"open_debug_mode_url", AppString::OpenDebugModeUrl, "OpenDebugModeUrl"},
    {"adb_drive_url", AppString::AdbDriveUrl, "AdbDriveUrl"},
    {"image_help_conn", AppString::HelpConnImage, nullptr},
    {"image_help_vcam", AppString::HelpVCamImage, nullptr},
    {"image_help_hcam", AppString::HelpHCamImage, nullptr},
};

// Children of "update".
constexpr ElementRule kUpdateRules[] = {
    {"appupdate_version", AppString::appupdate_version, nullptr},
    {"appupdate_url", AppString::appupdate_url, nullptr},
    {"appupdate_msg", AppString::appupdate_msg, nullptr},
    // The installer's SHA-256 (hex) and the maker's signature (base64) over
    // version, address and hash: see config/core/update_signature.h.
    {"appupdate_sha256", AppString::appupdate_sha256, nullptr},
    {"appupdate_sig", AppString::appupdate_sig, nullptr},
};

template <size_t N>
void ReadRules(const TiXmlElement& parent, const ElementRule (&rules)[N], std::vector<ReplyValue>& out) {
  for (const ElementRule& rule : rules) {
    const TiXmlElement* element = parent.FirstChildElement(rule.element);
    if (!element) continue;
    const char* text = element->GetText();
    ReplyValue value{rule.target, rule.iniKey, text ? text : "", ""};
    if (rule.iniKey)
      value.iniText = rule.target == AppString::ConnTips ? LineBreaksToMarkup(value.text) : value.text;
    out.push_back(std::move(value));
  }
}

// TinyXML condenses every run of white space in element text to one blank,
// which would lose the line breaks of the texts. Its switch for that is one
// process-wide flag that the panel's parser reads on another thread, so the
// line breaks inside elements are written as character references instead,
// which it decodes after condensing. Markup is copied as it is.
std::string KeepLineBreaksInText(const std::string& body) {
  std::string out;
  out.reserve(body.size());
  size_t depth = 0;
  const size_t n = body.size();
  auto copyPast = [&](size_t from, size_t skip, const char* end) {
    size_t at = body.find(end, from + skip);
    size_t stop = at == std::string::npos ? n : at + std::char_traits<char>::length(end);
    out.append(body, from, stop - from);
    return stop;
  };
  for (size_t i = 0; i < n;) {
    char c = body[i];
    if (c != '<') {
      if (depth > 0 && c == '\r')
        out += "&#13;";
      else if (depth > 0 && c == '\n')
        out += "&#10;";
      else
        out += c;
      ++i;
    } else if (body.compare(i, 4, "<!--") == 0) {
      i = copyPast(i, 4, "-->");
    } else if (body.compare(i, 9, "<![CDATA[") == 0) {
      i = copyPast(i, 9, "]]>");
    } else if (i + 1 < n && (body[i + 1] == '?' || body[i + 1] == '!')) {
      i = copyPast(i, 2, ">");
    } else if (i + 1 < n && body[i + 1] == '/') {
      if (depth > 0) --depth;
      i = copyPast(i, 2, ">");
    } else {
      char quote = 0;
      size_t j = i + 1;
      for (; j < n; ++j) {
        if (quote) {
          if (body[j] == quote) quote = 0;
        } else if (body[j] == '"' || body[j] == '\'') {
          quote = body[j];
        } else if (body[j] == '>') {
          break;
        }
      }
      if (j < n && body[j - 1] != '/') ++depth;
      size_t stop = j < n ? j + 1 : n;
      out.append(body, i, stop - i);
      i = stop;
    }
  }
  return out;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

}  // namespace

ReplyParse ParseRemoteReply(const std::string& body, RemoteReply& out) {
  if (body.size() > RemoteReplyLimits::kMaxReplyBytes) return ReplyParse::kTooLarge;
  if (ElementNestingDepth(body, RemoteReplyLimits::kMaxReplyNesting) > RemoteReplyLimits::kMaxReplyNesting)
    return ReplyParse::kTooDeep;
  TiXmlDocument document;
  document.Parse(KeepLineBreaksInText(body).c_str(), nullptr, TIXML_ENCODING_UNKNOWN);
  const TiXmlElement* root = document.RootElement();
  if (document.Error() || !root) return ReplyParse::kNotXml;

  RemoteReply reply;
  ReadRules(*root, kRootRules, reply.values);
  if (const TiXmlElement* update = root->FirstChildElement("update")) {
    reply.hasUpdate = true;
    ReadRules(*update, kUpdateRules, reply.values);
  }
  out = std::move(reply);
  return ReplyParse::kOk;
}

std::string LineBreaksToMarkup(const std::string& text) {
  std::string result = text;
  ReplaceAll(result, "\r\n", "</br>");
  ReplaceAll(result, "\n", "</br>");
  return result;
}

std::string ConfigRequestUrl(const std::string& endpoint, const std::string& version, long long nowSeconds) {
  int32_t rand = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(nowSeconds)));
  return endpoint + "?ver=" + version + "&rand=" + std::to_string(rand);
}
