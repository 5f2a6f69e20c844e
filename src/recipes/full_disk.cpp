#include "recipes/full_disk.h"

#include <sys/statvfs.h>

#include "exec/app_state.h"
#include "exec/language.h"

namespace transcoda {

bool RanOutOfRoom(const StepOutcome& step, const std::string& folder) {
    // The tools say it with the system's own words for ENOSPC and EDQUOT.
    for (const std::string& line : step.Tool.LastLines)
        if (line.find("No space left on device") != std::string::npos ||
            line.find("Disk quota exceeded") != std::string::npos)
            return true;
    // A tool ended by a signal (e.g. for a file too large), or never started, did not
    // fill the disk.
    if (step.Tool.Ending != ToolOutcome::End::Exited || folder.empty()) return false;
    struct statvfs room {};
    if (::statvfs(folder.c_str(), &room) != 0) return false;
    return static_cast<unsigned long long>(room.f_bavail) * room.f_frsize < kFullDiskBytes;
}

std::string FullDiskText(StepKind step, const std::string& folder) {
    if (App().English())
        return "at the step \"" + StepName(step) + "\": the disk that holds the folder \"" + folder +
               "\" is full; make room there or choose another folder";
    return "à l'étape « " + StepName(step) + " » : le disque qui contient le dossier \"" + folder +
           "\" est plein ; libérez de la place ou choisissez un autre dossier";
}

}  // namespace transcoda
