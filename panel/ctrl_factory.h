// Makes a panel control object for a class name of the phone's commands
// (exact comparison), without a window; null for an unknown class.
#pragma once
#include <memory>
#include <string>

class DUICtrl;

std::unique_ptr<DUICtrl> CreateCtrl(const std::string& className);
