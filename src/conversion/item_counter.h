#pragma once

#include <string>

namespace transcoda {

// "(item/count)", the counter appended to the progress texts while a list runs.
std::string ItemCounterText(int item, int count);

}  // namespace transcoda
