// Saves one file with the atomic writer, so a test can trace its system calls.
#include "core/atomic_file.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: atomic_write_probe FILE\n";
        return 2;
    }
    const auto error = sarvik::writeFileAtomically(argv[1], "[{\"probe\":true}]");
    if (error) std::cerr << error->description() << '\n';
    return error ? 1 : 0;
}
