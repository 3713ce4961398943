// Where a downloaded installer is kept: the names taken from its address.
#pragma once
#include <string>

// The installer's file name is the address after its last "/" (the whole
// address when it has none), cut before the first "?"; the temporary name is
// that name up to its last "." followed by ".tmp" ("setup.exe?v=2" gives
// "setup.exe" and "setup.tmp"). The query is cut before the temporary name is
// made, so a "." inside the query does not end up in a file name. False when
// the name is empty, longer than 200 characters, "." or "..", or holds a
// character a file name cannot (\ / : * ? " < > | and control characters).
bool UpdateFileNames(const std::string& url, std::string& fileName, std::string& tempName);
