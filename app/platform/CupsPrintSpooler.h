#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "device/PrintSpooler.h"

// The local print queues as the print system (CUPS) reports them. A queue whose device is a
// parallel port /dev/lpN lists the port "LPT1:" .. "LPT4:" (N = 0 .. 3), the names under which
// the instrument's port is known; the jobs are counted for those queues only, as no other
// queue can share the instrument's port.
class CupsPrintSpooler final : public PrintSpooler {
public:
    std::vector<Printer> printers() override;
};

// The port name of a queue's device URI: "LPT1:" for "parallel:/dev/lp0" and so on; any other
// URI is returned as it is.
std::string spoolerPortName(std::string_view deviceUri);
