#pragma once

#include "workspace/result.h"

#include <QString>
#include <QStringList>

// What the command line asks of the program.
namespace app {

struct CommandLine
{
    enum class Request { Run, Help, Version };

    Request request = Request::Run;
    // Run: the working folder given, empty when none was.
    QString folder;
};

// Reads the arguments that follow the program's name, or refuses them, saying
// why in French.
// {"--help"} -> Help; {"Textes"} -> Run in "Textes"; {"--", "-x"} -> Run in "-x";
// {"--x"} -> "Option inconnue : « --x »."
workspace::Result<CommandLine> readCommandLine(const QStringList &arguments);

// The answers to --help and --version, each ending with a line end.
QString helpText();
QString versionText();

} // namespace app
