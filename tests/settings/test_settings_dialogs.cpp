// The settings menu and its dialogs on a real program folder, each storing its values as control values, and
// the connection dialog a database that cannot be opened leads to: SQLite always, the MariaDB test server when
// the test command started one.
#include "app/Screens.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"
#include "settings/SetMenu.h"
#include "settings/fdlMstFmrEdit.h"
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
#include "support/TestProgram.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <functional>

namespace {

using Factory = std::function<std::unique_ptr<SettingsDialog>()>;

template <class D>
Factory factory()
{
    return [] { return std::make_unique<D>(); };
}

// The stored control values of the keys (separated by spaces), joined with "|".
QString stored(clsData &data, const char *keys)
{
    QStringList values;
    for (const QString &key : QString::fromLatin1(keys).split(u' ')) {
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
    void changeFundWithEnterAndSelection();
    void largestSaleNumber();
    void failingSaveRollsBackEveryKey();
    void noticeSettingsAreCheckedBeforeStoring();
    void connectionValuesAndTheOpeningFailure();
    void menuOpensEveryDialog();

private:
    bool m_onServer;
    std::unique_ptr<TestProgram> m_program;
};

void TestSettingsDialogs::init()
{
    m_program = std::make_unique<TestProgram>();
    m_program->createDatabases(true, m_onServer);
    m_program->openAll();
    QVERIFY(gDb->isOpen() && gMst->isOpen());
}

void TestSettingsDialogs::cleanup()
{
    m_program.reset();
}

void TestSettingsDialogs::neverSavedKeysStoreNullAndFirstEntries()
{
    const QList<Factory> dialogs{factory<fdlSetIniCtrl>(), factory<fdlSetConCtrl>(), factory<fdlSetDbCtrl>(),
                                 factory<fdlSetMstCtrl1>(), factory<fdlSetMstCtrl2>(), factory<fdlSetMstCtrl3>()};
    for (const Factory &make : dialogs) {
        gIni->EXEC(QStringLiteral("DELETE FROM S_CTRL"));
        gDb->EXEC(QStringLiteral("DELETE FROM S_CTRL"));
        gMst->EXEC(QStringLiteral("DELETE FROM S_CTRL"));
        auto dialog = make();
        dialog->show();
        const QString caption = dialog->windowTitle();
        for (const QString &key : dialog->keys()) {
            QWidget *c = dialog->control(key);
            if (key == u"FEE_RT") // the rate charged when none is stored
                QCOMPARE(dialog->text(key)->text(), QStringLiteral("15.0"));
            else if (auto *edit = qobject_cast<QLineEdit *>(c))
                QVERIFY2(edit->text().isEmpty(), qPrintable(caption + u' ' + key));
            else if (c->objectName().startsWith(u"Combo2"))
                QVERIFY2(dialog->list(key)->currentText().isEmpty(), qPrintable(key));
            else
                QVERIFY2(dialog->list(key)->currentIndex() == 0, qPrintable(key));
        }
        dialog->button(1)->click();
        QVERIFY2(!dialog->isVisible(), qPrintable(caption));
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        clsData &data = *dialog->data();
        for (const QString &key : dialog->keys()) {
            const bool position = dialog->control(key)->objectName().startsWith(u"Combo1");
            const Variant v = data.GetCtrl(key);
            if (position)
                QVERIFY2(v.toString() == u"0", qPrintable(key));
            else if (key == u"FEE_RT")
                QCOMPARE(v.toString(), QStringLiteral("0.15"));
            else
                QVERIFY2(v.isNull(), qPrintable(caption + u' ' + key));
        }
    }
    QVERIFY(m_program->messages().shown().isEmpty());
}

void TestSettingsDialogs::marginsPrintersAndListPositions()
{
    gIni->SaveCtrl(QStringLiteral("DAILY_REPORT_TOP_MGN"), Variant("567"));
    gIni->SaveCtrl(QStringLiteral("DEF_RECEIPT"), Variant("removed printer"));
    gIni->SaveCtrl(QStringLiteral("PRINT_LOGO_NO"), Variant("3"));
    gIni->SaveCtrl(QStringLiteral("BANK_TRN_PAPER_BIN"), Variant("9")); // not in the list
    gIni->SaveCtrl(QStringLiteral("REG_USER"), Variant("レジ'2"));
    {
        fdlSetIniCtrl dialog;
        // The bad position is reported, and the controls after it are filled all the same.
        QCOMPARE(m_program->messages().shown().size(), 1);
        QCOMPARE(m_program->messages().shown().first().flags, int(Msg::Exclamation));
        QVERIFY(m_program->messages().shown().first().prompt.contains(u"BANK_TRN_PAPER_BIN"));
        QCOMPARE(dialog.list(QStringLiteral("BANK_TRN_PAPER_BIN"))->currentIndex(), -1);
        QCOMPARE(QStringList({dialog.text(QStringLiteral("REG_USER"))->text(), dialog.text(QStringLiteral("DAILY_REPORT_TOP_MGN"))->text(),
                              dialog.list(QStringLiteral("DEF_RECEIPT"))->currentText(), dialog.list(QStringLiteral("PRINT_LOGO_NO"))->currentText()}),
                 QStringList({QStringLiteral("レジ'2"), QStringLiteral("1.00"), QStringLiteral("removed printer"), QStringLiteral("ﾋﾞｯﾄﾏｯﾌﾟ3")}));

        dialog.text(QStringLiteral("DAILY_REPORT_LEFT_MGN"))->setText(QStringLiteral("2"));
        dialog.list(QStringLiteral("PRINT_LOGO"))->setCurrentIndex(1);
        dialog.button(1)->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
    // The paper bin not in the list is kept, not lost to -1 or 0.
    QCOMPARE(stored(*gIni, "DAILY_REPORT_LEFT_MGN DAILY_REPORT_TOP_MGN DEF_RECEIPT PRINT_LOGO PRINT_LOGO_NO BANK_TRN_PAPER_BIN REG_USER"),
             QStringLiteral("1134|567|removed printer|1|3|9|レジ'2"));
}

void TestSettingsDialogs::ratesAndShopTexts()
{
    const QString name = QStringLiteral("みのり's \"直売所\" 本店");
    {
        fdlSetMstCtrl2 dialog;
        QCOMPARE(dialog.text(QStringLiteral("TAX_RT"))->text(), QStringLiteral("8.0"));
        QCOMPARE(dialog.text(QStringLiteral("FEE_RT"))->text(), QStringLiteral("15.0"));
        QLineEdit *tax = dialog.text(QStringLiteral("TAX_RT"));
        QVERIFY(tax->alignment() & Qt::AlignRight);
        tax->clear();
        QTest::keyClicks(tax, QStringLiteral("8.5%%"));
        QCOMPARE(tax->text(), QStringLiteral("8.5%")); // four characters at most
        dialog.text(QStringLiteral("FEE_RT"))->setText(QStringLiteral("10"));
        QLineEdit *com = dialog.text(QStringLiteral("COM_NM"));
        QCOMPARE(com->maxLength(), 50);
        com->setText(name);
        dialog.list(QStringLiteral("PRINT_FWD"))->setCurrentIndex(0);
        dialog.button(1)->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
    QCOMPARE(stored(*gMst, "TAX_RT FEE_RT COM_NM PRINT_FWD"), QStringLiteral("0.09|0.1|") + name + QStringLiteral("|0"));
    fdlSetMstCtrl2 again;
    QCOMPARE(again.text(QStringLiteral("TAX_RT"))->text(), QStringLiteral("9.0"));
    QCOMPARE(again.text(QStringLiteral("FEE_RT"))->text(), QStringLiteral("10.0"));
    // An empty commission rate is refused, not stored as Null.
    again.show();
    again.text(QStringLiteral("FEE_RT"))->clear();
    again.button(1)->click();
    QVERIFY(again.isVisible());
    // A rate that is no number would be read as 0 %: refused as well.
    again.text(QStringLiteral("FEE_RT"))->setText(QStringLiteral("１０"));
    again.button(1)->click();
    QVERIFY(again.isVisible());
    QCOMPARE(m_program->messages().prompts(),
             (QStringList{QStringLiteral("手数料率を入力して下さい。\r\n手数料を取らない場合は 0 と入力します。"),
                          QStringLiteral("手数料率は 0 から 100 までの数字で入力して下さい。")}));
    QCOMPARE(stored(*gMst, "FEE_RT"), QStringLiteral("0.1"));
    // The invoice registration number: refused unless its check digit is right, stored plain.
    again.text(QStringLiteral("FEE_RT"))->setText(QStringLiteral("10"));
    QLineEdit *number = again.text(QStringLiteral("COM_REG_NO"));
    number->setText(QStringLiteral("T8123456789012"));
    again.button(1)->click();
    QVERIFY(again.isVisible());
    QVERIFY(m_program->messages().prompts().last().startsWith(QStringLiteral("登録番号 T8123456789012 は正しくありません")));
    QVERIFY(stored(*gMst, "COM_REG_NO") != QStringLiteral("T8123456789012"));
    number->setText(QStringLiteral("t7-1234-5678-9012"));
    again.button(1)->click();
    QVERIFY(!again.isVisible());
    QCOMPARE(stored(*gMst, "COM_REG_NO"), QStringLiteral("T7123456789012"));
}

void TestSettingsDialogs::changeFundWithEnterAndSelection()
{
    for (int i = 1; i <= 10; ++i)
        gMst->SaveCtrl(QStringLiteral("DEF_%1").arg(i, 2, 10, QLatin1Char('0')), Variant(QString()));
    gMst->SaveCtrl(QStringLiteral("DEF_07"), Variant("50"));
    fdlSetMstCtrl1 dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(dialog.lblDEF_SUM()->text(), QStringLiteral("2,500"));
    QLineEdit *thousand = dialog.text(QStringLiteral("DEF_04"));
    QCOMPARE(thousand->maxLength(), 3);
    thousand->setFocus();
    QTest::keyClicks(thousand, QStringLiteral("10"));
    QTest::keyClick(thousand, Qt::Key_Return);
    // Enter moved on like Tab, typed nothing, and the total followed the box it left.
    QCOMPARE(thousand->text(), QStringLiteral("10"));
    QVERIFY(dialog.text(QStringLiteral("DEF_05"))->hasFocus());
    QCOMPARE(dialog.lblDEF_SUM()->text(), QStringLiteral("12,500"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("20"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    // Entering a box selects its text, so typing replaces it.
    QLineEdit *fifty = dialog.text(QStringLiteral("DEF_07"));
    QVERIFY(fifty->hasFocus());
    QCOMPARE(fifty->selectedText(), QStringLiteral("50"));
    QTest::keyClicks(fifty, QStringLiteral("0"));
    QTest::keyClick(fifty, Qt::Key_Return);
    QCOMPARE(dialog.lblDEF_SUM()->text(), QStringLiteral("12,000"));
    dialog.button(1)->click();
    QCOMPARE(stored(*gMst, "DEF_04 DEF_06 DEF_07"), QStringLiteral("10|20|0"));
}

void TestSettingsDialogs::largestSaleNumber()
{
    const auto sale = [](const char *table, int id) {
        gDb->EXEC(QStringLiteral("INSERT INTO %1 (REG_ID, REG_NO, REG_DTM, SALES_DATE, DTL_CNT, AMT_SUM, RCV, CHG) "
                                 "VALUES (%2, %2, #2024-04-01 09:00:00#, #2024-04-01 00:00:00#, 1, 100, 100, 0)")
                      .arg(QString::fromLatin1(table))
                      .arg(id));
    };
    sale("D_REG", 120);
    sale("B_REG", 150);
    fdlSetDbCtrl dialog;
    QCOMPARE(dialog.text(QStringLiteral("NEW_REG_ID"))->text(), QStringLiteral("0"));
    dialog.button(2)->click();
    QCOMPARE(dialog.text(QStringLiteral("NEW_REG_ID"))->text(), QStringLiteral("120"));
    QCOMPARE(stored(*gDb, "NEW_REG_ID"), QStringLiteral("0")); // shown only, until 登録
    dialog.button(1)->click();
    QCOMPARE(stored(*gDb, "NEW_REG_ID"), QStringLiteral("120"));
}

void TestSettingsDialogs::failingSaveRollsBackEveryKey()
{
    fdlSetMstCtrl1 dialog;
    dialog.show();
    const QString before = stored(*gMst, "DEF_01");
    // The last key's row takes only truth values: the store fails after the first nine succeeded.
    gMst->EXEC(QStringLiteral("UPDATE S_CTRL SET CTRL_TYPE=1 WHERE CTRL_CD='DEF_10'"));
    dialog.text(QStringLiteral("DEF_01"))->setText(QStringLiteral("7"));
    dialog.text(QStringLiteral("DEF_10"))->setText(QStringLiteral("abc"));
    dialog.button(1)->click();
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.text(QStringLiteral("DEF_10"))->text(), QStringLiteral("abc"));
    QCOMPARE(stored(*gMst, "DEF_01"), before);
    const auto shown = m_program->messages().shown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].flags, int(Msg::Critical)); // the control value's own report
    QCOMPARE(shown[1].prompt, QStringLiteral("データの登録に失敗しました。"));
    QCOMPARE(shown[1].flags, int(Msg::Exclamation));
    QCOMPARE(shown[1].title, QStringLiteral("Marveno"));

    // Corrected, the same dialog saves.
    dialog.text(QStringLiteral("DEF_10"))->setText(QStringLiteral("1"));
    dialog.button(1)->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(stored(*gMst, "DEF_01"), QStringLiteral("7"));
}

void TestSettingsDialogs::noticeSettingsAreCheckedBeforeStoring()
{
    fdlSetNtcCtrl dialog;
    dialog.show();
    QCOMPARE(dialog.list(QStringLiteral("NTC_SMTP_SEC"))->currentText(), QStringLiteral("STARTTLS"));
    const auto refused = [&](const char *key, const char *typed) {
        m_program->messages().clear();
        dialog.text(QString::fromLatin1(key))->setText(QString::fromUtf8(typed));
        dialog.button(1)->click();
        return dialog.isVisible() && m_program->messages().shown().size() == 1
            && stored(*gMst, "NTC_TIMES") != QStringLiteral("10:00,16:00");
    };
    dialog.text(QStringLiteral("NTC_FROM"))->setText(QStringLiteral("shop@example.jp"));
    QVERIFY(refused("NTC_TIMES", "10時"));
    QVERIFY(refused("NTC_TIMES", "16:00 25:00"));
    dialog.text(QStringLiteral("NTC_TIMES"))->setText(QStringLiteral("16:00、10:00"));
    QVERIFY(refused("NTC_FROM", "shop@example.jp\nBcc: x@example.jp"));
    dialog.text(QStringLiteral("NTC_FROM"))->setText(QStringLiteral("shop@example.jp"));
    QVERIFY(refused("NTC_SMTP_PORT", "70000"));
    dialog.text(QStringLiteral("NTC_SMTP_PORT"))->setText(QStringLiteral("465"));
    dialog.list(QStringLiteral("NTC_SMTP_SEC"))->setCurrentIndex(1);
    m_program->messages().clear();
    dialog.button(1)->click();
    QVERIFY(!dialog.isVisible());
    QVERIFY(m_program->messages().shown().isEmpty());
    QCOMPARE(stored(*gMst, "NTC_TIMES NTC_SMTP_SEC NTC_FROM"), QStringLiteral("10:00,16:00|1|shop@example.jp"));
}

void TestSettingsDialogs::connectionValuesAndTheOpeningFailure()
{
    const QString name = gIni->GetCtrl(QStringLiteral("DB_NAME")).toString();
    {
        fdlSetConCtrl dialog;
        // Shown as stored: a file name is not turned into the program folder's path.
        QCOMPARE(dialog.text(QStringLiteral("DB_NAME"))->text(), name);
        QCOMPARE(dialog.list(QStringLiteral("DB_TYPE"))->currentText(),
                 m_onServer ? QStringLiteral("MYSQL") : QStringLiteral("MDB"));
        for (const char *key : {"DB_PSWD", "DB_DBPW", "MST_PSWD", "MST_DBPW"}) {
            QLineEdit *edit = dialog.text(QString::fromLatin1(key));
            QCOMPARE(edit->echoMode(), QLineEdit::Password);
            QCOMPARE(edit->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, edit), int('*'));
        }
        dialog.text(QStringLiteral("MST_SERVER"))->setText(QStringLiteral("127.0.0.1"));
        dialog.text(QStringLiteral("MST_DSN"))->clear();
        dialog.button(1)->click();
    }
    QCOMPARE(gIni->MST_SERVER(), QStringLiteral("127.0.0.1"));
    QCOMPARE(gIni->MST_DSN(), QString());

    // A database that cannot be opened: Yes leads to this dialog, as the program wires it.
    QObject program;
    ConnectDataEvents(&program);
    gIni->SaveCtrl(QStringLiteral("MST_TYPE"), Variant("0"));
    m_program->messages().queueAnswer(Msg::Yes);
    QString caption;
    auto watch = ModalWatch::on<QDialog>([&caption](QDialog *d) { caption = d->windowTitle(); });
    gMst->OpenCnn();
    QCOMPARE(caption, QStringLiteral("接続設定"));
}

void TestSettingsDialogs::menuOpensEveryDialog()
{
    fdlSetMenu menu;
    menu.show();
    QCOMPARE(menu.windowTitle(), QStringLiteral("設定メニュー"));
    QStringList captions;
    for (int i = 1; i <= 10; ++i) {
        auto watch = ModalWatch::on<QDialog>([&captions](QDialog *d) { captions << d->windowTitle(); });
        menu.button(i)->click();
    }
    QCOMPARE(captions, (QStringList{"ﾛｰｶﾙ設定", "接続設定", "連番設定", "つり銭設定", "管理情報", "支払情報",
                                    "生産者ﾏｽﾀ編集", "振込依頼人情報", "売上通知設定", "商品別税率"}));
    QVERIFY(menu.isVisible());
    QCOMPARE(menu.button(0)->text(), QStringLiteral("閉じる(&X)"));
    menu.button(0)->click();
    QVERIFY(!menu.isVisible());
}

VANTLE_TEST_BOTH_ENGINES(TestSettingsDialogs)

#include "test_settings_dialogs.moc"
