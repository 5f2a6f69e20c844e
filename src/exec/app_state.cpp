#include "exec/app_state.h"

namespace transcoda {

AppState& App() {
    static AppState state;
    return state;
}

void AttachWindow(WindowPort* window) { App().Window = window; }

}  // namespace transcoda
