// How the command line words what it tells the user on standard error: one
// prefix, "varnel: " or "varnel CMD: ", for its own messages and for the
// library's, which keep their text.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// "varnel: " for an empty command, else "varnel CMD: ".
std::string MessagePrefix(std::string_view command);

// Each line of text with the command's prefix, every line ended.
std::string PrefixLines(std::string_view command, std::string_view text);

// What the tool prints for a message of the library: the text with the
// prefix and, when the suit port is held by another program, a line that
// says which port and what to do.
std::string LibraryMessageLines(std::string_view command, std::string_view text);

// Routes the library's messages to errors as LibraryMessageLines words them
// for the duration of its scope; the handler before it is restored after.
// One at a time: the handler is a plain function that finds them here.
class LibraryMessagesTo {
  public:
    LibraryMessagesTo(std::FILE* errors);
    ~LibraryMessagesTo();
    LibraryMessagesTo(const LibraryMessagesTo&) = delete;
    LibraryMessagesTo& operator=(const LibraryMessagesTo&) = delete;

    // The command whose messages follow; "" for the program itself.
    void SetCommand(std::string_view command);

  private:
    int (*previous)(const char*);
};
