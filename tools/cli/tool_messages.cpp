#include "tools/cli/tool_messages.h"

#include "common/suit_datagram.h"
#include "varnel.h"

#include <mutex>

namespace {
// The handler runs on whichever thread reports, the receive thread too.
std::mutex routeLock;
std::FILE* routedErrors = nullptr;
std::string routedCommand;

int WriteLibraryMessage(const char* text)
{
    std::lock_guard<std::mutex> hold(routeLock);
    if (!routedErrors)
        return 1;
    std::fputs(LibraryMessageLines(routedCommand, text ? text : "").c_str(), routedErrors);
    std::fflush(routedErrors);
    return 1;
}

// The library's words for a port another socket holds, whatever the system.
bool SaysPortInUse(std::string_view text)
{
    return text.starts_with("Socket bind error") && text.find("EADDRINUSE") != text.npos;
}
} // namespace

std::string MessagePrefix(std::string_view command)
{
    return command.empty() ? "varnel: " : "varnel " + std::string(command) + ": ";
}

std::string PrefixLines(std::string_view command, std::string_view text)
{
    const std::string prefix = MessagePrefix(command);
    std::string lines;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        lines.append(prefix).append(line).append("\n");
        text.remove_prefix(end == text.npos ? text.size() : end + 1);
    }
    return lines;
}

std::string LibraryMessageLines(std::string_view command, std::string_view text)
{
    std::string lines = text.empty() ? MessagePrefix(command) + "\n" : PrefixLines(command, text);
    if (SaysPortInUse(text))
        lines += PrefixLines(command, "UDP port " + std::to_string(SUIT_PORT) +
                                          " is held by another capture program (Varnview, "
                                          "another 'varnel record' or 'varnel suits'); close it "
                                          "and try again");
    return lines;
}

LibraryMessagesTo::LibraryMessagesTo(std::FILE* errors)
{
    {
        std::lock_guard<std::mutex> hold(routeLock);
        routedErrors = errors;
        routedCommand.clear();
    }
    previous = VarnelSetMessageHandler(WriteLibraryMessage);
}

LibraryMessagesTo::~LibraryMessagesTo()
{
    VarnelSetMessageHandler(previous);
    std::lock_guard<std::mutex> hold(routeLock);
    routedErrors = nullptr;
}

void LibraryMessagesTo::SetCommand(std::string_view command)
{
    std::lock_guard<std::mutex> hold(routeLock);
    routedCommand = command;
}
