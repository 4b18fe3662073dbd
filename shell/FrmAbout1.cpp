#include "FrmAbout1.h"

FrmAbout1::FrmAbout1(QWidget *owner) : QDialog(owner) {}
