// lumivexis: the command-line tool. See CToolApp.

#include <string>
#include <vector>

#include "CToolApp.h"

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return CToolApp().Main(arguments);
}
