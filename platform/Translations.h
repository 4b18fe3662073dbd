#pragma once

class QApplication;

namespace platform {
// Qt's own texts (context menus, window menus) in Chinese, where installed.
void installTranslations(QApplication &app);
}
