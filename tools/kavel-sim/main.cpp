// kavel-sim: reads commands from standard input and runs them on a headless console.

#include "Sim.h"

#include <iostream>

#ifndef KAVEL_PROGRAM_DIR
#define KAVEL_PROGRAM_DIR "."
#endif

int main() {
    std::ios::sync_with_stdio(false);
    kavel::Sim sim(std::cout, KAVEL_PROGRAM_DIR);
    for (std::string line; !sim.finished() && std::getline(std::cin, line);) {
        sim.run(line);
        std::cout.flush();
    }
    return 0;
}
