#include "RealProgram.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <cstdio>
#include <exception>
#include <regex>
#include <sstream>

namespace e2e {

namespace {

constexpr Milliseconds Grace(3000);
constexpr std::size_t OutputTail = 4000;

}  // namespace

// ---------------------------------------------------------------- Installation

Installation::Installation(bool seeded) {
    std::filesystem::permissions(markers(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);
    if (!seeded) return;
    const std::filesystem::path defaults = Q745_DEFAULT_FILES;
    if (!std::filesystem::is_directory(defaults))
        throw Failure("no files of a new installation in " + defaults.string() +
                      " (the build makes them)");
    for (const auto& entry : std::filesystem::directory_iterator(defaults))
        if (entry.is_regular_file())
            std::filesystem::copy_file(entry.path(), data() / entry.path().filename());
}

Installation::~Installation() {
    if (!::testing::Test::HasFailure() && std::uncaught_exceptions() == 0) return;
    data_.keep();
    markers_.keep();
    logs_.keep();
    std::fprintf(stderr, "the failed test's data folder: %s, logs: %s\n", data().c_str(),
                 logs().c_str());
}

std::string Installation::fileText(const std::string& name) const {
    return e2e::fileText(data() / name);
}

std::filesystem::file_time_type Installation::modified(const std::string& name) const {
    std::error_code error;
    const auto time = std::filesystem::last_write_time(data() / name, error);
    return error ? std::filesystem::file_time_type::min() : time;
}

bool Installation::lockHeld(const std::string& name) const {
    const int fd = ::open((markers() / name).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

// ---------------------------------------------------------------- InstrumentLog

std::vector<QJsonObject> InstrumentLog::eventsNamed(const QString& name) const {
    std::vector<QJsonObject> found;
    for (const QJsonObject& event : events)
        if (event.value("event").toString() == name) found.push_back(event);
    return found;
}

QJsonObject InstrumentLog::instrument(int index) const {
    return finalState.value("instruments").toArray().at(index).toObject();
}

// ---------------------------------------------------------------- RealProgram

std::string InstrumentLog::checksum(const std::uint8_t* data, std::size_t count) {
    std::uint32_t hash = 2166136261u;
    for (std::size_t k = 0; k < count; ++k) {
        hash ^= data[k];
        hash *= 16777619u;
    }
    char text[9];
    std::snprintf(text, sizeof text, "%08x", hash);
    return text;
}

std::string settingValue(const std::string& settingsText, const std::string& key) {
    const std::regex line("(^|\n)" + key + " = ([^\r\n]*)");
    std::smatch found;
    return std::regex_search(settingsText, found, line) ? found[2].str() : std::string();
}

RealProgram::RealProgram(const Desktop& desktop, const Installation& installation)
    : RealProgram(desktop, installation, Options{}) {}

RealProgram::RealProgram(const Desktop& desktop, const Installation& installation, Options options)
    : desktop_(desktop) {
    const std::string run = std::to_string(installation.nextRun());
    instrumentLog_ = installation.logs() / ("instrument-" + run + ".jsonl");
    outputFile_ = installation.logs() / ("program-" + run + ".log");
    const std::filesystem::path home = installation.logs() / "home";
    std::filesystem::create_directories(home);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"WAYLAND_DISPLAY", "Q745_TEST_LOG", "Q745_TEST_ANSWERS", "Q745_VIRTUAL_INSTRUMENT_BUS",
          "Q745_PORT_DRIVER", "Q745_USB_LIBRARY", "SESSION_MANAGER"})
        environment.remove(name);
    const auto path = [](const std::filesystem::path& p) { return QString::fromStdString(p); };
    environment.insert("DISPLAY", desktop.display());
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.insert("HOME", path(home));
    environment.insert("XDG_CONFIG_HOME", path(home / ".config"));
    environment.insert("XDG_RUNTIME_DIR", path(installation.markers()));
    environment.insert("Q745_VIRTUAL_INSTRUMENT", QString::fromStdString(options.instrument));
    environment.insert("Q745_VIRTUAL_INSTRUMENT_LOG", path(instrumentLog_));
    // Nothing leaves the machine unless a test names a server of its own.
    environment.insert("Q745_UPDATE_SERVER", "http://127.0.0.1:9");
    for (const auto& [name, value] : options.environment)
        environment.insert(QString::fromStdString(name), QString::fromStdString(value));

    QStringList arguments;
    for (const std::string& argument : options.arguments)
        arguments << QString::fromStdString(argument);
    // The data folder is the program's start directory.
    const std::string start = installation.data().string();
    process_ = startChild(Q745_PROGRAM, arguments, environment, outputFile_, [start] {
        if (::chdir(start.c_str()) != 0) ::_exit(126);
    });
}

RealProgram::~RealProgram() {
    if (process_ && process_->state() != QProcess::NotRunning) {
        process_->kill();
        process_->waitForFinished(static_cast<int>(Grace.count()));
    }
}

bool RealProgram::running() const {
    return process_->state() != QProcess::NotRunning;
}

bool RealProgram::endsWithin(Milliseconds timeout) {
    return !running() || process_->waitForFinished(static_cast<int>(scaled(timeout).count()));
}

int RealProgram::waitForExit(Milliseconds timeout) {
    if (!endsWithin(timeout))
        throw Failure("Q745 still runs " + std::to_string(scaled(timeout).count()) + " ms later; " +
                      desktop_.describeScreen() + describe());
    if (process_->exitStatus() != QProcess::NormalExit) throw Failure("Q745 crashed" + describe());
    return process_->exitCode();
}

int RealProgram::terminate(Milliseconds timeout) {
    if (running()) process_->terminate();
    return waitForExit(timeout);
}

std::string RealProgram::output() const {
    return e2e::fileText(outputFile_);
}

std::string RealProgram::describe() const {
    std::string text = output();
    if (text.size() > OutputTail) text = "..." + text.substr(text.size() - OutputTail);
    return "; its output: " + (text.empty() ? std::string("none") : "\n" + text);
}

InstrumentLog RealProgram::instrumentLog() const {
    InstrumentLog log;
    std::istringstream lines(e2e::fileText(instrumentLog_));
    for (std::string line; std::getline(lines, line);) {
        const QJsonObject event = QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
        if (event.value("event").toString() == "final")
            log.finalState = event.value("state").toObject();
        else if (!event.isEmpty())
            log.events.push_back(event);
    }
    return log;
}

}  // namespace e2e
