// The program Q745.
#include <QStringList>
#include <memory>

#include "shell/Application.h"
#include "platform/CupsPrintSpooler.h"
#include "shell/MessageBox.h"
#include "shell/Program.h"
#include "core/ScriptedMessages.h"
#include "device/LibraryDriverApi.h"

int main(int argc, char** argv) {
    TApplication application(argc, argv);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();

    // Tests of the whole program answer the message boxes from a script.
    std::unique_ptr<ScriptedMessages> script = ScriptedMessages::fromEnvironment();
    std::unique_ptr<ScopedMessageResponder> responder;
    if (script) responder = std::make_unique<ScopedMessageResponder>(*script);

    LibraryDriverApi driver;
    CupsPrintSpooler spooler;
    Program::Platform platform{driver, spooler};
    if (const QByteArray server = qgetenv("Q745_UPDATE_SERVER"); !server.isEmpty())
        platform.updateServer = server.toStdString();
    platform.testLog = script.get();
    Program program(platform);
    return program.run(arguments);
}
