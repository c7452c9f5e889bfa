// A shop's business day through the real screens, as the program wires them at start: the calendar proposes the
// day, the register rings up sales (master and in-store codes, a return, a price and a quantity change, a deleted
// line) and prints receipts, closing the register hands over to the settlement, the counted cash closes the day,
// the monthly closing date brings the payment closing with its transfer request, the next day starts with the
// change kept, and the closed day is opened again. Every table is then compared with figures worked out here from
// the prices rung up. Runs on the SQLite files and again on the MariaDB test server when it is configured.
#include "DayInLife.h"
#include "support/BothEngines.h"

// The columns of D_ADJ in the order adjRow gives them.
static QString adjColumns()
{
    QString columns = QStringLiteral("SALES_DATE, ADJ_DTM, AMT_SUM, PREV_SUM, CASH_SUM, CHG_SUM, POST_SUM");
    for (int i = 1; i <= 10; ++i)
        columns += QStringLiteral(", AMT_%1, PREV_%1, CASH_%1, CHG_%1, POST_%1").arg(i, 2, 10, QLatin1Char('0'));
    return columns;
}

static QString adjKinds()
{
    return QStringLiteral("dtnnnnn") + QString(50, u'n');
}

void TestDayInLife::firstStartProposesToday()
{
    failOnException([&] {
        const auto screen = startRun({[this](frmSetCal *calendar) {
            QCOMPARE(calendar->SysDate(), kDay1);
            QTest::keyClick(calendar, Qt::Key_Return);
        }});
        QCOMPARE(screen, StartUp::Screen::Register);
        QCOMPARE(m_proposed, QList<double>{kDay1});
        QCOMPARE(gSalesDate, kDay1);
        QVERIFY(m_program->messages().shown().isEmpty());
        QVERIFY(m_reg);
        QCOMPARE(m_reg->lblDATE->text(), QStringLiteral("4/15"));
    });
}

