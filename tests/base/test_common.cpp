// Messages, the log and the small common routines.
#include "base/Common.h"
#include "data/Globals.h"
#include "support/Rows.h"
#include "support/TestProgram.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

class TestCommon : public QObject
{
    Q_OBJECT

private slots:
    void messagesAreLoggedWithTheirAnswer();
    void logLineHeadAndFile();
    void roundOffAndNz();
};

void TestCommon::messagesAreLoggedWithTheirAnswer()
{
    const struct { int flags, answer; const char *logged; } cases[] = {
        {260, 7, "Marveno[YES-NO]本当に?[NO]"},         {48, 1, "Marveno[注意]本当に?"},
        {36, 6, "Marveno[問い合わせ]本当に?[YES]"},     {1, 2, "Marveno[OK-CANCEL]本当に?[CANCEL]"},
        {2, 5, "Marveno[ABORT-RETRY-IGNORE]本当に?[IGNORE]"}, {3, 2, "Marveno[YES-NO-CANCEL]本当に?[CANCEL]"},
        {5, 4, "Marveno[RETRY-CANCEL]本当に?[RETRY]"},  {16, 1, "Marveno[警告]本当に?"},
        {64, 1, "Marveno[情報]本当に?"},                {0, 1, "Marveno[OK]本当に?"},
        {4, 2, "Marveno[YES-NO]本当に?"}, // an answer not of the set is not named
    };
    for (const auto &c : cases) {
        TestProgram program;
        program.messages().queueAnswer(c.answer);
        QCOMPARE(MsgBoxEx(QStringLiteral("本当に?"), c.flags), c.answer);
        QCOMPARE(program.logLines().size(), 1);
        QCOMPARE(program.logLines().first().mid(23), QString::fromUtf8(c.logged));
    }

    TestProgram program;
    QString prompt = QStringLiteral("レジデータ登録に失敗しました。");
    QString title;
    MsgBoxEx(prompt, Msg::Exclamation, title);
    QCOMPARE(title, QStringLiteral("Marveno")); // the caller's empty caption is filled in
    QCOMPARE(program.logLines(), QStringList{"2024/04/01 09:15:02.47 Marveno[注意]レジデータ登録に失敗しました。"});
    // Without queued answers the default button answers: the second one here.
    QCOMPARE(MsgBoxEx(QStringLiteral("?"), Msg::YesNo | Msg::DefaultButton2), int(Msg::No));
}

void TestCommon::logLineHeadAndFile()
{
    const double now = 45383.0 + (9 * 3600 + 15 * 60 + 2) / 86400.0;
    QCOMPARE(LogLineHead(now, 33302.47), QStringLiteral("2024/04/01 09:15:02.47 "));
    // Hundredths round, so .999 of a second is written as 1.00 after the seconds.
    QCOMPARE(LogLineHead(now, 33302.999), QStringLiteral("2024/04/01 09:15:021.00 "));

    TestProgram program;
    WriteLog(QStringLiteral("一行目"));
    WriteLog(QStringLiteral("二行目"));
    QCOMPARE(QFileInfo(gLogPath).absoluteFilePath(), QFileInfo(program.path("test_common.log")).absoluteFilePath());
    QFile file(gLogPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.endsWith("\xe4\xba\x8c\xe8\xa1\x8c\xe7\x9b\xae\r\n")); // 二行目 in UTF-8
    QCOMPARE(bytes.count("\r\n"), 2);
    // A log that cannot be written loses the line and nothing else happens.
    gLogPath = program.path(QStringLiteral("no/such/folder/x.log"));
    WriteLog(QStringLiteral("lost"));
    QCOMPARE(MsgBoxEx(QStringLiteral("まだ動く"), Msg::OKOnly), int(Msg::OK));
}

void TestCommon::roundOffAndNz()
{
    // Modes: 1 truncates toward zero, 2 rounds away from zero, 3 and anything else half away from zero.
    const struct { const char *value; int mode, digits; const char *expected; } cases[] = {
        {"-2.5", 3, 0, "-3"},   {"2.41", 2, 1, "2.5"},   {"2.49", 1, 1, "2.4"},       {"2.45", 9, 1, "2.5"},
        {"2.4999", 3, 0, "2"},  {"1851", 2, 0, "1851"},  {"-1851.75", 1, 0, "-1851"}, {"1234", 3, -1, "1230"},
    };
    for (const auto &c : cases) {
        QCOMPARE(RoundOff(Variant(Rows::money(c.value)), c.mode, c.digits).toPlainText(), QString::fromLatin1(c.expected));
        QCOMPARE(RoundOff(Variant(QString::fromLatin1(c.value).toDouble()), c.mode, c.digits).toPlainText(), QString::fromLatin1(c.expected));
    }
    QCOMPARE(RoundOff(Variant::null(), 3, 0), Currency());
    QCOMPARE(Nz(Variant::null(), Variant(0)).toLong(), 0);
    QVERIFY(Nz(Variant(), Variant(5)).isEmpty()); // Empty is no Null
}

QTEST_GUILESS_MAIN(TestCommon)
#include "test_common.moc"
