#pragma once
#include "platform/MessageBox.h"

#include <QStringList>

namespace testsupport {

// Records every message box instead of showing it, while it lives.
struct MessageRecorder {
    MessageRecorder()
        : override_([this](const QString &title, const QString &text) {
              titles.append(title);
              texts.append(text);
          })
    { }
    QStringList titles;
    QStringList texts;

private:
    msgbox::Override override_;
};

} // namespace testsupport
