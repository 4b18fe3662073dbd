#pragma once
#include <QDialog>

class FrmAbout1 : public QDialog
{
    Q_OBJECT
public:
    explicit FrmAbout1(QWidget *owner);
};
