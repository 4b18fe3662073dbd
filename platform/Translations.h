#pragma once

class QApplication;

namespace platform {
// Qt's own texts (context menus, window menus) in Chinese, where installed,
// in the session's script.
void installTranslations(QApplication &app);
} // namespace platform
