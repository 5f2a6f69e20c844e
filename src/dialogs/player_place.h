#pragma once
// Where the preview player opens: beside the sync dialog, never over it, so that its
// Stop and accept buttons stay in sight while the clip plays.

#include <QRect>
#include <string>

namespace transcoda {

// The largest part of screenArea right of, below, left of or above dialogFrame (in that
// order when two are as large), with a gap between it and the dialog. An empty
// rectangle when no part holds even a small player.
QRect PlayerArea(const QRect& dialogFrame, const QRect& screenArea);

// The player's window inside area: its title bar and border included, "WxH+X+Y" of the
// picture, as the player tool takes it. Empty for an empty area.
std::string PlayerAreaText(const QRect& area);

}  // namespace transcoda