void TestDayInLife::ringingUpTheSales()
{
    failOnException([&] {
        QVERIFY(m_reg);
        frmReg &f = *m_reg;

        // Sale 1: two master articles and two of an in-store label; the second article is taken off again and the
        // first one sold for 30 yen less.
        Sale s1;
        s1.day = kDay1;
        s1.regNo = 1;
        scan(m_m1.bcd);
        scan(m_m2.bcd);
        type(QStringLiteral("+"));
        QCOMPARE(f.lblQTY->text(), QStringLiteral("2"));
        scan(m_s1.bcd);
        s1.scanned = 3;
        QCOMPARE(f.fgrdHIST->rowCount(), 3);
        QCOMPARE(f.fgrdHIST->item(2, 1)->text(), m_s1.name);
        QCOMPARE(f.fgrdHIST->item(2, 2)->text(), m_producers[m_s1.fmr].name);
        QCOMPARE(f.lblSUM->text(), grouped(m_m1.price + m_m2.price + 2 * m_s1.price));
        clickLine(1);
        key(Qt::Key_F3);
        QCOMPARE(f.fgrdHIST->rowCount(), 2);
        QCOMPARE(f.fgrdHIST->item(1, 0)->text(), QStringLiteral("2"));
        QCOMPARE(f.fgrdHIST->item(1, 1)->text(), m_s1.name);
        const qint64 newPrice = m_m1.price - 30;
        clickLine(0);
        const auto price = ModalWatch::on<fdlEditPrc>([newPrice, this](fdlEditPrc *d) {
            QCOMPARE(d->lblO_PRC->text(), n(m_m1.price));
            QTRY_COMPARE(d->txtPRC->selectedText(), d->txtPRC->text());
            QTest::keyClicks(d->txtPRC, n(newPrice));
            QTest::keyClick(d->txtPRC, Qt::Key_Return);
            QTest::keyClick(d->focusWidget(), Qt::Key_Return); // on 設定
        });
        key(Qt::Key_F1);
        QVERIFY(price.seen());
        s1.lines = {{m_m1, newPrice, 1}, {m_s1, m_s1.price, 2}};
        QCOMPARE(f.fgrdHIST->item(0, 4)->text(), n(newPrice));
        QCOMPARE(f.lblSUM->text(), grouped(s1.total()));
        pay(s1, QStringLiteral("10000"));
        QVERIFY(m_program->messages().shown().isEmpty());

        // Sale 2: a master article of which three are sold (the quantity changed afterwards) and a dear in-store label.
        Sale s2;
        s2.day = kDay1;
        s2.regNo = 2;
        scan(m_m3.bcd);
        scan(m_s2.bcd);
        s2.scanned = 2;
        clickLine(0);
        const auto quantity = ModalWatch::on<fdlEditQty>([](fdlEditQty *d) {
            QTRY_COMPARE(d->txtQTY->selectedText(), d->txtQTY->text());
            QTest::keyClicks(d->txtQTY, QStringLiteral("3"));
            QTest::keyClick(d->txtQTY, Qt::Key_Return);
            QTest::keyClick(d->focusWidget(), Qt::Key_Return);
        });
        key(Qt::Key_F2);
        QVERIFY(quantity.seen());
        s2.lines = {{m_m3, m_m3.price, 3}, {m_s2, m_s2.price, 1}};
        QCOMPARE(f.fgrdHIST->item(0, 3)->text(), QStringLiteral("3"));
        QCOMPARE(f.lblSUM->text(), grouped(s2.total()));
        pay(s2, n((s2.total() / 1000 + 1) * 1000));

        // Sale 3: a customer brings one article back and gets its price out of the drawer.
        Sale s3;
        s3.day = kDay1;
        s3.regNo = 3;
        type(QStringLiteral("-"));
        scan(m_m2.bcd);
        s3.scanned = 1;
        s3.lines = {{m_m2, m_m2.price, -1}};
        QCOMPARE(f.lblSUM->text(), grouped(-m_m2.price));
        QCOMPARE(f.fgrdHIST->item(0, 4)->background().color(), frmReg::FailedColor);
        pay(s3, QStringLiteral("0"));

        QVERIFY(m_program->messages().shown().isEmpty());
        QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("D_REG")).toLong(), 3);
        // A receipt per sale, printed as the sale was stored: a picture of the slip and the printer's bytes (the
        // drawer and the cutter are jobs of their own).
        const QStringList slips = printed(QStringLiteral("*.png"));
        QCOMPARE(slips.size(), 3);
        for (const Sale &s : m_sales)
            QCOMPARE(printed(receiptName(s, QStringLiteral("png"))).size(), 1);
        for (const QString &name : slips) {
            const QImage slip(QDir(m_printDir).filePath(name));
            QVERIFY(!slip.isNull());
            QVERIFY(slip.height() > slip.width() / 4);
            QVERIFY(QFileInfo(QDir(m_printDir).filePath(name.left(name.size() - 3) + QStringLiteral("escpos"))).size() > 0);
        }
    });
}

void TestDayInLife::closingTheRegisterOpensTheSettlement()
{
    failOnException([&] {
        QVERIFY(m_reg);
        key(Qt::Key_Escape);
        m_adj = shownWindow<frmAdj>();
        QVERIFY(m_adj);
        QVERIFY(m_adj->isVisible());
        QVERIFY(gDb);
        QCOMPARE(m_adj->windowTitle(), QStringLiteral("日次集計"));
        // The first day of the shop starts from the change fund.
        checkOpeningFloat(m_adj, kChangeFund);
        QTRY_VERIFY(!m_reg);
    });
}

