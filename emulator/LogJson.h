#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace q745vi {

// The event log's lines and the decoded state: objects keep their fields in the order they are
// added, which readers of the log have always seen.
using LogJson = nlohmann::ordered_json;

// One line of JSON. Texts that come from outside (the configuration variable) may hold bytes
// that are not UTF-8; they are replaced rather than failing the line.
inline std::string logText(const LogJson& json) {
    return json.dump(-1, ' ', false, LogJson::error_handler_t::replace);
}

}  // namespace q745vi
