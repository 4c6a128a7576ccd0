#pragma once

#include <QString>
#include <QStringList>

// What the command line asks of the program.
namespace app {

struct CommandLine
{
    enum class Request { Run, Help, Version, Refused };

    Request request = Request::Run;
    // Run: the working folder given, empty when none was.
    QString folder;
    // Refused: why, in French.
    QString refusal;
};

// Reads the arguments that follow the program's name.
// {"--help"} -> Help; {"Textes"} -> Run in "Textes"; {"--", "-x"} -> Run in "-x"
CommandLine readCommandLine(const QStringList &arguments);

// The answers to --help and --version, each ending with a line end.
QString helpText();
QString versionText();

} // namespace app
