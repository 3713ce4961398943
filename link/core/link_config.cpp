#include "link/core/link_config.h"

#include <tinyxml.h>

#include <cstdlib>

namespace {

void ReadFlag(const TiXmlElement* root, const char* name, int* value) {
  const TiXmlElement* element = root->FirstChildElement(name);
  if (!element) return;
  const char* text = element->GetText();
  if (!text) return;
  *value = std::atoi(text);
}

}  // namespace

void ParseLinkConfig(const std::string& xml, LinkConfig* config) {
  if (xml.empty()) return;
  TiXmlDocument doc;
  doc.Parse(xml.c_str());
  if (doc.Error()) return;
  const TiXmlElement* root = doc.FirstChildElement();
  if (!root) return;
  ReadFlag(root, "reverse_v", &config->reverseV);
  ReadFlag(root, "reverse_h", &config->reverseH);
}
