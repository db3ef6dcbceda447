#pragma once

#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <vector>

// Reads a Value Change Dump back for the tests: the declarations and the value of every
// variable at any time, replayed from the value changes.
struct VcdDump {
    struct Variable {
        std::string name;
        int width = 0;
        std::string range;  // "[3:0]" for a vector, empty otherwise
    };
    struct Change {
        std::int64_t time;
        std::string id;
        std::uint32_t value;
    };

    std::string timescale;                      // without spaces: "10us"
    std::map<std::string, Variable> variables;  // by identifier code
    std::vector<std::string> order;             // identifiers as declared
    std::vector<Change> changes;
    std::int64_t lastTime = 0;

    std::string idOf(const std::string& name) const {
        for (const auto& [id, variable] : variables)
            if (variable.name == name) return id;
        return {};
    }
    // The value the variable holds at `time`; -1 before its first value.
    std::int64_t valueAt(const std::string& name, std::int64_t time) const {
        const std::string id = idOf(name);
        std::int64_t value = -1;
        for (const Change& change : changes)
            if (change.id == id && change.time <= time) value = change.value;
        return value;
    }
};

inline VcdDump readVcd(const std::string& text) {
    VcdDump dump;
    std::istringstream in(text);
    std::string token;
    std::int64_t time = 0;
    const auto until = [&in](const std::string& end) {
        std::vector<std::string> words;
        std::string word;
        while (in >> word && word != end)
            words.push_back(word);
        return words;
    };
    while (in >> token) {
        if (token == "$timescale") {
            for (const std::string& word : until("$end"))
                dump.timescale += word;
        } else if (token == "$var") {
            const std::vector<std::string> words = until("$end");
            if (words.size() < 4) continue;
            VcdDump::Variable variable{words[3], std::stoi(words[1]),
                                       words.size() > 4 ? words[4] : std::string()};
            dump.variables[words[2]] = variable;
            dump.order.push_back(words[2]);
        } else if (token == "$dumpvars" || token == "$end" || token == "$enddefinitions" ||
                   token == "$scope" || token == "$upscope") {
            if (token == "$scope" || token == "$upscope" || token == "$enddefinitions")
                until("$end");
        } else if (token[0] == '$') {
            until("$end");
        } else if (token[0] == '#') {
            time = std::stoll(token.substr(1));
            dump.lastTime = time;
        } else if (token[0] == 'b' || token[0] == 'B') {
            std::string id;
            in >> id;
            dump.changes.push_back(
                {time, id, static_cast<std::uint32_t>(std::stoul(token.substr(1), nullptr, 2))});
        } else if (token[0] == '0' || token[0] == '1') {
            dump.changes.push_back(
                {time, token.substr(1), static_cast<std::uint32_t>(token[0] - '0')});
        }
    }
    return dump;
}
