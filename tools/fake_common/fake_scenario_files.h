// Scenario and record files of the test doubles (fake adb, fake
// libimobiledevice). A test names both files through environment variables:
// the fake reads its scenario at each call and appends one line per event to
// its record, so the test can check what the program under test did.
//
// Bytes in both files are escaped as \r \n \t \\ and \xHH (other control
// bytes, NUL included), so every line stays one text line.
#pragma once
#include <string>
#include <vector>

// The variables that name each fake's scenario and record files.
constexpr char kFakeAdbScenarioEnv[] = "VELA_FAKE_ADB_SCENARIO";
constexpr char kFakeAdbRecordEnv[] = "VELA_FAKE_ADB_RECORD";
constexpr char kFakeIdeviceScenarioEnv[] = "VELA_FAKE_IDEVICE_SCENARIO";
constexpr char kFakeIdeviceRecordEnv[] = "VELA_FAKE_IDEVICE_RECORD";

// The variable as the OS holds it now (empty when unset or over 1 KiB): a
// test process sets these after its C runtime, and a fake's, took its copy of
// the environment.
std::string FakeEnv(const char* name);

// Escapes bytes for a scenario or record line.
std::string ScenarioEscape(const std::string& bytes);
// Undoes ScenarioEscape; also takes \0 for NUL and \<c> for any other <c>.
std::string ScenarioUnescape(const std::string& text);

// The lines of the file the variable `envName` names, each without its line
// end; empty when the variable is unset or the file is missing.
std::vector<std::string> ReadScenarioLines(const char* envName);

// Appends `line` and a line feed to the file `envName` names (nothing when
// unset). The file is opened for each line and shared, so several processes
// of the fake can record into it.
void AppendRecordLine(const char* envName, const std::string& line);
