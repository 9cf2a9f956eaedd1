#pragma once

#include <cstdio>

// "dorvane-cli ports": the serial ports the system lists, one per line or as
// a JSON array, with their USB identifiers where the port has them.
int listPorts(bool json, std::FILE *out = stdout);
