#pragma once

class QIcon;

namespace platform {
// The program icon, made once and shared by every window.
const QIcon &appIcon();
} // namespace platform
