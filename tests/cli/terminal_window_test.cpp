// What the terminal shows: one progress line rewritten in place, messages and log lines
// on their own lines of the error stream, and one line per list item with its counter.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "cli/terminal_window.h"
#include "exec/app_state.h"

namespace transcoda::cli {
namespace {

std::string Contents(std::FILE* file) {
    std::fflush(file);
    std::rewind(file);
    std::string text;
    int c;
    while ((c = std::fgetc(file)) != EOF) text += static_cast<char>(c);
    return text;
}

// Each form of the progress line over the same calls: rewritten in place (a terminal,
// or a reader that redraws it), plain lines (a log: one per step, at most one a
// second, no "\r"), or nothing (JSON records on standard output).
TEST(TerminalWindow, ProgressLineMessagesAndListItems) {
    const std::string item = "(2/2) /in/b.avi -> /out/b.mp3\n";
    const struct {
        LineForm form;
        std::string out;
    } cases[] = {
        {LineForm::Rewrite, item + "\rConversion..."
                                   "\rConversion...  Progression : 12.35% (2/2)"
                                   "\rConversion...  Progression : 9.00% (2/2) "  // the shorter text covers the longer
                                   "\rConversion...  Progression : 9.00% (2/2)  écoulé 0 min 40 s — reste 1 min 20 s\n"
                                   "\rPrêt  Progression : 9.00% (2/2)\n"},
        {LineForm::Terminal, item + "\rConversion...\033[K"
                                    "\rConversion...  Progression : 12.35% (2/2)\033[K"
                                    "\rConversion...  Progression : 9.00% (2/2)\033[K"
                                    "\rConversion...  Progression : 9.00% (2/2)  écoulé 0 min 40 s — reste 1 min 20 s\033[K\n"
                                    "\rPrêt  Progression : 9.00% (2/2)\033[K\n"},
        // The calls come faster than one a second: the step's line and its first percent
        // only; "Prêt" says nothing.
        {LineForm::Plain, item + "Conversion...\nConversion...  Progression : 12.35% (2/2)\n"},
        {LineForm::Silent, ""},
    };
    for (const auto& c : cases) {
        std::FILE* out = std::tmpfile();
        std::FILE* err = std::tmpfile();
        ASSERT_TRUE(out && err);
        {
            TerminalWindow window(out, err);
            window.SetLineForm(c.form);
            ConversionQueue queue;
            queue.Add(" Video MPEG", "/in/a.avi", "/out/a.mpeg");
            const long long second = queue.Add(" Audio", "/in/b.avi", "/out/b.mp3");
            window.SetQueue(std::move(queue));

            window.ShowItem({second, {ItemStatus::State::Converting}});
            window.ShowItem({second, {ItemStatus::State::Converting, 12}});  // a percentage names nothing again
            window.ShowItem({99, {ItemStatus::State::Converting}});          // no such item
            window.ShowDisplay({.StatusText = "Conversion..."});
            window.ShowDisplay({.ProgressText = "Progression : 12.35% (2/2)", .Title = "12.35% (2/2)", .BarPosition = 12});
            window.ShowDisplay({.ProgressText = "Progression : 9.00% (2/2)"});
            window.ShowDisplay({.Title = "9.00% (2/2)", .BarPosition = 9});  // nothing to draw on a terminal
            window.ShowDisplay({.TimeText = "écoulé 0 min 40 s — reste 1 min 20 s"});
            window.ShowMessage("Le format cible n'est pas encore supporté");
            window.ShowFailure("La conversion a échoué", "ligne 1\nligne 2\n");
            window.ShowDisplay({.StatusText = "Prêt", .TimeText = ""});
            window.EndLine();
            EXPECT_EQ(window.LogStamp(">> ").substr(0, 3), ">> ");
            EXPECT_NE(window.LogStamp("** ").find(" à "), std::string::npos);
        }
        EXPECT_EQ(Contents(out), c.out) << static_cast<int>(c.form);
        EXPECT_EQ(Contents(err), "Le format cible n'est pas encore supporté\nLa conversion a échoué\n    ligne 1\n    ligne 2\n");
        std::fclose(out);
        std::fclose(err);
    }
}

}  // namespace
}  // namespace transcoda::cli
