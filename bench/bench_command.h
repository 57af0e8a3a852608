#pragma once
// The bench's commands register themselves by name; main() picks one from the
// first argument. Each command makes its own application object.
#include <QStringList>
#include <functional>

namespace uriage::bench {

using Command = std::function<int(int& argc, char** argv, const QStringList& arguments)>;

struct CommandRegistrar {
    CommandRegistrar(const char* name, Command command);
};

} // namespace uriage::bench
