// Runs the section reader tool as a child process, as a camera in another
// process would read the section, and collects what it printed.
#pragma once
#include <string>

struct ToolRun {
  int exitCode = -1;  // -1: did not start or did not end in time
  std::string output;
};

// `arguments` follow the tool's path on its command line.
ToolRun RunSectionReader(const std::string& arguments);

// A section name no other test program uses at the same time.
std::string UniqueSectionName(const char* purpose);
