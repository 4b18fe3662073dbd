#pragma once
#include <QDialog>
#include <QPixmap>

class QLabel;
class QPushButton;

// The About box: title, version, a word on the divination arts and a
// warning verse over the globe, with a button that closes it and one that
// starts the system's own system-information tool. Each opening makes a
// new box, modal and owned by the main window.
class FrmAbout1 : public QDialog
{
    Q_OBJECT
public:
    explicit FrmAbout1(QWidget *owner);

    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;
    QLabel *lblDisclaimer = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDescription = nullptr;

    // Finds the system-information tool through the registry and starts it;
    // says "此时系统信息无效" when it cannot. The box stays open.
    void StartSysInfo();

    // Reads the value `valueName` of the key `keyPath` under `root` as text
    // into `received`. A text value is taken as it is (without its
    // terminating NUL), a 32-bit number in decimal; a value of any other
    // type leaves `received` as it was. False, with `received` emptied,
    // when the key cannot be opened or the value cannot be read.
    static bool GetKeyValue(quint32 root, const QString &keyPath, const QString &valueName, QString &received);

    static QString descriptionText();
    static QString disclaimerText();

    void cmdOK_Click();
    void cmdSysInfo_Click();

    QPixmap background() const { return background_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    friend class TestAbout;
    void Form_Load();

    QPixmap background_;
};
