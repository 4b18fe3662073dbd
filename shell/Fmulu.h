#pragma once
#include <QWidget>

// The home panel (minimal first version; to be completed).
class Fmulu : public QWidget
{
    Q_OBJECT
public:
    explicit Fmulu(QWidget *parent = nullptr);
    void Form_Load();
};
