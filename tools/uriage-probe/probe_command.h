#pragma once
// A probe command: takes its arguments (after the command name), prints JSON
// on stdout and returns the exit code (2 for usage errors).
#include <QStringList>

namespace uriage::probe {

using CommandFunction = int (*)(const QStringList& arguments);

struct CommandRegistrar {
    CommandRegistrar(const char* name, CommandFunction function);
};

} // namespace uriage::probe
