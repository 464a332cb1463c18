// Fuzzes the composition of the installer's command line: arbitrary arguments and script
// answers must give a command line that starts with the installer's path, carries every byte
// of the arguments (but the four rewritten in the first "-script="), and adds each switch at
// most once and only as the rules say.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "InstallerCommandLine.h"
#include "FuzzSupport.h"
#include "SetupScript.h"

namespace {

using fuzz::Check;

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    fuzz::EnterLauncherProcess();

    const uint8_t flags = data[0];
    INSTALLER_SCRIPT_ANSWERS answers;
    answers.nUninstall = flags & 1 ? 1 : (flags & 8 ? 7 : 0);
    answers.nUserInterface = flags & 2 ? UI_HIDDEN : UI_VISIBLE;
    answers.nSms = flags & 4 ? 1 : 0;
    const std::string path = flags & 16 ? "C:\\Program Files\\Corvane\\ishield.app" : "D:\\SETUP\\ishield.app";
    // Arguments are text: a NUL would end them.
    std::string args(reinterpret_cast<const char*>(data + 1), size - 1);
    args = args.substr(0, args.find('\0'));

    const std::string cmd(ComposeInstallerCommandLine(path.c_str(), args.c_str(), answers));

    const std::string head = path.find(' ') == std::string::npos ? path : "\"" + path + "\"";
    Check(cmd.compare(0, head.size(), head) == 0, "starts with the installer's path, quoted only with a blank");
    std::string rest = cmd.substr(head.size());

    std::string expectedArgs = args;
    size_t p = expectedArgs.find("-script=");
    if (p != std::string::npos) expectedArgs.replace(p, 8, "-ascrpt=");
    if (!args.empty()) {
        Check(rest.compare(0, 1 + expectedArgs.size(), " " + expectedArgs) == 0, "the arguments follow whole");
        rest = rest.substr(1 + expectedArgs.size());
    }
    std::string tail;
    if (args.find("-uninstall") == std::string::npos && answers.nUninstall == 1) tail += " -uninstall";
    if (answers.nUserInterface == UI_HIDDEN) tail += " -s";
    if (answers.nSms == 1) tail += " -SMS";
    Check(rest == tail, "the script's switches follow, each at most once, as the rules say");
    Check(EndsWith(cmd, tail), "switches end the command line");
    return 0;
}
