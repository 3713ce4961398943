// The one-line notify command that reports a user action on the panel to
// the phone: no declaration, no line breaks, no escaping (every part is
// ASCII: event names, decimal numbers and fixed keys).
//   <command name="notify"><event name="click" id="12" parent_id="3"></event></command>
#pragma once
#include <string>
#include <utility>
#include <vector>

using EventAttributes = std::vector<std::pair<std::string, std::string>>;

std::string BuildNotifyText(const std::string& eventName, int id, int parentId,
                            const EventAttributes& attributes);
