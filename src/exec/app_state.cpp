#include "exec/app_state.h"

namespace transcoda {

AppState& App() {
    static AppState state;
    return state;
}

}  // namespace transcoda
