#include "platform/Processes.h"

#include <gtest/gtest.h>

namespace {

struct SplitCase
{
    const char* line;
    QStringList argv;
};

// What a C program's main receives on Windows for each command line.
const SplitCase cases[] = {
    {R"("C:\Prog Files\a.exe" 47000 "Cockpit")", {R"(C:\Prog Files\a.exe)", "47000", "Cockpit"}},
    {R"(C:\a\b.exe x)", {R"(C:\a\b.exe)", "x"}},
    {R"("C:\dir\"b.exe x)", {R"(C:\dir\b.exe)", "x"}}, // program token: backslash before quote is plain
    {R"("a.exe" "" "")", {"a.exe", "", ""}},           // empty quoted arguments survive
    {"\"a.exe\"  x\t\ty  ", {"a.exe", "x", "y"}},      // runs of blanks and tabs, trailing blanks
    {R"(a.exe "b c" d)", {"a.exe", "b c", "d"}},
    {R"(a.exe a\\b c\d)", {"a.exe", R"(a\\b)", R"(c\d)"}}, // backslashes alone are literal
    {R"(a.exe a\"b)", {"a.exe", R"(a"b)"}},                // odd run before a quote: literal quote
    {R"(a.exe a\\"b c")", {"a.exe", R"(a\b c)"}},          // even run: half, quote opens
    {R"(a.exe a\\\"b)", {"a.exe", R"(a\"b)"}},
    {R"(a.exe "a""b" c)", {"a.exe", R"(a"b)", "c"}}, // "" inside quotes: one quote, still quoted
    {R"(a.exe "a"" b")", {"a.exe", R"(a" b)"}},
    {R"(a.exe a""b)", {"a.exe", "ab"}}, // "" outside quotes opens and closes
    {R"(a.exe "unclosed arg)", {"a.exe", "unclosed arg"}},
    {R"(a.exe x"y z"w)", {"a.exe", "xy zw"}},
    {R"(a.exe "C:\dir\\" next)", {"a.exe", R"(C:\dir\)", "next"}},
    {R"(a.exe "-w" "-h 600" )", {"a.exe", "-w", "-h 600"}},
    {"", {""}},
};

} // namespace

TEST(WindowsCommandLine, SplitsLikeTheCRuntime)
{
    for (const SplitCase& c : cases)
        EXPECT_EQ(splitWindowsCommandLine(QString::fromUtf8(c.line)), c.argv) << c.line;
}
