// One program for the seven helper tools; what it does depends on the name it is run
// under.

#include <string>
#include <vector>

#include "dvd_author.h"
#include "engine.h"
#include "exec/tool_names.h"
#include "ffmpeg_style.h"
#include "mencoder_style.h"
#include "player.h"

int main(int argc, char** argv) {
    helpers::DieWithFrontEnd();
    std::string self = argc > 0 ? argv[0] : "";
    size_t slash = self.find_last_of('/');
    std::string name = slash == std::string::npos ? self : self.substr(slash + 1);
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    helpers::InstallStopHandlers();

    using namespace transcoda;
    if (name == utilitymff || name == utilitymffx || name == utilitymff3) return helpers::RunFfmpegStyleTool(name, args);
    if (name == utilitymen || name == utilitymen2) return helpers::RunMencoderStyleTool(name, args);
    if (name == utilitympl) return helpers::RunPlayerTool(name, args);
    if (name == utilityoth) return helpers::RunDvdTool(name, args);
    helpers::WriteAll(2, name + ": run this program under one of the helper tool names\n");
    return 2;
}
