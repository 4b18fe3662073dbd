#include "pages/StoredText.h"

#include <QtTest>

class TestStoredText : public QObject
{
    Q_OBJECT
private slots:
    void gbkAvailable() { QVERIFY2(storedtext::gbkAvailable(), "Qt has no GBK codec"); }
};

QTEST_GUILESS_MAIN(TestStoredText)
#include "test_storedtext.moc"
