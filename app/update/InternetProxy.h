#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/RegistryValue.h"

// The proxy of the desktop's internet settings, read from the two values "ProxyEnable" and
// "ProxyServer" of the current user's settings.
struct InternetProxyReading {
    enum class Outcome {
        NotEnabled,  // "ProxyEnable" is 0: nothing is taken
        Taken,       // address and port hold the proxy
        Failed,      // a value is missing, of the wrong type or cannot be read
    };
    Outcome outcome = Outcome::Failed;
    std::string address;
    std::int32_t port = 0;
};

// "ProxyEnable" is an integer or 4 bytes of binary data. "ProxyServer" is "host:port", or
// entries "protocol=host:port" separated by ";" of which the "http" one is used.
InternetProxyReading readInternetProxy(const RegistryValue& proxyEnable,
                                       const RegistryValue& proxyServer);

// A proxy port typed or read as text: a decimal integer from 0 to 65535; nothing otherwise.
std::optional<std::int32_t> parsePortNumber(std::string_view text);
