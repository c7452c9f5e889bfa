// Messages, the log and the small common routines.
#include "base/Common.h"
#include "data/Globals.h"
#include "support/TestProgram.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

class TestCommon : public QObject
{
    Q_OBJECT

private slots:
    void messageTags_data();
    void messageTags();
    void messageTitleAndLogLine();
    void logLineHead();
    void logFileIsUtf8WithCrLf();
    void roundOff_data();
    void roundOff();
    void nzReplacesOnlyNull();
};

void TestCommon::messageTags_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("logged");
    QTest::newRow("yes/no, second default, No") << 260 << 7 << "Marveno[YES-NO]本当に?[NO]";
    QTest::newRow("exclamation, OK") << 48 << 1 << "Marveno[注意]本当に?";
    QTest::newRow("question yes/no, Yes") << 36 << 6 << "Marveno[問い合わせ]本当に?[YES]";
    QTest::newRow("question yes/no, No") << 36 << 7 << "Marveno[問い合わせ]本当に?[NO]";
    QTest::newRow("ok/cancel, Cancel") << 1 << 2 << "Marveno[OK-CANCEL]本当に?[CANCEL]";
    QTest::newRow("abort/retry/ignore, Ignore") << 2 << 5 << "Marveno[ABORT-RETRY-IGNORE]本当に?[IGNORE]";
    QTest::newRow("yes/no/cancel, Cancel") << 3 << 2 << "Marveno[YES-NO-CANCEL]本当に?[CANCEL]";
    QTest::newRow("retry/cancel, Retry") << 5 << 4 << "Marveno[RETRY-CANCEL]本当に?[RETRY]";
    QTest::newRow("stop, OK only") << 16 << 1 << "Marveno[警告]本当に?";
    QTest::newRow("information, OK only") << 64 << 1 << "Marveno[情報]本当に?";
    QTest::newRow("plain OK") << 0 << 1 << "Marveno[OK]本当に?";
    QTest::newRow("answer not of the set") << 4 << 2 << "Marveno[YES-NO]本当に?";
}

void TestCommon::messageTags()
{
    QFETCH(int, flags);
    QFETCH(int, answer);
    QFETCH(QString, logged);
    TestProgram program;
    program.messages().queueAnswer(answer);
    QCOMPARE(MsgBoxEx(QStringLiteral("本当に?"), flags), answer);
    const QStringList lines = program.logLines();
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.first().mid(23), logged);
}

void TestCommon::messageTitleAndLogLine()
{
    TestProgram program;
    QString prompt = QStringLiteral("レジデータ登録に失敗しました。");
    QString title;
    MsgBoxEx(prompt, Msg::Exclamation, title);
    QCOMPARE(title, QStringLiteral("Marveno")); // the caller's empty caption is filled in
    QCOMPARE(program.messages().shown().first().title, QStringLiteral("Marveno"));
    QCOMPARE(program.logLines(), QStringList{"2024/04/01 09:15:02.47 Marveno[注意]レジデータ登録に失敗しました。"});

    // Without queued answers the default button answers: the second one here.
    QString own = QStringLiteral("日次集計");
    QCOMPARE(MsgBoxEx(prompt, Msg::YesNo | Msg::DefaultButton2, own), int(Msg::No));
    QCOMPARE(own, QStringLiteral("日次集計"));
}

void TestCommon::logLineHead()
{
    const double now = 45383.0 + (9 * 3600 + 15 * 60 + 2) / 86400.0;
    QCOMPARE(LogLineHead(now, 33302.47), QStringLiteral("2024/04/01 09:15:02.47 "));
    QCOMPARE(LogLineHead(now, 33302.0), QStringLiteral("2024/04/01 09:15:02.00 "));
    // Hundredths round, so .999 of a second is written as 1.00 after the seconds.
    QCOMPARE(LogLineHead(now, 33302.999), QStringLiteral("2024/04/01 09:15:021.00 "));
}

void TestCommon::logFileIsUtf8WithCrLf()
{
    TestProgram program;
    WriteLog(QStringLiteral("一行目"));
    WriteLog(QStringLiteral("二行目"));
    QCOMPARE(QFileInfo(gLogPath).fileName(), QStringLiteral("test_common.log"));
    QCOMPARE(QFileInfo(gLogPath).absolutePath(), QFileInfo(program.folder()).absoluteFilePath());
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

void TestCommon::roundOff_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("expected");
    QTest::newRow("half away from zero, negative") << "-2.5" << 3 << 0 << "-3";
    QTest::newRow("away from zero at 1 digit") << "2.41" << 2 << 1 << "2.5";
    QTest::newRow("truncate at 1 digit") << "2.49" << 1 << 1 << "2.4";
    QTest::newRow("mode 0 rounds half up") << "2.5" << 0 << 0 << "3";
    QTest::newRow("unknown mode rounds half up") << "2.45" << 9 << 1 << "2.5";
    QTest::newRow("2.4999 stays below half") << "2.4999" << 3 << 0 << "2";
    QTest::newRow("whole value untouched by mode 2") << "1851" << 2 << 0 << "1851";
    QTest::newRow("commission truncated") << "1851.75" << 1 << 0 << "1851";
    QTest::newRow("negative truncation toward zero") << "-1851.75" << 1 << 0 << "-1851";
    QTest::newRow("tens") << "1234" << 3 << -1 << "1230";
}

void TestCommon::roundOff()
{
    QFETCH(QString, value);
    QFETCH(int, mode);
    QFETCH(int, digits);
    QFETCH(QString, expected);
    QCOMPARE(RoundOff(Variant(*Currency::parse(value)), mode, digits).toPlainText(), expected);
    QCOMPARE(RoundOff(Variant(value.toDouble()), mode, digits).toPlainText(), expected);
}

void TestCommon::nzReplacesOnlyNull()
{
    QCOMPARE(Nz(Variant::null(), Variant(0)).toLong(), 0);
    QVERIFY(Nz(Variant(), Variant(5)).isEmpty()); // Empty is no Null
    QCOMPARE(Nz(Variant(QStringLiteral("x")), Variant(0)).toString(), QStringLiteral("x"));
    QCOMPARE(RoundOff(Variant::null(), 3, 0), Currency());
}

QTEST_GUILESS_MAIN(TestCommon)
#include "test_common.moc"
