#pragma once
// The conversion controller's way onto the window thread: a task handed over from any
// thread is queued there and run by the window's event loop, without waiting for it.

#include "conversion/conversion_controller.h"

namespace transcoda::gui {

// Must first be called on the window thread (the main window does so when it is made).
ConversionController::Post PostToWindowThread();

}  // namespace transcoda::gui
