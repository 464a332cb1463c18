// Child programs on the host: simulated programs that write their record into the world's files.
#include "ChildProgram.h"

#include <windows.h>

#include "winsim_world.h"

namespace conformance {

std::string ScratchFolder() { return "C:\\TEMP"; }

void MakeFolder(const std::string& folder) { winsim::World::Get().AddFolder(folder); }

void InstallChildProgram(const std::string& path) {
    winsim::World::Get().RemoveFile(path + ".ran");
    winsim::World::Get().InstallProgram(path, [path]() {
        winsim::World::Get().AddFile(path + ".ran", GetCommandLineA());
        return 0;
    });
}

bool ChildRecord(const std::string& path, std::string* commandLine) {
    return winsim::World::Get().ReadFile(path + ".ran", commandLine);
}

void RemoveChildProgram(const std::string& path) {
    winsim::World::Get().RemoveFile(path);
    winsim::World::Get().RemoveFile(path + ".ran");
}

}  // namespace conformance
