// Files and folders of the end-to-end runs: the programs under test, a medium laid out for one
// case, the stand-in engine's instructions and its record, and the registry settings a case
// may leave behind (the restart marker, Wine's per-program Windows version).
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// The programs under test, as Windows paths. They are named by the environment variables
// CORVANE_E2E_SETUP and CORVANE_E2E_ENGINE (a Unix path, as CTest knows it, is shown to the
// program by Wine on drive Z:). Empty when a variable is not set.
std::string SetupExe();
std::string EngineExe();

// "/a/b" → "Z:\a\b"; a path that does not start with a slash is returned unchanged.
std::string WindowsPath(const std::string& path);

bool FileExists(const std::string& path);
// Creates the folder and every folder above it.
void MakeFolder(const std::string& folder);
// Removes the folder with everything in it; true when it is gone.
bool RemoveTree(const std::string& folder);
// Creates or replaces the file with exactly these bytes; false when it cannot.
bool WriteFile(const std::string& path, const std::string& bytes);
// The file's bytes; false when it cannot be read.
bool ReadFile(const std::string& path, std::string* bytes);

// The fixed file names of a medium.
extern const char kInstaller[];    // "ishield.app"
extern const char kEngineCfg[];    // the stand-in engine's instructions
extern const char kEngineRecord[];  // the command line the stand-in engine received
extern const char kEngineStop[];   // tells a staying stand-in engine to go on

// Puts a copy of the stand-in engine at folder\name (ishield.app unless told) and its
// instructions (the lines of engine.cfg, e.g. "complete=stay\r\n") beside it.
bool InstallEngine(const std::string& folder, const std::string& cfg, const char* name = kInstaller);
// The command line the engine in folder received; false when it has not started (its record
// does not exist).
bool EngineRecord(const std::string& folder, std::string* commandLine);
// Lets a staying engine in folder go on.
bool StopEngine(const std::string& folder);

// The restart marker: value KVQREBOOTREQUIRED under HKLM\...\CurrentVersion\RunOnce.
bool SetRestartMarker();
bool RestartMarkerPresent();
void RemoveRestartMarker();

// Wine's per-program Windows version (HKCU\Software\Wine\AppDefaults\<exeName>, value
// "Version", e.g. "nt351", "win95", "nt40"), read by Wine when the program starts.
bool SetWineVersion(const std::string& exeName, const std::string& version);
void RemoveWineVersion(const std::string& exeName);

}  // namespace e2e
