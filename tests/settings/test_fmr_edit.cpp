// The producer master editor: code entry, editing, saving in one transaction, and what it refuses.
#include "data/Connection.h"
#include "data/Globals.h"
#include "data/clsMst.h"
#include "notice/FmrNotice.h"
#include "settings/FmrNoticeBox.h"
#include "settings/fdlMstFmrEdit.h"
#include "support/BothEngines.h"
#include "support/Rows.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

Variant column(const char *name)
{
    return gMst->DLookup(QString::fromLatin1(name), QStringLiteral("M_FMR"), QStringLiteral("FMR_ID=12"));
}

qint32 rowsOf(const char *table)
{
    return gMst->DCount(QStringLiteral("*"), QString::fromLatin1(table)).toLong();
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

    void codeEntryEditingAndClosing();
    void savingAndWhatIsRefused();
    void noticeAddressBesideTheProducer();

private:
    // Types the code and Enter.
    void load(const char *code)
    {
        m_editor->box(0)->setText(QString::fromLatin1(code));
        QTest::keyClick(m_editor->box(0), Qt::Key_Return);
    }

    bool m_onServer;
    std::unique_ptr<TestProgram> m_program;
    std::unique_ptr<fdlMstFmrEdit> m_editor;
};

void TestFmrEdit::init()
{
    m_program = TestProgram::opened(false, m_onServer);
    Rows::producer(12, "220", "440");
    m_editor = std::make_unique<fdlMstFmrEdit>();
    m_editor->show();
    QVERIFY(QTest::qWaitForWindowActive(m_editor.get()));
}

void TestFmrEdit::cleanup()
{
    m_editor.reset();
    m_program.reset();
}

void TestFmrEdit::codeEntryEditingAndClosing()
{
    fdlMstFmrEdit &e = *m_editor;
    // A code with no producer: no message, still code entry; a code that is no number reads as 0.
    for (const char *code : {"99", "abc", "9e99"}) {
        load(code);
        QCOMPARE(e.Mode(), 0);
    }
    QCOMPARE(m_program->messages().shown().size(), 1); // "9e99" is too large for a code
    e.box(0)->clear();
    QTest::keyClicks(e.box(0), QStringLiteral("00123"));
    QTest::keyClick(e.box(0), Qt::Key_Return);
    QCOMPARE(e.Mode(), 2);
    QCOMPARE(e.box(1)->text() + u'|' + e.box(5)->text() + u'|' + e.box(10)->text() + u'|' + e.box(12)->text(),
             QStringLiteral("O'Neil 農園||ｵﾆｰﾙ'ﾉｳｴﾝ|440")); // NOTES is Null
    QCOMPARE(e.button(0)->text(), QStringLiteral("キャンセル"));
    // Enter on the button moves on to the first box that can be edited.
    QVERIFY(e.button(0)->hasFocus());
    QTest::keyClick(e.button(0), Qt::Key_Return);
    QCOMPARE(e.box(1)->selectedText(), QStringLiteral("O'Neil 農園"));
    // The window does not close while editing; キャンセル drops the edit and returns to the code.
    e.box(1)->setText(QStringLiteral("changed"));
    e.close();
    QVERIFY(e.isVisible());
    e.button(0)->click();
    QCOMPARE(e.Mode(), 0);
    QCOMPARE(e.box(1)->text() + u'|' + e.box(0)->text(), QStringLiteral("|0012"));
    QCOMPARE(column("FMR_NM").toString(), QStringLiteral("O'Neil 農園"));
    // 閉じる with a code typed closes without loading it.
    QCOMPARE(e.button(0)->text(), QStringLiteral("閉じる"));
    e.button(0)->click();
    QVERIFY(!e.isVisible());
    QCOMPARE(e.box(1)->text(), QString());
}

