// The settings menu opens every dialog, the connection dialog is where a database that cannot be opened
// leads: SQLite always, the MariaDB test server when the test command started one.
#include "app/Screens.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"
#include "settings/fdlSetConCtrl.h"
#include "settings/fdlSetMenu.h"
#include "support/BothEngines.h"
#include "support/ModalWatch.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QPushButton>
#include <QStyle>
#include <QTest>

class TestSettingsMenu : public QObject
{
    Q_OBJECT

public:
    explicit TestSettingsMenu(bool onServer) : m_onServer(onServer) {}

private slots:
    void init();
    void cleanup();

    void connectionValuesAndTheOpeningFailure();
    void menuOpensEveryDialog();

private:
    bool m_onServer;
    std::unique_ptr<TestProgram> m_program;
};

void TestSettingsMenu::init()
{
    m_program = std::make_unique<TestProgram>();
    m_program->createDatabases(true, m_onServer);
    m_program->openAll();
    QVERIFY(gDb->isOpen() && gMst->isOpen());
}

void TestSettingsMenu::cleanup()
{
    m_program.reset();
}

void TestSettingsMenu::connectionValuesAndTheOpeningFailure()
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

void TestSettingsMenu::menuOpensEveryDialog()
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

VANTLE_TEST_BOTH_ENGINES(TestSettingsMenu)

#include "test_settings_menu.moc"
