// The tools' command lines: which command runs, with which options, and the
// exit codes of unusable command lines.
#include "tool_command.h"

#include <gtest/gtest.h>

namespace uriage::tools {
namespace {

// What the last run of the test command saw.
struct Seen {
    bool ran = false;
    QString dir;
    QStringList marks;
    bool force = false;
    QStringList files;
} seen;

int testCommand(const CommandLine& line)
{
    seen = {true, line.value("dir"), line.values("mark"), line.isSet("force"), line.positionalArguments()};
    if (seen.dir.isEmpty())
        return line.usageError("--dir is required");
    return 7;
}

const CommandRegistrar registrar({
    "copy",
    "Copies.",
    {{"dir", "Where to.", "DIR"}, {"mark", "A mark.", "TEXT"}, {"force", "Overwrite."}},
    {{"FILE", "What to copy."}},
    testCommand,
});

struct Case {
    QStringList arguments;   // after the program
    int exitCode;
    bool ran;
    QString dir = {};
    QStringList marks = {};
    bool force = false;
    QStringList files = {};
};

TEST(ToolCommand, RunsTheNamedCommandOnItsOptions)
{
    const Case cases[] = {
        {{"copy", "--dir", "d", "f.csv"}, 7, true, "d", {}, false, {"f.csv"}},
        {{"copy", "f.csv", "--force", "--dir=d"}, 7, true, "d", {}, true, {"f.csv"}},
        {{"copy", "--dir", "-starts-with-a-dash"}, 7, true, "-starts-with-a-dash"},
        {{"copy", "--dir", "", "--dir", "last"}, 7, true, "last"},
        {{"copy", "--dir", "d", "--mark", "a", "--mark", "b"}, 7, true, "d", {"a", "b"}},
        {{"copy", "--mark", "a"}, kUsageExitCode, true, "", {"a"}},   // the command's own check
        {{"copy", "--help"}, 0, false},
        {{"copy", "--help-all"}, 0, false},
        {{"copy", "--dir"}, kUsageExitCode, false},                  // a value missing
        {{"copy", "--dir", "d", "--colour", "red"}, kUsageExitCode, false},
        {{"copy", "--dir", "d", "one", "two"}, kUsageExitCode, false},
        {{"paste", "--dir", "d"}, kUsageExitCode, false},
        {{}, kUsageExitCode, false},
        {{"--help"}, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        seen = {};
        EXPECT_EQ(runTool("tool", QStringList{"tool"} + c.arguments), c.exitCode);
        EXPECT_EQ(seen.ran, c.ran);
        if (!c.ran)
            continue;
        EXPECT_EQ(seen.dir, c.dir);
        EXPECT_EQ(seen.marks, c.marks);
        EXPECT_EQ(seen.force, c.force);
        EXPECT_EQ(seen.files, c.files);
    }
}

} // namespace
} // namespace uriage::tools
