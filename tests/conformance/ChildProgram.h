// Child programs for the process-creation tests: a program that, whenever it starts, records
// the command line it received beside itself, so a test can see which program ran and with what.
#pragma once

#include <string>

namespace conformance {

// A folder the tests may write to, without a trailing backslash.
std::string ScratchFolder();
// Makes folder (and the folders above it) exist.
void MakeFolder(const std::string& folder);
// Puts a child program at path.
void InstallChildProgram(const std::string& path);
// The command line the child at path received on its last start; false when it never ran.
bool ChildRecord(const std::string& path, std::string* commandLine);
// Removes the child at path and its record.
void RemoveChildProgram(const std::string& path);

}  // namespace conformance
