#pragma once
// Diagnostic log lines. Each writes only in DebugMode and only through the window port.

#include <string>

namespace transcoda {

// "** " + stamp + message.
void LogEvent(const std::string& message);
// ">> " + stamp + message.
void LogError(const std::string& message);
// The line as it stands, without a stamp.
void LogPlain(const std::string& line);

}  // namespace transcoda