void TestDayInLife::countingClosesTheDayAndPaysTheProducers()
{
    failOnException([&] {
        QVERIFY(m_adj);
        frmAdj *screen = m_adj;
        screen->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(screen));
        const qint64 takings = m_sales[0].total() + m_sales[1].total() + m_sales[2].total();
        m_cash1 = drawer(kChangeFund, takings);
        // Of the 1,000-yen notes fewer are kept than the fund says.
        countTheDrawer(screen, m_cash1, {{3, kThousandsKept}});
        for (int i = 0; i < 10; ++i)
            m_change1[i] = i == 3 ? kThousandsKept : std::min(m_cash1[i], kChangeFund[i]);
        QCOMPARE(screen->lblCASH_SUM->text(), grouped(sumOf(kChangeFund) + takings));
        QCOMPARE(screen->lblCHG_SUM->text(), grouped(sumOf(m_change1)));
        QCOMPARE(screen->lblPOST_SUM->text(), grouped(sumOf(m_cash1) - sumOf(m_change1)));

        // The 15th is a closing day: the payment date is asked (the 25th) and confirmed, and the payment closing runs.
        m_program->clock().set(QDateTime(QDate(2024, 4, 15), QTime(18, 5)));
        m_closed1 = m_program->clock().currentDateTime();
        const auto payDate = ModalWatch::on<fdlSetPayDate>([](fdlSetPayDate *d) {
            QCOMPARE(d->date(), kPayDate);
            QCOMPARE(d->lblYM->text(), QStringLiteral("2024年4月"));
            QTest::keyClick(d, Qt::Key_Enter, Qt::KeypadModifier);
        });
        QTest::keyClick(screen, Qt::Key_Return);
        QVERIFY(payDate.seen());
        QCOMPARE(m_program->messages().prompts(), QStringList{QString::fromUtf8(DailyCloseText::Finished)});
        QVERIFY(!screen->isVisible());
        // The run is over: the database is let go (and, on file, copied into the backup folder).
        QVERIFY(!gDb);
        if (!m_onServer)
            QVERIFY(QFileInfo(m_program->path(QStringLiteral("backup/20240415.mdb"))).isFile());

        // The daily report and the transfer request are printed on the page printer.
        QCOMPARE(printed(QStringLiteral("日報_*.pdf")).size(), 1);
        const QStringList transfer = printed(QStringLiteral("振込依頼書*.pdf"));
        QCOMPARE(transfer.size(), 1);
        QFile pdf(QDir(m_printDir).filePath(transfer.first()));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");

        // What the close left behind, before anything else happens.
        InitObj();
        QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("D_REG")).toLong(), 0);
        QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("D_REG_DTL")).toLong(), 0);
        QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("B_REG")).toLong(), 3);
        QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("D_PAY")).toLong(), 1);
        ReleaseObj();
        m_program->messages().clear();
    });
}

void TestDayInLife::nextDayStartsWithYesterdaysChange()
{
    failOnException([&] {
        m_program->clock().set(QDateTime(QDate(2024, 4, 16), QTime(8, 50)));
        const auto screen = startRun({[](frmSetCal *calendar) {
            QCOMPARE(calendar->SysDate(), kDay2);
            QTest::keyClick(calendar, Qt::Key_Return);
        }});
        QCOMPARE(screen, StartUp::Screen::Register);
        QCOMPARE(gSalesDate, kDay2);
        QVERIFY(m_reg);
        QCOMPARE(m_reg->lblDATE->text(), QStringLiteral("4/16"));

        // One sale: a master article and an in-store label. The receipt numbers start again, the sale ids go on.
        Sale s4;
        s4.day = kDay2;
        s4.regNo = 1;
        scan(m_s1.bcd);
        scan(m_m1.bcd);
        s4.scanned = 2;
        s4.lines = {{m_s1, m_s1.price, 1}, {m_m1, m_m1.price, 1}};
        QCOMPARE(m_reg->lblSUM->text(), grouped(s4.total()));
        pay(s4, QStringLiteral("2000"));
        QCOMPARE(printed(QStringLiteral("*.png")).size(), 4);
        QCOMPARE(printed(receiptName(s4, QStringLiteral("png"))).size(), 1);

        key(Qt::Key_Escape);
        m_adj = shownWindow<frmAdj>();
        QVERIFY(m_adj);
        frmAdj *adj = m_adj;
        adj->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(adj));
        // Yesterday's change kept is today's opening float, the 1,000-yen row included.
        checkOpeningFloat(adj, m_change1);

        m_cash2 = drawer(m_change1, s4.total());
        countTheDrawer(adj, m_cash2, {});
        for (int i = 0; i < 10; ++i)
            m_change2[i] = std::min(m_cash2[i], kChangeFund[i]);
        m_program->clock().set(QDateTime(QDate(2024, 4, 16), QTime(18, 10)));
        m_closed2 = m_program->clock().currentDateTime();
        // No closing date: no payment date, no payment closing.
        const auto payDate = ModalWatch::on<fdlSetPayDate>([](fdlSetPayDate *) {});
        QTest::keyClick(adj, Qt::Key_Return);
        QVERIFY(!payDate.seen());
        QCOMPARE(m_program->messages().prompts(), QStringList{QString::fromUtf8(DailyCloseText::Finished)});
        QVERIFY(!gDb);
        QCOMPARE(printed(QStringLiteral("日報_*.pdf")).size(), 2);
        QCOMPARE(printed(QStringLiteral("振込依頼書*.pdf")).size(), 1);

        InitObj();
        QCOMPARE(rows(QStringLiteral("SELECT ") + adjColumns() + QStringLiteral(" FROM D_ADJ WHERE SALES_DATE=")
                          + SqlDialect::date(kDay2),
                      adjKinds()),
                 QStringList{adjRow(kDay2, m_closed2, s4.total(), m_change1, m_cash2, m_change2)});
        ReleaseObj();
        m_program->messages().clear();
    });
}

