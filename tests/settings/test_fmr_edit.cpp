// The producer master editor: code entry, editing, saving in one transaction, and what it refuses.
#include "data/Connection.h"
#include "data/Globals.h"
#include "data/clsMst.h"
#include "notice/FmrNotice.h"
#include "settings/FmrMaster.h"
#include "settings/FmrNoticeBox.h"
#include "settings/fdlMstFmrEdit.h"
#include "support/BothEngines.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const char *const Producer12 =
    "INSERT INTO M_FMR (FMR_ID, FMR_NM, ADRS, TEL_NO_L, TEL_NO_S, NOTES, BANK_NM, BR_NM, ACC_KBN, ACC_NO, ACC_NM, "
    "FEE_1, FEE_2) VALUES (12, '山田 太郎', '信州市中町1-2', '026-123-4567', '0261234567', NULL, 'みのり農協', "
    "'本店', '普通', '1234567', 'ﾔﾏﾀﾞ ﾀﾛｳ', 220, 440)";

Variant column(const char *name, int id = 12)
{
    return gMst->DLookup(QString::fromLatin1(name), QStringLiteral("M_FMR"), QStringLiteral("FMR_ID=%1").arg(id));
}

} // namespace

class TestFmrEdit : public QObject
{
    Q_OBJECT

public:
    explicit TestFmrEdit(bool onServer) : m_onServer(onServer) {}

private slots:
    void init();
    void cleanup();

    void codeWithLeadingZerosLoadsTheProducer();
    void savingStoresNullForEmptyBoxes();
    void refusedFeeThenProducerDeleted();
    void unknownCodeAndClosing();
    void noticeAddressBesideTheProducer();

private:
    fdlMstFmrEdit &openEditor();
    bool m_onServer;
    std::unique_ptr<TestProgram> m_program;
    std::unique_ptr<fdlMstFmrEdit> m_editor;
};

void TestFmrEdit::init()
{
    m_program = std::make_unique<TestProgram>();
    m_program->createDatabases(false, m_onServer);
    m_program->openAll();
    gMst->EXEC(QString::fromUtf8(Producer12));
}

void TestFmrEdit::cleanup()
{
    m_editor.reset();
    m_program.reset();
}

fdlMstFmrEdit &TestFmrEdit::openEditor()
{
    m_editor = std::make_unique<fdlMstFmrEdit>();
    m_editor->show();
    if (!QTest::qWaitForWindowActive(m_editor.get()))
        qWarning("editor window not active");
    return *m_editor;
}

void TestFmrEdit::codeWithLeadingZerosLoadsTheProducer()
{
    fdlMstFmrEdit &e = openEditor();
    QCOMPARE(e.windowTitle(), QStringLiteral("生産者ﾏｽﾀ編集"));
    QCOMPARE(e.Mode(), 0);
    QVERIFY(!e.box(1)->isEnabled() && !e.button(1)->isEnabled());
    QCOMPARE(e.button(0)->text(), QStringLiteral("閉じる"));
    QCOMPARE(e.box(0)->maxLength(), 4);
    QTest::keyClicks(e.box(0), QStringLiteral("00123"));
    QCOMPARE(e.box(0)->text(), QStringLiteral("0012"));
    QTest::keyClick(e.box(0), Qt::Key_Return);
    QCOMPARE(e.Mode(), 2);
    QCOMPARE(e.box(1)->text(), QStringLiteral("山田 太郎"));
    QCOMPARE(e.box(5)->text(), QString()); // NOTES is Null
    QCOMPARE(e.box(10)->text(), QStringLiteral("ﾔﾏﾀﾞ ﾀﾛｳ"));
    QCOMPARE(e.box(11)->text(), QStringLiteral("220"));
    QCOMPARE(e.box(12)->text(), QStringLiteral("440"));
    QVERIFY(!e.box(0)->isEnabled() && e.box(1)->isEnabled() && e.button(1)->isEnabled());
    QCOMPARE(e.button(0)->text(), QStringLiteral("キャンセル"));
    QVERIFY(e.button(0)->hasFocus());
    // Enter on the button moves on to the first box that can be edited.
    QTest::keyClick(e.button(0), Qt::Key_Return);
    QVERIFY(e.box(1)->hasFocus());
    QCOMPARE(e.box(1)->selectedText(), QStringLiteral("山田 太郎"));
    // The window does not close while editing; キャンセル drops the edit and returns to the code.
    e.box(1)->setText(QStringLiteral("changed"));
    e.close();
    QVERIFY(e.isVisible());
    e.button(0)->click();
    QCOMPARE(e.Mode(), 0);
    QCOMPARE(e.box(1)->text(), QString());
    QCOMPARE(e.box(0)->text(), QStringLiteral("0012"));
    QCOMPARE(column("FMR_NM").toString(), QStringLiteral("山田 太郎"));
}

