// Names that the log must keep every one of (the clients a cut run did not
// reach): a long list would be cut with its line, so it is spread over as
// many lines as it needs.
#pragma once

#include <string>
#include <vector>

// Lines "<head><name>, <name>...<tail>", each within the log's message
// length; none for no names.
std::vector<std::string> LinesNaming(const std::string& head, const std::vector<std::string>& names,
                                     const std::string& tail);