void TestDayInLife::reopeningTheClosedDayBringsItsSalesBack()
{
    failOnException([&] {
        m_program->clock().set(QDateTime(QDate(2024, 4, 17), QTime(8, 45)));
        // The 15th is paid out and refused; the 16th, the last closed day, is opened again.
        m_program->messages().queueAnswer(Msg::OK);
        m_program->messages().queueAnswer(Msg::Yes);
        const auto screen = startRun({
            [](frmSetCal *calendar) {
                QCOMPARE(calendar->SysDate(), kDay3);
                QTest::keyClick(calendar, Qt::Key_Minus, Qt::KeypadModifier);
                QTest::keyClick(calendar, Qt::Key_Minus, Qt::KeypadModifier);
                QTest::keyClick(calendar, Qt::Key_Return);
            },
            [](frmSetCal *calendar) {
                QCOMPARE(calendar->SysDate(), kDay3);
                QTest::keyClick(calendar, Qt::Key_Minus, Qt::KeypadModifier);
                QTest::keyClick(calendar, Qt::Key_Return);
            },
        });
        QCOMPARE(screen, StartUp::Screen::Register);
        QCOMPARE(m_proposed, (QList<double>{kDay3, kDay3}));
        QCOMPARE(m_program->messages().prompts(), (QStringList{StartUp::AlreadyPaid, StartUp::ReopenQuestion}));
        QCOMPARE(m_program->messages().shown().last().answer, int(Msg::Yes));
        QCOMPARE(gSalesDate, kDay2);
        QVERIFY(m_reg);
        QCOMPARE(m_reg->lblDATE->text(), QStringLiteral("4/16"));
        QCOMPARE(StartUp::CheckSalesDate(kDay2).state, StartUp::DayState::Open);
    });
}

