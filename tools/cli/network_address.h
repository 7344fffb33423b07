// Suit addresses as the commands take them from the user and show them.
#pragma once

#include "varnel.h"

#include <cstdint>
#include <string>

struct Destination {
    std::string host;
    uint16_t port;
};

// Parses "HOST:PORT" (port 1..65535). Returns an empty text on success,
// otherwise what is wrong with it.
std::string ParseDestination(const std::string& text, Destination* destination);

// Resolves host to an IPv4 address in network byte order. Returns an empty
// text on success, otherwise the reason.
std::string ResolveIpv4(const std::string& host, uint32_t* address);

// Asks the system for a route to address (network byte order) and port
// without sending anything. Returns an empty text when there is one,
// otherwise the reason.
std::string CheckRoute(uint32_t address, uint16_t port);

// "192.168.1.20:5000": where the suit sends from.
std::string SuitAddress(const SuitInfo& suit);
