#include "conversion/item_counter.h"

namespace transcoda {

std::string ItemCounterText(int item, int count) {
    return "(" + std::to_string(item) + "/" + std::to_string(count) + ")";
}

}  // namespace transcoda
