#pragma once

// Tells assistive technology that the program's picture widgets (the pieces
// and the emblem) are pictures, not empty panes.
namespace platform {
void installAccessibleRoles();
}
