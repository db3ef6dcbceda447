#include "update/InternetProxy.h"

#include "core/UnitFormat.h"

namespace {

std::optional<std::uint32_t> enableValue(const RegistryValue& value) {
    if (value.type == RegistryValue::Type::Integer) return value.integer;
    if (value.type == RegistryValue::Type::Binary && value.bytes.size() == 4)
        return static_cast<std::uint32_t>(value.bytes[0]) |
               static_cast<std::uint32_t>(value.bytes[1]) << 8 |
               static_cast<std::uint32_t>(value.bytes[2]) << 16 |
               static_cast<std::uint32_t>(value.bytes[3]) << 24;
    return std::nullopt;
}

// The text up to the first of `ends` (or all of it), and the rest after that character.
std::string_view takeUntil(std::string_view& rest, std::string_view ends) {
    const std::size_t end = rest.find_first_of(ends);
    const std::string_view taken = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    return taken;
}

}  // namespace

std::optional<std::int32_t> parsePortNumber(std::string_view text) {
    const std::optional<int> port = parseInteger(text);
    if (!port || *port < 0 || *port > 65535) return std::nullopt;
    return *port;
}

InternetProxyReading readInternetProxy(const RegistryValue& proxyEnable,
                                       const RegistryValue& proxyServer) {
    InternetProxyReading reading;
    const std::optional<std::uint32_t> enabled = enableValue(proxyEnable);
    if (!enabled) return reading;
    if (*enabled == 0) {
        reading.outcome = InternetProxyReading::Outcome::NotEnabled;
        return reading;
    }
    if (proxyServer.type != RegistryValue::Type::Text || proxyServer.text.empty()) return reading;

    std::string_view address;
    std::string_view port;
    std::string_view rest = proxyServer.text;
    if (rest.find('=') == std::string_view::npos) {
        address = takeUntil(rest, ":");
        port = takeUntil(rest, ":");
    } else {
        bool found = false;
        while (!rest.empty() && !found) {
            std::string_view entry = takeUntil(rest, ";");
            const std::string_view protocol = takeUntil(entry, "=");
            if (protocol != "http") continue;
            found = true;
            address = takeUntil(entry, ":");
            port = takeUntil(entry, ":");
        }
        if (!found) return reading;
    }
    const std::optional<std::int32_t> number = parsePortNumber(port);
    if (!number) return reading;
    reading.outcome = InternetProxyReading::Outcome::Taken;
    reading.address = address;
    reading.port = *number;
    return reading;
}