void TestFmrEdit::savingStoresNullForEmptyBoxes()
{
    fdlMstFmrEdit &e = openEditor();
    e.box(0)->setText(QStringLiteral("12"));
    QTest::keyClick(e.box(0), Qt::Key_Return);
    QCOMPARE(e.Mode(), 2);
    e.box(1)->clear();
    e.box(2)->setText(QStringLiteral("O'Brien \"農園\" 2-3"));
    e.box(12)->setText(QStringLiteral("660"));
    e.button(1)->click();
    QCOMPARE(e.Mode(), 0);
    QVERIFY(e.box(0)->hasFocus());
    QVERIFY(m_program->messages().shown().isEmpty());
    QVERIFY(column("FMR_NM").isNull());
    QCOMPARE(column("ADRS").toString(), QStringLiteral("O'Brien \"農園\" 2-3"));
    QCOMPARE(column("FEE_2").toCurrency(), Currency::fromInt(660));
    QCOMPARE(column("FEE_1").toCurrency(), Currency::fromInt(220));

    // Every box empty: every column but the code becomes Null.
    QVERIFY(FmrMaster::Save(*gMst, 12, QStringList(12)));
    for (const QString &name : FmrMaster::Columns())
        QVERIFY2(column(name.toLatin1().constData()).isNull(), qPrintable(name));
    QCOMPARE(gMst->DCount(QStringLiteral("*"), QStringLiteral("M_FMR")).toLong(), 1);
}

void TestFmrEdit::refusedFeeThenProducerDeleted()
{
    fdlMstFmrEdit &e = openEditor();
    e.box(0)->setText(QStringLiteral("12"));
    QTest::keyClick(e.box(0), Qt::Key_Return);
    e.box(1)->setText(QStringLiteral("新しい名前"));
    QTest::keyClicks(e.box(11), QStringLiteral("abcde"));
    e.box(11)->setText(QStringLiteral("abc"));
    e.button(1)->click();
    // A fee that is no number: refused, the edit kept, nothing written, no transaction left open.
    QCOMPARE(e.Mode(), 2);
    QCOMPARE(e.box(1)->text() + u'|' + e.box(11)->text(), QStringLiteral("新しい名前|abc"));
    QCOMPARE(m_program->messages().prompts(), QStringList{QStringLiteral("データの登録に失敗しました。")});
    QCOMPARE(m_program->messages().shown().first().flags, int(Msg::Exclamation));
    QCOMPARE(column("FMR_NM").toString() + u'|' + column("FEE_1").toCurrency().toPlainText(), QStringLiteral("山田 太郎|220"));
    QVERIFY(!gMst->connection()->inTransaction());
    // The producer deleted meanwhile: nothing is written, no producer is added back, the editor returns to code entry.
    gMst->EXEC(QStringLiteral("DELETE FROM M_FMR WHERE FMR_ID=12"));
    e.box(11)->setText(QStringLiteral("330"));
    e.button(1)->click();
    QCOMPARE(e.Mode(), 0);
    QCOMPARE(m_program->messages().shown().size(), 1);
    QCOMPARE(gMst->DCount(QStringLiteral("*"), QStringLiteral("M_FMR")).toLong(), 0);
}

