// The settings menu and its dialogs on a real program folder, each storing its values as control values, and
// the connection dialog a database that cannot be opened leads to: SQLite always, the MariaDB test server when
// the test command started one.
#include "app/Screens.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"
#include "settings/fdlSetConCtrl.h"
#include "settings/fdlSetDbCtrl.h"
#include "settings/fdlSetIniCtrl.h"
#include "settings/fdlSetMenu.h"
#include "settings/fdlSetMstCtrl1.h"
#include "settings/fdlSetMstCtrl2.h"
#include "settings/fdlSetMstCtrl3.h"
#include "settings/fdlSetNtcCtrl.h"
#include "support/BothEngines.h"
#include "support/ModalWatch.h"
#include "support/Rows.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <array>
#include <functional>

namespace {

// The stored control values of the keys (separated by spaces), joined with "|".
QString stored(clsData &data, const QString &keys)
{
    QStringList values;
    for (const QString &key : keys.split(u' ')) {
        const Variant v = data.GetCtrl(key);
        values << (v.isNull() ? QStringLiteral("<Null>") : v.toString());
    }
    return values.join(u'|');
}

} // namespace

class TestSettingsDialogs : public QObject
{
    Q_OBJECT

public:
    explicit TestSettingsDialogs(bool onServer) : m_onServer(onServer) {}

private slots:
    void init();
    void cleanup();

    void neverSavedKeysStoreNullAndFirstEntries();
    void marginsPrintersAndListPositions();
    void ratesAndShopTexts();
    void changeFundAndFailingSave();
    void largestSaleNumber();
    void noticeSettingsAreCheckedBeforeStoring();
    void menuAndTheConnectionDialog();

private:
    bool m_onServer;
    std::unique_ptr<TestProgram> m_program;
};

void TestSettingsDialogs::init()
{
    m_program = TestProgram::opened(true, m_onServer);
}

void TestSettingsDialogs::cleanup()
{
    m_program.reset();
}

void TestSettingsDialogs::neverSavedKeysStoreNullAndFirstEntries()
{
    const QList<std::function<SettingsDialog *()>> dialogs{
        [] { return new fdlSetIniCtrl; },  [] { return new fdlSetConCtrl; },  [] { return new fdlSetDbCtrl; },
        [] { return new fdlSetMstCtrl1; }, [] { return new fdlSetMstCtrl2; }, [] { return new fdlSetMstCtrl3; }};
    for (const auto &make : dialogs) {
        gIni->EXEC(QStringLiteral("DELETE FROM S_CTRL"));
        gDb->EXEC(QStringLiteral("DELETE FROM S_CTRL"));
        gMst->EXEC(QStringLiteral("DELETE FROM S_CTRL"));
        const std::unique_ptr<SettingsDialog> dialog(make());
        dialog->show();
        QStringList expected;
        for (const QString &key : dialog->keys()) {
            // Nothing stored shows the rate charged then, a fixed list (Combo1) its first entry, a text box and a
            // printer list nothing.
            const bool position = dialog->control(key)->objectName().startsWith(u"Combo1");
            const auto *edit = qobject_cast<QLineEdit *>(dialog->control(key));
            const QString shown = edit       ? edit->text()
                                  : position ? QString::number(dialog->list(key)->currentIndex())
                                             : dialog->list(key)->currentText();
            const QString first = QString::fromLatin1(key == u"FEE_RT" ? "15.0" : position ? "0" : "");
            QVERIFY2(shown == first, qPrintable(dialog->windowTitle() + u' ' + key));
            expected << QString::fromLatin1(key == u"FEE_RT" ? "0.15" : position ? "0" : "<Null>");
        }
        dialog->button(1)->click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(stored(*dialog->data(), dialog->keys().join(u' ')), expected.join(u'|'));
    }
    QVERIFY(m_program->messages().shown().isEmpty());
}

void TestSettingsDialogs::marginsPrintersAndListPositions()
{
    gIni->SaveCtrl(QStringLiteral("DAILY_REPORT_TOP_MGN"), Variant("567"));
    gIni->SaveCtrl(QStringLiteral("DEF_RECEIPT"), Variant("removed printer"));
    gIni->SaveCtrl(QStringLiteral("PRINT_LOGO_NO"), Variant("3"));
    gIni->SaveCtrl(QStringLiteral("BANK_TRN_PAPER_BIN"), Variant("9")); // not in the list
    {
        fdlSetIniCtrl dialog;
        // The bad position is reported, and the controls after it are filled all the same.
        QCOMPARE(m_program->messages().shown().size(), 1);
        QVERIFY(m_program->messages().shown().first().prompt.contains(u"BANK_TRN_PAPER_BIN"));
        QCOMPARE(QStringList({dialog.text(QStringLiteral("DAILY_REPORT_TOP_MGN"))->text(),
                              dialog.list(QStringLiteral("DEF_RECEIPT"))->currentText(),
                              dialog.list(QStringLiteral("PRINT_LOGO_NO"))->currentText()}),
                 QStringList({QStringLiteral("1.00"), QStringLiteral("removed printer"), QStringLiteral("ﾋﾞｯﾄﾏｯﾌﾟ3")}));
        dialog.text(QStringLiteral("DAILY_REPORT_LEFT_MGN"))->setText(QStringLiteral("2"));
        dialog.list(QStringLiteral("PRINT_LOGO"))->setCurrentIndex(1);
        dialog.button(1)->click();
    }
    // The paper bin not in the list is kept, not lost to -1 or 0.
    QCOMPARE(stored(*gIni, "DAILY_REPORT_LEFT_MGN DAILY_REPORT_TOP_MGN DEF_RECEIPT PRINT_LOGO PRINT_LOGO_NO BANK_TRN_PAPER_BIN"),
             QStringLiteral("1134|567|removed printer|1|3|9"));
}

