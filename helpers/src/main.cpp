// One program for the seven helper tools; what it does depends on the name it is run
// under.

#include <unistd.h>

#include <cctype>
#include <string>
#include <vector>

#include "dvd_author.h"
#include "engine.h"
#include "exec/tool_names.h"
#include "ffmpeg_style.h"
#include "mencoder_style.h"
#include "player.h"

namespace {

// "--version" alone: the engine the tool runs and its version, as "ffmpeg 5.1.6", on one
// line (the program's --version gathers them). Exit status 127 when the engine is missing.
int ShowEngineVersion(const std::string& name) {
    using namespace transcoda;
    std::vector<std::string> argv = {"ffmpeg", "-version"};
    if (name == utilitympl) argv = {"mpv", "--version"};
    // dvdauthor has no version option: its usage, on standard error, begins with it.
    if (name == utilityoth) argv = {"dvdauthor", "-h"};
    std::string text;
    helpers::EngineOptions options;
    options.out = options.err = helpers::Stream::Capture;
    options.onOut = options.onErr = [&text](const char* data, size_t size) { text.append(data, size); };
    const int status = helpers::RunEngine(argv, options);
    if (status == 127) return status;
    // The word after "version " (dvdauthor's usage, on the other stream, may come before
    // or after its version line), else the first word that begins with a digit, without
    // a closing ".".
    std::string version;
    const size_t named = text.find("version ");
    for (size_t i = named == std::string::npos ? 0 : named + 8; i < text.size() && version.empty(); ++i) {
        const bool wordStart = i == 0 || text[i - 1] == ' ' || text[i - 1] == '\n';
        if (!wordStart || !std::isdigit(static_cast<unsigned char>(text[i]))) continue;
        version = text.substr(i, text.find_first_of(" \n", i) - i);
        while (!version.empty() && (version.back() == '.' || version.back() == ',')) version.pop_back();
    }
    const std::string line = text.substr(0, text.find('\n'));
    helpers::WriteAll(1, argv.front() + " " + (version.empty() ? line : version) + "\n");
    return 0;
}

int RunAs(const std::string& name, const std::vector<std::string>& args) {
    using namespace transcoda;
    if (args == std::vector<std::string>{"--version"}) return ShowEngineVersion(name);
    if (name == utilitymff || name == utilitymffx || name == utilitymff3) return helpers::RunFfmpegStyleTool(name, args);
    if (name == utilitymen || name == utilitymen2) return helpers::RunMencoderStyleTool(name, args);
    if (name == utilitympl) return helpers::RunPlayerTool(name, args);
    if (name == utilityoth) return helpers::RunDvdTool(name, args);
    helpers::WriteAll(2, name + ": run this program under one of the helper tool names\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    helpers::DieWithFrontEnd();
    std::string self = argc > 0 ? argv[0] : "";
    size_t slash = self.find_last_of('/');
    std::string name = slash == std::string::npos ? self : self.substr(slash + 1);
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    helpers::InstallStopHandlers();

    // Everything a tool says is written unbuffered and every file it writes is closed
    // when its run returns: it then ends at once, without the exit handlers of the
    // engine's hundred-odd libraries loaded for its read-back (over 15 ms), nor waiting
    // for a loading of them that an engine's failure left unused.
    _exit(RunAs(name, args));
}
