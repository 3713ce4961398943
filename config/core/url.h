// Splitting an HTTP address into the parts the HTTP client needs.
#pragma once
#include <string>

// Host and path of `url`: the host runs from after "://" (or from the start
// when there is none) to the first "/" after it; the path is that "/" and
// everything after it, query included. False when nothing follows the scheme
// or no "/" follows the host (an address that ends after its host).
bool ParseUrl(const std::string& url, std::string& host, std::string& path);

// The host name and the port of a host part: "name:port" gives the port when
// it is a number from 1 to 65535; a host without ":" gives port 80. False for
// an empty name or a port that is not such a number. The maker's endpoint is
// plain HTTP on port 80; a port is honoured for local servers (tests, demo,
// a company mirror).
bool SplitHostPort(const std::string& host, std::string& name, int& port);