void TestDayInLife::everyTableHoldsTheDays()
{
    failOnException([&] {
        QVERIFY(gDb);
        const QString user = QStringLiteral("レジ1");

        // Sales: the reopened day's sale is back in D_REG; the backup tables keep every closed day's sales.
        QStringList heads, lines;
        for (const Sale &s : m_sales) {
            heads << row({n(s.regId), n(s.regNo), s.at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), dateText(s.day),
                          user, n(s.scanned), n(s.total()), n(s.tendered), n(s.tendered - s.total())});
            for (int i = 0; i < s.lines.size(); ++i) {
                const Line &l = s.lines[i];
                lines << row({n(s.regId), n(i + 1), l.article.bcd, n(l.article.prd), l.article.name, n(l.article.fmr),
                              m_producers[l.article.fmr].name, n(l.article.price), n(l.article.price - l.price), n(l.price),
                              n(l.qty), n(l.article.unit), n(l.amount())});
            }
        }
        const QString headColumns = QStringLiteral("REG_ID, REG_NO, REG_DTM, SALES_DATE, REG_USER, DTL_CNT, AMT_SUM, RCV, CHG");
        const QString lineColumns = QStringLiteral("REG_ID, DTL_NO, BCD, PRD_ID, BCD_NM, FMR_ID, FMR_NM, O_PRC, D_PRC, PRC, "
                                                   "QTY, UNIT_ID, AMT");
        const QString headKinds = QStringLiteral("nntdsnnnn");
        const QString lineKinds = QStringLiteral("nnsnsnsnnnnnn");
        const qsizetype day2Lines = m_sales[3].lines.size();
        QCOMPARE(rows(QStringLiteral("SELECT ") + headColumns + QStringLiteral(" FROM B_REG ORDER BY REG_ID"), headKinds), heads);
        QCOMPARE(rows(QStringLiteral("SELECT ") + lineColumns + QStringLiteral(" FROM B_REG_DTL ORDER BY REG_ID, DTL_NO"),
                      lineKinds),
                 lines);
        QCOMPARE(rows(QStringLiteral("SELECT ") + headColumns + QStringLiteral(" FROM D_REG ORDER BY REG_ID"), headKinds),
                 heads.mid(3));
        QCOMPARE(rows(QStringLiteral("SELECT ") + lineColumns + QStringLiteral(" FROM D_REG_DTL ORDER BY REG_ID, DTL_NO"),
                      lineKinds),
                 lines.mid(lines.size() - day2Lines));
        QCOMPARE(text(gDb->GetCtrl(QStringLiteral("NEW_REG_ID"))), QStringLiteral("4"));

        // The settlement of the 15th; the 16th's went with the reopening.
        const qint64 takings1 = m_sales[0].total() + m_sales[1].total() + m_sales[2].total();
        QCOMPARE(rows(QStringLiteral("SELECT ") + adjColumns() + QStringLiteral(" FROM D_ADJ ORDER BY SALES_DATE"), adjKinds()),
                 QStringList{adjRow(kDay1, m_closed1, takings1, kChangeFund, m_cash1, m_change1)});

        // The 15th per producer, paid on the payment closing of the 15th.
        QStringList adjDtl, payDtl;
        qint64 qtySum = 0, salesSum = 0, feeSum = 0, paySum = 0, bankSum = 0, realSum = 0;
        for (const auto &[fmr, day] : byProducer(m_sales, kDay1)) {
            adjDtl << row({dateText(kDay1), n(fmr), n(day.qty), n(day.amount), dateText(kDay1)});
            const Producer &p = m_producers[fmr];
            const qint64 fee = day.amount * kFeePercent / 100; // the fraction of a yen stays with the producer
            const qint64 due = day.amount - fee;
            const qint64 bank = due < 30000 ? p.fee1 : p.fee2;
            payDtl << row({dateText(kDay1), dateText(kPayDate), n(fmr), n(day.qty), n(day.amount), n(fee), n(due), p.bank,
                           p.branch, p.kind, p.account, p.holder, n(bank), n(due - bank)});
            qtySum += day.qty;
            salesSum += day.amount;
            feeSum += fee;
            paySum += due;
            bankSum += bank;
            realSum += due - bank;
        }
        QCOMPARE(adjDtl.size(), 5);
        QCOMPARE(salesSum, takings1);
        QCOMPARE(rows(QStringLiteral("SELECT SALES_DATE, FMR_ID, SALES_QTY, SALES_AMT, CLS_DATE FROM D_ADJ_DTL "
                                     "ORDER BY SALES_DATE, FMR_ID"),
                      QStringLiteral("dnnnd")),
                 adjDtl);
        QCOMPARE(rows(QStringLiteral("SELECT CLS_DATE, PAY_DATE, FMR_ID, SALES_QTY, SALES_AMT, FEE_AMT, PAY_AMT, BANK_NM, "
                                     "BR_NM, ACC_KBN, ACC_NO, ACC_NM, BANK_FEE, REAL_AMT FROM D_PAY_DTL ORDER BY FMR_ID"),
                      QStringLiteral("ddnnnnnsssssnn")),
                 payDtl);
        QCOMPARE(rows(QStringLiteral("SELECT CLS_DATE, PAY_DATE, SALES_QTY_SUM, SALES_AMT_SUM, FEE_AMT_SUM, PAY_AMT_SUM, "
                                     "BANK_FEE_SUM, REAL_AMT_SUM FROM D_PAY"),
                      QStringLiteral("ddnnnnnn")),
                 QStringList{row({dateText(kDay1), dateText(kPayDate), n(qtySum), n(salesSum), n(feeSum), n(paySum),
                                  n(bankSum), n(realSum)})});
    });
}

void TestDayInLife::endingTheRunClosesTheDatabase()
{
    failOnException([&] {
        QVERIFY(m_reg);
        // The reopened day waits for its close again: the settlement takes over, with the same opening float.
        key(Qt::Key_Escape);
        m_adj = shownWindow<frmAdj>();
        QVERIFY(m_adj);
        checkOpeningFloat(m_adj, m_change1);
        QTest::keyClick(m_adj, Qt::Key_Escape);
        QVERIFY(!gDb);
        QCOMPARE(m_program->messages().prompts().size(), 2); // nothing said since the start
        if (!m_onServer)
            QVERIFY(QFileInfo(m_program->path(QStringLiteral("backup/20240417.mdb"))).isFile());
    });
}

VANTLE_TEST_BOTH_ENGINES(TestDayInLife)
