// The local configuration: "AppConfig.ini", section "Config", kept in the
// per-user data folder (always written, wins on reading) and in the program
// folder (shipped defaults, written as well); and the program's version text.
#pragma once
#include <string>

// The per-user data folder "<local app data>\Vela直播助手\" with a trailing
// backslash, created when missing; empty when it cannot be found or created.
std::string GetDataFolder();

// One key of section "Config": the data folder's value when it is not empty,
// else the program folder's value, else empty. At most 259 characters.
std::string ReadConfig(const char* key);

// Writes the key into the data folder's file and the program folder's file.
// Failures are not reported: the program-folder copy needs administrator rights.
void WriteConfig(const char* key, const char* value);

// The program file's fixed file version as "a.b.c.d" in `buffer` (at most
// `size` characters with the terminator). 1 on success; 0 with the buffer
// untouched when the file has no version resource.
int GetFileVersionText(char* buffer, int size);

// The same for any file: the test and tool entry point for other modules.
int GetFileVersionTextOf(const char* path, char* buffer, int size);