void TestSettingsDialogs::ratesAndShopTexts()
{
    const QString name = QStringLiteral("みのり's \"直売所\" 本店");
    {
        fdlSetMstCtrl2 dialog;
        dialog.text(QStringLiteral("TAX_RT"))->setText(QStringLiteral("8.5%"));
        dialog.text(QStringLiteral("FEE_RT"))->setText(QStringLiteral("10"));
        dialog.text(QStringLiteral("COM_NM"))->setText(name);
        dialog.button(1)->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
    QCOMPARE(stored(*gMst, "TAX_RT FEE_RT COM_NM"), QStringLiteral("0.09|0.1|") + name);
    fdlSetMstCtrl2 again;
    again.show();
    QCOMPARE(again.text(QStringLiteral("FEE_RT"))->text(), QStringLiteral("10.0"));
    // An empty commission rate is refused, not stored as Null; one that is no number would be read as 0 %.
    for (const QString &typed : {QString(), QStringLiteral("１０")}) {
        again.text(QStringLiteral("FEE_RT"))->setText(typed);
        again.button(1)->click();
        QVERIFY(again.isVisible());
    }
    QCOMPARE(m_program->messages().prompts(),
             (QStringList{QStringLiteral("手数料率を入力して下さい。\r\n手数料を取らない場合は 0 と入力します。"),
                          QStringLiteral("手数料率は 0 から 100 までの数字で入力して下さい。")}));
    QCOMPARE(stored(*gMst, "FEE_RT"), QStringLiteral("0.1"));
    // The invoice registration number is refused unless its check digit is right, and stored plain.
    again.text(QStringLiteral("FEE_RT"))->setText(QStringLiteral("10"));
    for (const QString &typed : {QStringLiteral("T8123456789012"), QStringLiteral("t7-1234-5678-9012")}) {
        again.text(QStringLiteral("COM_REG_NO"))->setText(typed);
        again.button(1)->click();
    }
    QVERIFY(m_program->messages().prompts().last().startsWith(QStringLiteral("登録番号 T8123456789012 は正しくありません")));
    QCOMPARE(stored(*gMst, "COM_REG_NO"), QStringLiteral("T7123456789012"));
}

void TestSettingsDialogs::changeFundAndFailingSave()
{
    for (int i = 1; i <= 10; ++i)
        gMst->SaveCtrl(QStringLiteral("DEF_%1").arg(i, 2, 10, QLatin1Char('0')), Variant(QString()));
    gMst->SaveCtrl(QStringLiteral("DEF_06"), Variant("50"));
    fdlSetMstCtrl1 dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(dialog.lblDEF_SUM()->text(), QStringLiteral("5,000"));
    QLineEdit *thousand = dialog.text(QStringLiteral("DEF_04"));
    thousand->setFocus();
    QTest::keyClicks(thousand, QStringLiteral("10"));
    QTest::keyClick(thousand, Qt::Key_Return);
    // Enter moved on like Tab, typed nothing, and the total followed the box it left.
    QCOMPARE(thousand->text(), QStringLiteral("10"));
    QCOMPARE(dialog.lblDEF_SUM()->text(), QStringLiteral("15,000"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    // Entering a box selects its text, so typing replaces it.
    QLineEdit *fifty = dialog.text(QStringLiteral("DEF_06"));
    QVERIFY(fifty->hasFocus());
    QCOMPARE(fifty->selectedText(), QStringLiteral("50"));
    QTest::keyClicks(fifty, QStringLiteral("0"));
    QTest::keyClick(fifty, Qt::Key_Return);
    QCOMPARE(dialog.lblDEF_SUM()->text(), QStringLiteral("10,000"));

    // The last key's row takes only truth values: the store fails, and the dialog stays open with the edit.
    gMst->EXEC(QStringLiteral("UPDATE S_CTRL SET CTRL_TYPE=1 WHERE CTRL_CD='DEF_10'"));
    dialog.text(QStringLiteral("DEF_10"))->setText(QStringLiteral("abc"));
    dialog.button(1)->click();
    QVERIFY(dialog.isVisible());
    QCOMPARE(m_program->messages().prompts().last(), QStringLiteral("データの登録に失敗しました。"));
    dialog.text(QStringLiteral("DEF_10"))->setText(QStringLiteral("1"));
    dialog.button(1)->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(stored(*gMst, "DEF_04 DEF_06"), QStringLiteral("10|0"));
}

void TestSettingsDialogs::largestSaleNumber()
{
    Rows::sale(120, Rows::day(2024, 4, 1), {{1, "1", "100"}});
    fdlSetDbCtrl dialog;
    dialog.button(2)->click();
    QCOMPARE(dialog.text(QStringLiteral("NEW_REG_ID"))->text(), QStringLiteral("120"));
    QCOMPARE(stored(*gDb, "NEW_REG_ID"), QStringLiteral("0")); // shown only, until 登録
    dialog.button(1)->click();
    QCOMPARE(stored(*gDb, "NEW_REG_ID"), QStringLiteral("120"));
}

void TestSettingsDialogs::noticeSettingsAreCheckedBeforeStoring()
{
    fdlSetNtcCtrl dialog;
    dialog.show();
    QCOMPARE(dialog.list(QStringLiteral("NTC_SMTP_SEC"))->currentText(), QStringLiteral("STARTTLS"));
    dialog.text(QStringLiteral("NTC_FROM"))->setText(QStringLiteral("shop@example.jp"));
    dialog.text(QStringLiteral("NTC_SMTP_PORT"))->setText(QStringLiteral("465"));
    // Each refused entry in turn, then what it is corrected to.
    const QList<std::array<const char *, 3>> refused{{"NTC_TIMES", "16:00 25:00", "16:00、10:00"},
                                                     {"NTC_FROM", "shop@example.jp\nBcc: x@example.jp", "shop@example.jp"},
                                                     {"NTC_SMTP_PORT", "70000", "465"}};
    for (const auto &[key, typed, corrected] : refused) {
        m_program->messages().clear();
        dialog.text(QString::fromLatin1(key))->setText(QString::fromUtf8(typed));
        dialog.button(1)->click();
        QVERIFY2(dialog.isVisible() && m_program->messages().shown().size() == 1, typed);
        QVERIFY2(stored(*gMst, "NTC_TIMES") != QStringLiteral("10:00,16:00"), typed);
        dialog.text(QString::fromLatin1(key))->setText(QString::fromUtf8(corrected));
    }
    dialog.list(QStringLiteral("NTC_SMTP_SEC"))->setCurrentIndex(1);
    m_program->messages().clear();
    dialog.button(1)->click();
    QVERIFY(!dialog.isVisible());
    QVERIFY(m_program->messages().shown().isEmpty());
    QCOMPARE(stored(*gMst, "NTC_TIMES NTC_SMTP_SEC NTC_FROM"), QStringLiteral("10:00,16:00|1|shop@example.jp"));
}

void TestSettingsDialogs::menuAndTheConnectionDialog()
{
    fdlSetMenu menu;
    menu.show();
    QStringList captions;
    for (int i = 1; i <= 10; ++i) {
        auto watch = ModalWatch::closeNext(captions);
        menu.button(i)->click();
    }
    QCOMPARE(captions, (QStringList{"ﾛｰｶﾙ設定", "接続設定", "連番設定", "つり銭設定", "管理情報", "支払情報",
                                    "生産者ﾏｽﾀ編集", "振込依頼人情報", "売上通知設定", "商品別税率"}));

    fdlSetConCtrl dialog;
    // Shown as stored: a file name is not turned into the program folder's path.
    QCOMPARE(dialog.text(QStringLiteral("DB_NAME"))->text(), gIni->GetCtrl(QStringLiteral("DB_NAME")).toString());
    QCOMPARE(dialog.list(QStringLiteral("DB_TYPE"))->currentText(), m_onServer ? QStringLiteral("MYSQL") : QStringLiteral("MDB"));
    for (const char *key : {"DB_PSWD", "DB_DBPW", "MST_PSWD", "MST_DBPW"})
        QCOMPARE(dialog.text(QString::fromLatin1(key))->echoMode(), QLineEdit::Password);

    // A database that cannot be opened: Yes leads to this dialog, as the program wires it.
    QObject program;
    ConnectDataEvents(&program);
    gIni->SaveCtrl(QStringLiteral("MST_TYPE"), Variant("0"));
    m_program->messages().queueAnswer(Msg::Yes);
    captions.clear();
    auto watch = ModalWatch::closeNext(captions);
    gMst->OpenCnn();
    QCOMPARE(captions, QStringList{QStringLiteral("接続設定")});
}

VANTLE_TEST_BOTH_ENGINES(TestSettingsDialogs)

#include "test_settings_dialogs.moc"
