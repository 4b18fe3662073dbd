#include "Fmulu.h"

Fmulu::Fmulu(QWidget *parent) : QWidget(parent) { setWindowTitle(QStringLiteral("目录")); }
void Fmulu::Form_Load() {}
