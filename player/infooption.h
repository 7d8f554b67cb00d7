// --help (-h) and --version: answered and done before the player starts anything. Only an
// option alone counts; any other command line names what to play, as it always has (a file
// called "--help" is given as "./--help"). Any other option alone is a mistake, told before a
// window opens.
#pragma once

#include <QString>
#include <QStringList>

namespace InfoOption {

enum class Asked
{
    Nothing,
    Help,
    Version,
    Unknown
};

// What the arguments after the program's name ask for.
Asked asked(const QStringList& arguments);

// What to print for it, ending in a newline; "" for Nothing.
QString text(Asked what);

// The exit status for it: 2 for an unknown option, as other command-line programs give.
int exitCode(Asked what);

} // namespace InfoOption
