// Why the library refuses a BVH file of another body. Its own message names
// only a line; the tools add which joint of the file the reader could not
// place on the 18-joint body.
#pragma once

#include <string>

// What in the hierarchy of the file at path the reader cannot place, as
// "line 5 has joint 'LHipJoint' ..."; "" when the hierarchy is the body (the
// fault lies elsewhere) or the file cannot be read.
std::string NotTheBodyReason(const std::string& path);

// "NAME is not the 18-joint Varnel body: REASON", or "" as above; name is
// the file as the user named it.
std::string NotTheBodyLine(const std::string& path, const std::string& name);
