#pragma once

#include <string>

namespace tw {

class BlockReader;
class TParseList;

// The variables file of the text format: one line per variable, name and
// value (in its one-line stored form) separated by a pilcrow, both escaped.
// Reading adds every non-empty line's variable; a missing file throws tw::Error.
void LoadVariablesFromTextFile(TParseList& variables, const std::string& path);
std::string VariablesTextFileBytes(const TParseList& variables);

// The variables block of the binary format: name and value as text fields,
// values flattened to their stored form when flattenValues is set (V1.0).
void LoadVariablesFromBinary(TParseList& variables, BlockReader& block);
void AppendVariablesBlockContent(const TParseList& variables, bool flattenValues, std::string& out);

} // namespace tw
