#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/RegistryValue.h"

// The current user's internet settings as the desktop's environment carries them: the proxy
// variables http_proxy (or HTTP_PROXY), https_proxy, ftp_proxy and no_proxy (either letter
// case) are presented as the two values a settings reader looks for:
//   "ProxyEnable"  integer: 1 when an HTTP proxy is set and no_proxy does not exempt the host,
//                  else 0;
//   "ProxyServer"  text: "host:port" when only the HTTP proxy is set, otherwise the entries
//                  "ftp=host:port;http=host:port;https=host:port" of the proxies that are set.
// A proxy given without a port uses port 80. Any other name is missing.
class InternetSettings {
public:
    // Reads one environment variable; nothing when it is not set.
    using Environment = std::function<std::optional<std::string>(const char* name)>;

    // host: the server the proxy is wanted for, matched against no_proxy.
    explicit InternetSettings(std::string host, Environment environment = systemEnvironment());

    RegistryValue value(std::string_view name) const;

    static Environment systemEnvironment();

private:
    // The proxy of a protocol as "host:port"; empty when not set.
    std::string proxyOf(const char* lowerName, const char* upperName) const;
    bool hostExempted() const;

    std::string host_;
    Environment environment_;
};
