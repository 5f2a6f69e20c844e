#include "platform/command_line.h"

#include <gtest/gtest.h>

namespace transcoda {
namespace {

using Args = std::vector<std::string>;

struct SplitCase {
    const char* line;
    Args expected;
};

TEST(SplitCommandLine, FollowsTheRulesForQuotedArguments) {
    const SplitCase cases[] = {
        {"/opt/t/B/utilitymff3.exe -i \"/in/my clip.avi\" -y \"/out/a.mpeg\"",
         {"/opt/t/B/utilitymff3.exe", "-i", "/in/my clip.avi", "-y", "/out/a.mpeg"}},
        // A template that begins with a blank leaves two blanks after the tool.
        {"/t  -i \"a\"", {"/t", "-i", "a"}},
        {"/t \"\"", {"/t", ""}},
        {"/t a\\b\\c", {"/t", "a\\b\\c"}},
        {"/t \"a\\\\\" b", {"/t", "a\\", "b"}},
        {"/t \"a\\\"b\"", {"/t", "a\"b"}},
        {"/t \"a\"\"b\"", {"/t", "a\"b"}},
        {"/t a\"b c\"d", {"/t", "ab cd"}},
        {"/t\t-x\t\t-y  ", {"/t", "-x", "-y"}},
        {"\"/opt/my tools/t\" -x", {"/opt/my tools/t", "-x"}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.expected) << c.line;
}

TEST(Q, GivesEveryTextBackExactly) {
    const char* texts[] = {"/home/u/clip.avi", "with space", "", "quote\"inside", "end\\",
                           "end\\\\", "\\\"", "\"-y\" \"/etc/passwd", "tab\there", "a\\b\"c\\\\\"d"};
    for (const char* t : texts) {
        const Args args = SplitCommandLine("/tool -i " + Q(t) + " -y");
        ASSERT_EQ(args.size(), 4u) << t;
        EXPECT_EQ(args[2], t);
        EXPECT_EQ(args[3], "-y");
    }
}

TEST(Q, IsPlainQuotingForOrdinaryPaths) {
    EXPECT_EQ(Q("/home/u/My Videos/film.avi"), "\"/home/u/My Videos/film.avi\"");
    EXPECT_EQ(Q("C:\\Videos\\film.avi"), "\"C:\\Videos\\film.avi\"");
}

}  // namespace
}  // namespace transcoda
