// The table `varnel suits` prints: one aligned row per suit.
#pragma once

#include "varnel.h"

#include <string>
#include <vector>

// Header line and one line per suit (index, address:port, name, nominal
// rate, position sensor yes/no), columns padded to their widest entry.
std::string FormatSuitTable(const std::vector<SuitInfo>& suits);

// The same suits as a JSON array of objects: index, address, port, name,
// rate, positionSensor; a line end follows.
std::string FormatSuitJson(const std::vector<SuitInfo>& suits);
