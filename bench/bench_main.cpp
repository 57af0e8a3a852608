// uriage-bench COMMAND [options]: one figure family per command (press, paint,
// startup, rss). Lines go to standard output as "name: value unit".
#include "bench_command.h"

#include <cstdio>
#include <map>
#include <string>

namespace uriage::bench {
namespace {

std::map<std::string, Command>& commands()
{
    static std::map<std::string, Command> all;
    return all;
}

} // namespace

CommandRegistrar::CommandRegistrar(const char* name, Command command) { commands()[name] = std::move(command); }

} // namespace uriage::bench

int main(int argc, char** argv)
{
    auto& all = uriage::bench::commands();
    if (argc < 2 || !all.count(argv[1])) {
        std::fprintf(stderr, "usage: uriage-bench COMMAND [options]; commands:");
        for (const auto& entry : all)
            std::fprintf(stderr, " %s", entry.first.c_str());
        std::fprintf(stderr, "\n");
        return 2;
    }
    QStringList arguments;
    for (int i = 2; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return all[argv[1]](argc, argv, arguments);
}
