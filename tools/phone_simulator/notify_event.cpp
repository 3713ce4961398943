#include "tools/phone_simulator/notify_event.h"

#include <tinyxml.h>

namespace phone_sim {

bool ParseNotify(const std::string& utf8, NotifyEvent* event) {
  if (utf8.size() > kMaxNotifyLength) return false;
  TiXmlDocument document;
  document.Parse(utf8.c_str(), nullptr, TIXML_ENCODING_UTF8);
  const TiXmlElement* command = document.Error() ? nullptr : document.RootElement();
  if (!command || command->ValueStr() != "command") return false;
  const char* command_name = command->Attribute("name");
  const TiXmlElement* element = command->FirstChildElement("event");
  if (!command_name || std::string(command_name) != "notify" || !element) return false;
  const char* name = element->Attribute("name");
  if (!name || element->QueryIntAttribute("id", &event->id) != TIXML_SUCCESS) return false;
  event->name = name;
  element->QueryIntAttribute("parent_id", &event->parent_id);
  element->QueryIntAttribute("pos", &event->pos);
  const char* custom = element->Attribute("event");
  event->custom = custom ? custom : "";
  return true;
}

}  // namespace phone_sim
