#include "panel/core/notify_text.h"

std::string BuildNotifyText(const std::string& eventName, int id, int parentId,
                            const EventAttributes& attributes) {
  std::string text = "<command name=\"notify\"><event name=\"" + eventName + "\" id=\"" + std::to_string(id) +
                     "\" parent_id=\"" + std::to_string(parentId) + "\"";
  for (const auto& [key, value] : attributes) text += " " + key + "=\"" + value + "\"";
  text += "></event></command>";
  return text;
}
