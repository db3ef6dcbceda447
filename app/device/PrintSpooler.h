#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The print system as printer sharing sees it: the local printers with their ports and the
// number of jobs queued on each.
class PrintSpooler {
public:
    struct Printer {
        std::string ports;  // port names separated by ","
        std::int32_t jobs = 0;
    };

    virtual ~PrintSpooler() = default;
    virtual std::vector<Printer> printers() = 0;
};
