// The phone's configuration block from the greeting: a small XML document
// whose first element may hold <reverse_v> and <reverse_h>.
#pragma once
#include <string>

struct LinkConfig {
  int reverseV = 0;  // non-zero: flip the picture vertically
  int reverseH = 0;  // non-zero: mirror the picture horizontally
};

// Reads reverse_v and reverse_h from `xml` into `config`. A value is the
// element text's leading decimal number (atoi rules: leading blanks, optional
// sign, digits; no number gives 0). A parse error, a missing element or an
// element without text leaves that field unchanged; malformed XML is not an
// error for the link.
void ParseLinkConfig(const std::string& xml, LinkConfig* config);
