// The file each suit's take goes to when one session records several.
#pragma once

#include <string>
#include <vector>

// A suit's name as a part of a file name: letters, digits, '-', '_' and '.'
// kept, anything else '_', no leading dot; "suit" for an empty name.
std::string FileNamePart(const std::string& suitName);

// Whether output holds {name} or {index}.
bool IsTakePathPattern(const std::string& output);

struct TakePathSuit {
    std::string name; // as the suit sends it
    int index = 0;    // as `varnel suits` prints it
};

// The output file of each suit, in order. A pattern has {name} and {index}
// replaced; otherwise one suit keeps output as it is and several get
// "-NAME" before the extension of its file name. Suits that share a name
// get "-INDEX" after it. Returns an empty text, or why two takes would go
// to one file.
std::string TakePaths(const std::string& output, const std::vector<TakePathSuit>& suits,
                      std::vector<std::string>* paths);
