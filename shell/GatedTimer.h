#pragma once
#include <QObject>
#include <QTimer>

// A timer with two settings: it ticks only while it is enabled and its
// interval is above zero. Changing either
// setting while it ticks starts the countdown afresh.
class GatedTimer : public QObject
{
    Q_OBJECT
public:
    explicit GatedTimer(QObject *parent = nullptr);

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    int interval() const { return interval_; }
    void setInterval(int milliseconds);

signals:
    void timeout();

private:
    void apply();

    QTimer timer_;
    bool enabled_ = true;
    int interval_ = 0;
};
