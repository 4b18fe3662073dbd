#pragma once
#include <QDialog>
#include <QPixmap>

class QLabel;
class QPushButton;

// The About box: title, version, a word on the divination arts and a
// warning verse over the globe, with a button that closes it and one that
// starts the system's own system-information tool. Each opening makes a
// new box, modal and owned by the main window.
class AboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit AboutBox(QWidget *owner);

    // Finds the system-information tool through the registry and starts it;
    // says "此时系统信息无效" when it cannot. The box stays open.
    void startSystemInformation();

    static QString descriptionText();
    static QString disclaimerText();

    // The picture painted behind the labels, from the top-left corner.
    QPixmap background() const { return background_; }
    void setBackground(const QPixmap &picture);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void loadContents();

    QPushButton *okButton_ = nullptr;
    QPushButton *systemInfoButton_ = nullptr;
    QLabel *disclaimerLabel_ = nullptr;
    QLabel *titleLabel_ = nullptr;
    QLabel *versionLabel_ = nullptr;
    QLabel *descriptionLabel_ = nullptr;
    QPixmap background_;
};
