#include "Tools.h"

#include <stdlib.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <sstream>
#include <thread>

namespace e2e {

Milliseconds scaled(Milliseconds time) {
    static const double factor = [] {
        const char* text = std::getenv("Q745_E2E_TIME_SCALE");
        const double value = text ? std::atof(text) : 1.0;
        return value > 0 ? value : 1.0;
    }();
    return Milliseconds(static_cast<long long>(static_cast<double>(time.count()) * factor));
}

bool waitFor(const std::function<bool()>& condition, Milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + scaled(timeout);
    while (true) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(Milliseconds(20));
    }
}

std::unique_ptr<QProcess> startChild(const QString& program, const QStringList& arguments,
                                     const QProcessEnvironment& environment,
                                     const std::filesystem::path& outputFile,
                                     const std::function<void()>& beforeExec) {
    auto process = std::make_unique<QProcess>();
    process->setProgram(program);
    process->setArguments(arguments);
    process->setProcessEnvironment(environment);
    if (!outputFile.empty()) {
        process->setProcessChannelMode(QProcess::MergedChannels);
        process->setStandardOutputFile(QString::fromStdString(outputFile.string()),
                                       QIODevice::Append);
    }
    process->setStandardInputFile(QProcess::nullDevice());
    const pid_t parent = ::getpid();
    process->setChildProcessModifier([parent, beforeExec] {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        // The parent may have died before the line above took effect.
        if (::getppid() != parent) ::_exit(1);
        if (beforeExec) beforeExec();
    });
    process->start();
    if (!process->waitForStarted(static_cast<int>(scaled(Milliseconds(10000)).count())))
        throw Failure("cannot start " + program.toStdString() + ": " +
                      process->errorString().toStdString() +
                      " (scripts/setup.sh installs the end-to-end tools)");
    return process;
}

void endChild(QProcess& process, Milliseconds grace) {
    if (process.state() == QProcess::NotRunning) return;
    process.terminate();
    if (process.waitForFinished(static_cast<int>(grace.count()))) return;
    process.kill();
    process.waitForFinished(-1);
}

ToolResult runTool(const QString& display, const QString& tool, const QStringList& arguments,
                   Milliseconds timeout) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", display);
    const std::unique_ptr<QProcess> process = startChild(tool, arguments, environment, {});
    if (!process->waitForFinished(static_cast<int>(scaled(timeout).count()))) {
        process->kill();
        process->waitForFinished(-1);
        throw Failure(tool.toStdString() + " " + arguments.join(' ').toStdString() +
                      " did not end within " + std::to_string(scaled(timeout).count()) + " ms");
    }
    ToolResult result;
    result.exitCode = process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
    result.output = process->readAllStandardOutput().toStdString();
    return result;
}

ScratchFolder::ScratchFolder(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) throw Failure("cannot make a folder " + pattern);
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    if (kept_) return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string fileText(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

}  // namespace e2e
