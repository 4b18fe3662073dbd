#include "FormTimer.h"

FormTimer::FormTimer(QObject *parent) : QObject(parent)
{
    connect(&timer_, &QTimer::timeout, this, &FormTimer::Timer);
}

void FormTimer::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    apply();
}

void FormTimer::setInterval(int milliseconds)
{
    interval_ = qMax(0, milliseconds);
    apply();
}

void FormTimer::apply()
{
    if (enabled_ && interval_ > 0)
        timer_.start(interval_);
    else
        timer_.stop();
}
