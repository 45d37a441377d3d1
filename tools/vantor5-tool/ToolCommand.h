#pragma once
// What every subcommand of vantor5-tool shares: exit codes, error reporting, and
// reading and writing documents (.json text or scrambled .vt5).

#include "ArgParser.h"
#include "json/JsonText.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantor::tool {

using Args = std::vector<std::string>;

enum ExitCode : int {
    kExitOk = 0,
    kExitBadInput = 1, // a file could not be read, decoded, parsed or written
    kExitUsage = 2,    // the command line itself is wrong
};

struct ToolCommand {
    const char *name;
    const char *summary;
    int (*run)(const Args &args);
};

// Every subcommand, in the order `vantor5-tool --help` lists them.
const std::vector<ToolCommand> &AllCommands();

// Prints "vantor5-tool: <subject>: <what>" on stderr and returns kExitBadInput.
int BadInput(const std::string &subject, const std::string &what);

// Parses the subcommand's arguments. Returns nothing when the command should go on;
// otherwise the exit code (help printed: 0; usage error reported: 2).
std::optional<int> ParseArguments(ArgParser &parser, const Args &args, std::size_t minPositionals,
                                  std::size_t maxPositionals);

// True for names ending in ".vt5" (any case): such files are scrambled.
bool IsScrambledFileName(const std::string &path);

// Reads a file ("-" is stdin). On failure *error says why.
std::optional<std::string> ReadInput(const std::string &path, std::string *error);

// The document text of a .vt5 (unscrambled) or of any other file (as it is).
std::optional<std::string> ReadDocumentText(const std::string &path, std::string *error);

// The document's root object, from a .vt5 or a JSON text file.
std::optional<json::Json> ReadDocument(const std::string &path, std::string *error);

// Writes to stdout when path is empty, otherwise replaces the file atomically.
bool WriteOutput(const std::string &path, std::string_view bytes, std::string *error);

} // namespace vantor::tool
