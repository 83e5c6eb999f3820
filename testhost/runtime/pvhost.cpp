// pvhost program.bas: runs a program in the host's language against the plugin, the way the IDE
// runs it. Files the program writes land in the current folder. Exit status 0 when the program
// ran to its end; otherwise the fault, with its line and column, goes to standard error.
#include "basic.h"
#include "testhost.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: pvhost program.bas\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "pvhost: cannot read " << argv[1] << "\n";
        return 2;
    }
    std::ostringstream source;
    source << in.rdbuf();
    // The plugin beside the build, unless the environment names another.
    const char* plugin = std::getenv("PLOTVANE_HOST_PLUGIN");
    testhost::TestHost host;
    if (!host.load(plugin ? plugin : PLOTVANE_HOST_PLUGIN)) {
        std::cerr << "pvhost: cannot load the plugin " << (plugin ? plugin : PLOTVANE_HOST_PLUGIN) << "\n";
        return 2;
    }
    const std::string fault = testhost::runProgram(source.str(), host, std::cout);
    if (fault.empty()) return 0;
    std::cerr << argv[1] << ": " << fault << "\n";
    return 1;
}
