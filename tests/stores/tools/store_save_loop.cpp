// Saves one store over and over with a growing list, until it is killed.
// Usage: store_save_loop KIND DIR FD, KIND one of favorites, history,
// scrapbook, auctions. Writes one byte to FD once the store is loaded.
#include "store_kinds.h"

#include <unistd.h>

#include <cstdlib>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: store_save_loop KIND DIR FD\n";
        return 2;
    }
    auto store = sarvik::testing::openStoreKind(argv[1], argv[2]);
    if (!store) return 2;
    const int ready = std::atoi(argv[3]);
    const char byte = 1;
    if (::write(ready, &byte, 1) != 1) return 3;
    ::close(ready);
    for (;;) store->addNext();
}
