#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A named value of the operating system's per-user settings store as the settings readers see
// it: missing, an integer, binary data or text. The platform layer presents what the system
// keeps in this form, so that the readers stay the same on every system.
struct RegistryValue {
    enum class Type { Missing, Integer, Binary, Text };

    Type type = Type::Missing;
    std::uint32_t integer = 0;
    std::vector<std::uint8_t> bytes;
    std::string text;

    static RegistryValue ofInteger(std::uint32_t value) {
        RegistryValue result;
        result.type = Type::Integer;
        result.integer = value;
        return result;
    }
    static RegistryValue ofText(std::string value) {
        RegistryValue result;
        result.type = Type::Text;
        result.text = std::move(value);
        return result;
    }
    static RegistryValue ofBytes(std::vector<std::uint8_t> value) {
        RegistryValue result;
        result.type = Type::Binary;
        result.bytes = std::move(value);
        return result;
    }
};
