#pragma once
#include <QString>

namespace texts {
QString welcomeText(); // shown when the window opens
QString computerEtiquette(); // shown on entering the computer mode
QString woodenEtiquette(); // shown on entering the wooden mode
} // namespace texts
