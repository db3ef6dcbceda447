#include "platform/CupsPrintSpooler.h"

#include <cups/cups.h>

namespace {

constexpr std::string_view ParallelScheme = "parallel:";

int activeJobCount(const char* queue) {
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue, 0, CUPS_WHICHJOBS_ACTIVE);
    if (jobs != nullptr) cupsFreeJobs(count, jobs);
    return count > 0 ? count : 0;
}

}  // namespace

std::string spoolerPortName(std::string_view deviceUri) {
    if (deviceUri.substr(0, ParallelScheme.size()) != ParallelScheme) return std::string(deviceUri);
    const std::string_view device = deviceUri.substr(ParallelScheme.size());
    for (std::string_view prefix : {"/dev/lp", "/dev/parport"}) {
        if (device.size() == prefix.size() + 1 && device.substr(0, prefix.size()) == prefix) {
            const char digit = device.back();
            if (digit >= '0' && digit <= '3') return "LPT" + std::string(1, digit + 1) + ":";
        }
    }
    return std::string(deviceUri);
}

std::vector<PrintSpooler::Printer> CupsPrintSpooler::printers() {
    cups_dest_t* destinations = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &destinations);
    std::vector<Printer> result;
    for (int i = 0; i < count; ++i) {
        const cups_dest_t& dest = destinations[i];
        // Instances share the queue of their printer.
        if (dest.instance != nullptr) continue;
        const char* uri = cupsGetOption("device-uri", dest.num_options, dest.options);
        Printer printer;
        printer.ports = spoolerPortName(uri != nullptr ? uri : "");
        if (printer.ports.rfind("LPT", 0) == 0) printer.jobs = activeJobCount(dest.name);
        result.push_back(std::move(printer));
    }
    cupsFreeDests(count, destinations);
    return result;
}