void TestFmrEdit::unknownCodeAndClosing()
{
    fdlMstFmrEdit &e = openEditor();
    // A code with no producer: no message, still code entry; a code that is no number reads as 0.
    for (const char *code : {"99", "abc", "9e99"}) {
        e.box(0)->setText(QString::fromLatin1(code));
        QTest::keyClick(e.box(0), Qt::Key_Return);
        QCOMPARE(e.Mode(), 0);
    }
    QCOMPARE(m_program->messages().shown().size(), 1); // "9e99" is too large for a code
    QCOMPARE(m_program->messages().shown().first().flags, int(Msg::Exclamation));
    // 閉じる with a code typed closes without loading it.
    e.box(0)->setText(QStringLiteral("12"));
    e.button(0)->click();
    QVERIFY(!e.isVisible());
    QCOMPARE(e.result(), int(QDialog::Rejected));
    QCOMPARE(e.box(1)->text(), QString());
    QCOMPARE(e.Mode(), 0);
}

void TestFmrEdit::noticeAddressBesideTheProducer()
{
    gMst->EXEC(QStringLiteral("DROP TABLE M_FMR_NTC")); // a master made before the notices: the editor makes it
    fdlMstFmrEdit &e = openEditor();
    QVERIFY(!e.notice()->address()->isEnabled());
    const auto load = [&] {
        e.box(0)->setText(QStringLiteral("12"));
        QTest::keyClick(e.box(0), Qt::Key_Return);
        QCOMPARE(e.Mode(), 2);
    };
    load();
    QCOMPARE(e.notice()->address()->text(), QString());
    QVERIFY(e.notice()->address()->isEnabled() && !e.notice()->on()->isChecked());
    // Anything but one plain address is refused, with the edit kept and nothing written.
    e.notice()->address()->setText(QStringLiteral("yamada@example.jp, boss@example.jp"));
    e.notice()->on()->setChecked(true);
    e.box(1)->setText(QStringLiteral("山田農園"));
    e.button(1)->click();
    QCOMPARE(e.Mode(), 2);
    QCOMPARE(m_program->messages().prompts(), QStringList{QStringLiteral("売上通知のメールアドレスが正しくありません。")});
    QCOMPARE(column("FMR_NM").toString(), QStringLiteral("山田 太郎"));
    QCOMPARE(gMst->DCount(QStringLiteral("*"), QStringLiteral("M_FMR_NTC")).toLong(), 0);

    e.notice()->address()->setText(QStringLiteral("yamada@example.jp"));
    e.button(1)->click();
    QCOMPARE(e.Mode(), 0);
    QCOMPARE(column("FMR_NM").toString(), QStringLiteral("山田農園"));
    QCOMPARE(FmrNotice::Read(*gMst, 12).address, QStringLiteral("yamada@example.jp"));
    QVERIFY(FmrNotice::Read(*gMst, 12).on);
    QVERIFY(e.notice()->address()->text().isEmpty() && !e.notice()->address()->isEnabled());

    // Loaded again; notices off and no address: the row goes.
    load();
    QCOMPARE(e.notice()->address()->text(), QStringLiteral("yamada@example.jp"));
    QVERIFY(e.notice()->on()->isChecked());
    e.notice()->address()->clear();
    e.notice()->on()->setChecked(false);
    e.button(1)->click();
    QCOMPARE(gMst->DCount(QStringLiteral("*"), QStringLiteral("M_FMR_NTC")).toLong(), 0);
}

VANTLE_TEST_BOTH_ENGINES(TestFmrEdit)

#include "test_fmr_edit.moc"
