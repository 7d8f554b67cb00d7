// --help and --version: answered and done before the player starts anything. Only either
// option alone counts; any other command line names what to play, as it always has (a file
// called "--help" is given as "./--help").
#pragma once

#include <QString>
#include <QStringList>

namespace InfoOption {

enum class Asked
{
    Nothing,
    Help,
    Version
};

// What the arguments after the program's name ask for.
Asked asked(const QStringList& arguments);

// What to print for it, ending in a newline; "" for Nothing.
QString text(Asked what);

} // namespace InfoOption
