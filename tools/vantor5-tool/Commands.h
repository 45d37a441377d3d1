#pragma once
// The subcommands of vantor5-tool. Each takes the arguments after its name and
// returns the process exit code (ToolCommand.h).

#include "ToolCommand.h"

#include <iostream>

namespace vantor::tool {

int RunDecode(const Args &args);
int RunEncode(const Args &args);
int RunFormat(const Args &args);
int RunDevice(const Args &args); // read, write, write-file, flash
int RunNew(const Args &args);
int RunRoundtrip(const Args &args);
int RunSimulate(const Args &args);

// Pelmar-3 ("revur") documents for new and roundtrip.
json::Json NewPelmarDocument();
std::optional<json::Json> RoundtripPelmar(const json::Json &root, std::string *error);

} // namespace vantor::tool
