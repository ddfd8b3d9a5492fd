#include <QtTest>

class Test : public QObject
{
    Q_OBJECT
};

QTEST_GUILESS_MAIN(Test)
#include "tst_text_file.moc"
