#pragma once

#include <vector>

#include "device/PrintSpooler.h"

// Print queues as a test sets them.
class FakeSpooler final : public PrintSpooler {
public:
    std::vector<Printer> printers() override { return queues; }
    std::vector<Printer> queues;
};
