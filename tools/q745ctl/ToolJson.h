#pragma once

#include <nlohmann/json.hpp>

#include <ostream>
#include <string_view>

// The tool's JSON output: fields in the order they are added, as users' scripts and the tests
// read them.
using Json = nlohmann::ordered_json;

// A text of the system's files, whose 8-bit characters are Latin-1, as a JSON string.
Json fileText(std::string_view bytes);

// One JSON document on one line, with every character outside ASCII escaped.
void printJson(std::ostream& out, const Json& json);
