// The exit statuses the window and the renderer share, so a script reads both alike.
// Constants only.
#pragma once

namespace mandalix {

// Exit status of a command line that cannot be used.
inline constexpr int kExitUsage = 2;

} // namespace mandalix
