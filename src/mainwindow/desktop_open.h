#pragma once
// A folder or a web page handed to the desktop. When the desktop has nothing to open it
// with, the user is told so, with the folder or the address to open by other means.

#include <QString>
#include <QUrl>
#include <functional>

namespace transcoda::gui {

// False when the desktop could not open `url`; `tell` has then shown why.
bool OpenOnDesktop(const QUrl& url, const std::function<void(const QString&)>& tell);

}  // namespace transcoda::gui
