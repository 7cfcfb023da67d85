// The check that typed text must pass before it reaches a statement, and
// the trimming of typed text.
#include <QTest>

#include "TestSupport.h"
#include "store/InputText.h"

class TestInputText : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { testsupport::ResetTestHooks(); }
    void cleanup() { testsupport::ResetTestHooks(); }

    void everyRejectedCharacterIsRefusedAnywhere_data();
    void everyRejectedCharacterIsRefusedAnywhere();
    void texts_data();
    void texts();
    void trimming_data();
    void trimming();
};

void TestInputText::everyRejectedCharacterIsRefusedAnywhere_data() {
    QTest::addColumn<QChar>("character");
    const QString rejected = QStringLiteral("'\"&*-=!#$[]?%+\\|@_~`(){}<>.;^:,");
    QCOMPARE(rejected.size(), 31);
    for (const QChar ch : rejected) {
        QTest::newRow(qPrintable(QStringLiteral("U+%1").arg(ch.unicode(), 4, 16, QLatin1Char('0'))))
            << ch;
    }
}

void TestInputText::everyRejectedCharacterIsRefusedAnywhere() {
    QFETCH(QChar, character);
    QVERIFY(!IsCleanInputText(QString(character)));
    QVERIFY(!IsCleanInputText(character + QStringLiteral("abc")));
    QVERIFY(!IsCleanInputText(QStringLiteral("αβγ") + character + QStringLiteral("δ")));
    QVERIFY(!IsCleanInputText(QStringLiteral("12/3/2010") + character));
}

void TestInputText::texts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("clean");
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("slash date") << QStringLiteral("12/3/2010") << true;
    QTest::newRow("dotted date") << QStringLiteral("12.3.2010") << false;
    QTest::newRow("hyphen date") << QStringLiteral("12-3-2010") << false;
    QTest::newRow("quote inside") << QStringLiteral("O'Brien") << false;
    QTest::newRow("greek words") << QStringLiteral("Καλημέρα κόσμε") << true;
    QTest::newRow("greek sentence ending in a semicolon") << QStringLiteral("Τι;") << false;
    QTest::newRow("greek question mark U+037E") << QStringLiteral("Τι\u037e") << false;
    QTest::newRow("greek varia U+1FEF") << QStringLiteral("a\u1fefb") << false;
    QTest::newRow("greek ano teleia U+0387") << QStringLiteral("α\u0387β") << true;
    QTest::newRow("equals sign under a combining long solidus")
        << QStringLiteral("a=\u0338b") << false;
    QTest::newRow("accented greek capitals") << QStringLiteral("ΆΈΉΊΌΎΏ ΪΫ") << true;
    QTest::newRow("latin and digits") << QStringLiteral("Password 2026") << true;
    QTest::newRow("tab and blanks") << QStringLiteral(" \tabc ") << true;
    QTest::newRow("sql injection") << QStringLiteral("x' OR 1=1") << false;
    QTest::newRow("slash only") << QStringLiteral("/") << true;
}

void TestInputText::texts() {
    QFETCH(QString, text);
    QFETCH(bool, clean);
    QCOMPARE(IsCleanInputText(text), clean);
}

void TestInputText::trimming_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");
    QTest::newRow("none") << QStringLiteral("abc") << QStringLiteral("abc");
    QTest::newRow("blanks") << QStringLiteral("  abc  ") << QStringLiteral("abc");
    QTest::newRow("inner blanks stay") << QStringLiteral(" a b  c ") << QStringLiteral("a b  c");
    QTest::newRow("control characters") << QStringLiteral("\t\r\n\x01x\x1f") << QStringLiteral("x");
    QTest::newRow("only blanks") << QStringLiteral(" \t ") << QString();
    QTest::newRow("non-breaking space stays")
        << QStringLiteral("\u00a0x\u00a0") << QStringLiteral("\u00a0x\u00a0");
    QTest::newRow("greek") << QStringLiteral(" Κωδικός ") << QStringLiteral("Κωδικός");
}

void TestInputText::trimming() {
    QFETCH(QString, text);
    QFETCH(QString, trimmed);
    QCOMPARE(TrimInputText(text), trimmed);
}

QTEST_MAIN(TestInputText)
#include "tst_inputtext.moc"
