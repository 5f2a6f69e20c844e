#include "dialogs/preview_command.h"

#include "exec/tool_names.h"
#include "platform/command_line.h"
#include "recipes/sync_lag.h"

namespace transcoda {

std::string PreviewArguments(const std::string& file, const std::string& lag, const std::string& position) {
    std::string args = " " + Q(file);
    if (position != kStartPosition) args += " -ss " + position;
    if (!IsZeroLag(lag)) args += " -delay " + lag;
    return args;
}

std::string PreviewCommandLine(const std::string& helperFolder, const std::string& file,
                               const std::string& lag, const std::string& position) {
    return helperFolder + std::string(utilitympl) + " " + PreviewArguments(file, lag, position);
}

}  // namespace transcoda
