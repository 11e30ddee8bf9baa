// Splitting a program-starter command line into its fields, and starting a
// program from them without a shell.
//
// The line follows the link launcher's rules: fields are separated by
// spaces; a double quote switches between inside and outside quotes, spaces
// inside quotes belong to the field, and inside quotes a doubled double
// quote stands for one. Quotes themselves are not part of the arguments.
#pragma once

#include <string>
#include <vector>

// The arguments of a command line. Runs of spaces separate fields; a quoted
// empty field ("") is kept as an empty argument; an unclosed quote runs to
// the end of the line.
std::vector<std::string> SplitCommandLine(const char* line);

// True when the fields ask for the desktop's web-page opener: the program
// "Explorer" (any letter case, ".exe" allowed) with exactly one address.
bool IsWebPageRequest(const std::vector<std::string>& fields);

// True for an address the web-page opener may be given: http:// or https://
// followed by a host, no control characters or spaces.
bool IsWebAddress(const std::string& address);

// Starts args[0] (looked up in PATH) with the arguments, no shell involved.
// Returns the process id, or -1 with *error set. The child is reaped later
// by ReapStartedPrograms.
int SpawnProgram(const std::vector<std::string>& args, std::string* error);

// Collects the exit status of programs started earlier that have ended, so
// they do not linger as zombies. Never blocks.
void ReapStartedPrograms();