void TestFmrEdit::savingAndWhatIsRefused()
{
    fdlMstFmrEdit &e = *m_editor;
    load("12");
    // A fee that is no number: refused, the edit kept, nothing written, no transaction left open.
    e.box(1)->clear();
    e.box(2)->setText(QStringLiteral("O'Brien \"農園\" 2-3"));
    e.box(11)->setText(QStringLiteral("abc"));
    e.button(1)->click();
    QCOMPARE(e.Mode(), 2);
    QCOMPARE(e.box(11)->text(), QStringLiteral("abc"));
    QCOMPARE(m_program->messages().prompts(), QStringList{QStringLiteral("データの登録に失敗しました。")});
    QCOMPARE(column("FMR_NM").toString() + u'|' + column("FEE_1").toCurrency().toPlainText(),
             QStringLiteral("O'Neil 農園|220"));
    QVERIFY(!gMst->connection()->inTransaction());

    // Corrected: stored, an empty box as Null.
    e.box(12)->setText(QStringLiteral("660"));
    e.box(11)->setText(QStringLiteral("330"));
    e.button(1)->click();
    QCOMPARE(e.Mode(), 0);
    QVERIFY(e.box(0)->hasFocus());
    QVERIFY(column("FMR_NM").isNull());
    QCOMPARE(column("ADRS").toString(), QStringLiteral("O'Brien \"農園\" 2-3"));
    QCOMPARE(column("FEE_1").toCurrency().toPlainText() + u'|' + column("FEE_2").toCurrency().toPlainText(),
             QStringLiteral("330|660"));

    // The producer deleted meanwhile: nothing is written, no producer is added back, the editor returns to code entry.
    load("12");
    gMst->EXEC(QStringLiteral("DELETE FROM M_FMR WHERE FMR_ID=12"));
    e.box(11)->setText(QStringLiteral("330"));
    e.button(1)->click();
    QCOMPARE(e.Mode(), 0);
    QCOMPARE(m_program->messages().shown().size(), 1);
    QCOMPARE(rowsOf("M_FMR"), 0);
}

void TestFmrEdit::noticeAddressBesideTheProducer()
{
    // A master made before the notices: the editor makes the table.
    m_editor.reset();
    gMst->EXEC(QStringLiteral("DROP TABLE M_FMR_NTC"));
    m_editor = std::make_unique<fdlMstFmrEdit>();
    m_editor->show();
    fdlMstFmrEdit &e = *m_editor;
    FmrNoticeBox &notice = *e.notice();
    QVERIFY(!notice.address()->isEnabled());
    load("12");
    QVERIFY(notice.address()->isEnabled() && !notice.on()->isChecked());
    // Anything but one plain address is refused, with the edit kept and nothing written.
    notice.address()->setText(QStringLiteral("yamada@example.jp, boss@example.jp"));
    notice.on()->setChecked(true);
    e.box(1)->setText(QStringLiteral("山田農園"));
    e.button(1)->click();
    QCOMPARE(e.Mode(), 2);
    QCOMPARE(m_program->messages().prompts(), QStringList{QStringLiteral("売上通知のメールアドレスが正しくありません。")});
    QCOMPARE(column("FMR_NM").toString(), QStringLiteral("O'Neil 農園"));
    QCOMPARE(rowsOf("M_FMR_NTC"), 0);

    notice.address()->setText(QStringLiteral("yamada@example.jp"));
    e.button(1)->click();
    QCOMPARE(column("FMR_NM").toString(), QStringLiteral("山田農園"));
    QCOMPARE(FmrNotice::Read(*gMst, 12).address, QStringLiteral("yamada@example.jp"));
    QVERIFY(FmrNotice::Read(*gMst, 12).on);
    QVERIFY(notice.address()->text().isEmpty() && !notice.address()->isEnabled());

    // Loaded again it shows; notices off and no address: the row goes.
    load("12");
    QVERIFY(notice.address()->text() == QStringLiteral("yamada@example.jp") && notice.on()->isChecked());
    notice.address()->clear();
    notice.on()->setChecked(false);
    e.button(1)->click();
    QCOMPARE(rowsOf("M_FMR_NTC"), 0);
}

VANTLE_TEST_BOTH_ENGINES(TestFmrEdit)

#include "test_fmr_edit.moc"
