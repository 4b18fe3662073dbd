#include "GatedTimer.h"

GatedTimer::GatedTimer(QObject *parent) : QObject(parent)
{
    connect(&timer_, &QTimer::timeout, this, &GatedTimer::timeout);
}

void GatedTimer::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    apply();
}

void GatedTimer::setInterval(int milliseconds)
{
    interval_ = qMax(0, milliseconds);
    apply();
}

void GatedTimer::apply()
{
    if (enabled_ && interval_ > 0)
        timer_.start(interval_);
    else
        timer_.stop();
}
