#include "DayInLife.h"

QString dateText(double d)
{
    return Format::date(d, QStringLiteral("yyyy-mm-dd"));
}

QString grouped(qint64 yen)
{
    return QLocale(QLocale::English).toString(yen);
}

qint64 sumOf(const Counts &counts)
{
    qint64 sum = 0;
    for (int i = 0; i < 10; ++i)
        sum += qint64(counts[i]) * kDenominations[i];
    return sum;
}

// The float plus the day's takings, paid in as few pieces as possible.
Counts drawer(const Counts &opening, qint64 takings)
{
    Counts c = opening;
    for (int i = 0; i < 10; ++i) {
        c[i] += int(takings / kDenominations[i]);
        takings %= kDenominations[i];
    }
    return c;
}

QString text(const Variant &v)
{
    return v.isNull() || v.isEmpty() ? QString() : v.toString();
}

qint64 yen(const Variant &v)
{
    return v.isNull() || v.isEmpty() ? 0 : v.toCurrency().wholePart();
}

// The rows of a query on gDb, each as its values joined with "|". kinds has one letter per column: d a date,
// t a date and time, n a number, s a text (Null and empty both ""), and every Null shows as "-" except in texts.
QStringList rows(const QString &sql, const QString &kinds)
{
    QStringList out;
    Recordset rs = gDb->GetFwdOnlyRst(sql);
    for (; !rs.EOF_(); rs.MoveNext()) {
        QStringList values;
        for (int i = 0; i < kinds.size(); ++i) {
            const Variant v = rs.Fields(i);
            const QChar kind = kinds.at(i);
            if (kind == u's')
                values << text(v);
            else if (v.isNull())
                values << QStringLiteral("-");
            else if (kind == u'd')
                values << dateText(v.toDate());
            else if (kind == u't')
                values << Format::date(v.toDate(), QStringLiteral("yyyy-mm-dd hh:nn:ss"));
            else
                values << v.toCurrency().toPlainText();
        }
        out << values.join(u'|');
    }
    return out;
}

QString row(std::initializer_list<QString> values)
{
    return QStringList(values).join(u'|');
}

QString n(qint64 v)
{
    return QString::number(v);
}

std::map<qint32, ProducerDay> byProducer(const QList<Sale> &sales, double day)
{
    std::map<qint32, ProducerDay> out;
    for (const Sale &s : sales) {
        if (s.day != day)
            continue;
        for (const Line &l : s.lines) {
            out[l.article.fmr].qty += l.qty;
            out[l.article.fmr].amount += l.amount();
        }
    }
    return out;
}

void TestDayInLife::initTestCase()
{
    failOnException([&] {
        m_program = std::make_unique<TestProgram>(QDateTime(QDate(2024, 4, 15), QTime(8, 55)));
        m_program->createDatabases(true, m_onServer);
        m_printDir = m_program->path(QStringLiteral("print"));
        m_previousPrintDir = qgetenv("VANTLE_PRINT_DIR");
        qputenv("VANTLE_PRINT_DIR", m_printDir.toUtf8());
        qunsetenv("VANTLE_RECEIPT_DEVICES");
        Printers::setSystemSource({});
        Printers::clearAdded();
        Printers::reload();
        QVERIFY(Printers::names().contains(Printers::VirtualPageName));
        QVERIFY(Printers::names().contains(Printers::VirtualReceiptName));
        m_program->openAll();
        loadArticles();
        ReleaseObj();
        m_sales.clear();
        m_nextRegId = 1;
    });
}

void TestDayInLife::cleanupTestCase()
{
    for (QWidget *w : {static_cast<QWidget *>(m_reg.data()), static_cast<QWidget *>(m_adj.data())}) {
        if (w) {
            w->setAttribute(Qt::WA_DeleteOnClose, false);
            delete w;
        }
    }
    Printers::setSystemSource({});
    m_program.reset();
    if (m_previousPrintDir.isEmpty())
        qunsetenv("VANTLE_PRINT_DIR");
    else
        qputenv("VANTLE_PRINT_DIR", m_previousPrintDir);
    Printers::reload();
}

void TestDayInLife::loadArticles()
{
    // Three registered barcodes of three producers with bank data, and two in-store labels.
    QList<Article> found;
    Recordset rs = gMst->GetFwdOnlyRst(QStringLiteral("SELECT M_PRD_BCD.BCD, M_PRD_BCD.PRD_ID, M_PRD_BCD.FMR_ID, "
                                                      "M_PRD_BCD.BCD_NM, M_PRD_BCD.PRC, M_PRD_BCD.UNIT_ID FROM M_PRD_BCD "
                                                      "INNER JOIN M_FMR ON M_FMR.FMR_ID=M_PRD_BCD.FMR_ID "
                                                      "WHERE M_PRD_BCD.PRC>=100 AND M_PRD_BCD.PRC<=800 "
                                                      "AND M_FMR.FEE_1 IS NOT NULL ORDER BY M_PRD_BCD.BCD"));
    for (; !rs.EOF_() && found.size() < 3; rs.MoveNext()) {
        Article a{text(rs.Fields(0)), qint32(yen(rs.Fields(1))), qint32(yen(rs.Fields(2))), text(rs.Fields(3)),
                  yen(rs.Fields(4)), qint32(yen(rs.Fields(5)))};
        bool sameProducer = false;
        for (const Article &f : found)
            sameProducer = sameProducer || f.fmr == a.fmr;
        if (!sameProducer && a.fmr != 1 && a.fmr != 5)
            found << a;
    }
    rs.Close();
    QCOMPARE(found.size(), 3);
    m_m1 = found[0];
    m_m2 = found[1];
    m_m3 = found[2];
    const QStringList labels = DemoMasters::inStoreSampleCodes();
    m_s1 = inStore(labels.value(0), 1, 1, 250);
    m_s2 = inStore(labels.value(13), 58, 5, 1200);

    for (qint32 fmr : {m_m1.fmr, m_m2.fmr, m_m3.fmr, m_s1.fmr, m_s2.fmr}) {
        Recordset p = gMst->GetFwdOnlyRst(QStringLiteral("SELECT FMR_NM, BANK_NM, BR_NM, ACC_KBN, ACC_NO, ACC_NM, "
                                                         "FEE_1, FEE_2 FROM M_FMR WHERE FMR_ID=%1").arg(fmr));
        QVERIFY(!p.EOF_());
        m_producers[fmr] = {text(p.Fields(0)), text(p.Fields(1)), text(p.Fields(2)), text(p.Fields(3)),
                            text(p.Fields(4)), text(p.Fields(5)), yen(p.Fields(6)), yen(p.Fields(7))};
    }
}

Article TestDayInLife::inStore(const QString &code, qint32 prd, qint32 fmr, qint64 price)
{
    // The label: product, producer and price in tens of yen.
    const QString digits = QStringLiteral("%1%2%3").arg(prd, 3, 10, QLatin1Char('0')).arg(fmr, 4, 10, QLatin1Char('0'))
                               .arg(price / 10, 4, 10, QLatin1Char('0'));
    if (!code.startsWith(digits))
        qWarning("unexpected in-store label %s", qPrintable(code));
    return {code, prd, fmr, text(gMst->DLookup(QStringLiteral("PRD_NM"), QStringLiteral("M_PRD"),
                                               QStringLiteral("PRD_ID=%1").arg(prd))),
            price, 1};
}

StartUp::Screen TestDayInLife::startRun(QList<CalendarStep> steps)
{
    m_proposed.clear();
    InitObj();
    const StartUp::Screen screen = StartUp::ChooseSalesDate([this, &steps] {
        frmSetCal calendar;
        m_proposed << calendar.SysDate();
        if (steps.isEmpty())
            return StartUp::CalendarExit::EndProgram;
        const auto step = ModalWatch::on<frmSetCal>(steps.takeFirst());
        switch (calendar.exec()) {
        case QDialog::Accepted:
            return StartUp::CalendarExit::Confirmed;
        case frmSetCal::EndProgram:
            return StartUp::CalendarExit::EndProgram;
        default:
            return StartUp::CalendarExit::Closed;
        }
    });
    if (screen == StartUp::Screen::Register)
        showRegister();
    else if (screen == StartUp::Screen::Settlement)
        m_adj = OpenSettlement();
    return screen;
}

void TestDayInLife::showRegister()
{
    m_reg = OpenRegister();
    m_reg->resize(1020, 752);
    m_reg->show();
    m_reg->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_reg));
}

void TestDayInLife::key(Qt::Key k, Qt::KeyboardModifiers modifiers)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : static_cast<QWidget *>(m_reg);
    QTest::keyClick(target, k, modifiers);
}

void TestDayInLife::type(const QString &keys)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : static_cast<QWidget *>(m_reg);
    QTest::keyClicks(target, keys);
}

void TestDayInLife::scan(const QString &code)
{
    type(code);
    key(Qt::Key_Return);
}

void TestDayInLife::clickLine(int row)
{
    QTableWidget *grid = m_reg->fgrdHIST;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(row, 1)).center());
    QCOMPARE(grid->currentRow(), row);
}

void TestDayInLife::pay(Sale &sale, const QString &tendered)
{
    key(Qt::Key_Return);
    QCOMPARE(m_reg->RegMode(), int(frmReg::TenderMode));
    type(tendered);
    key(Qt::Key_Return);
    QCOMPARE(m_reg->RegMode(), int(frmReg::ChangeMode));
    sale.tendered = tendered.toLongLong();
    QCOMPARE(m_reg->lblCHG->text(), grouped(sale.tendered - sale.total()));
    m_program->clock().advanceMSecs(7 * 60 * 1000);
    sale.at = m_program->clock().currentDateTime();
    sale.regId = m_nextRegId++;
    key(Qt::Key_Return);
    QCOMPARE(m_reg->RegMode(), int(frmReg::ScanMode));
    QCOMPARE(m_reg->mLastRegId(), sale.regId);
    QCOMPARE(m_reg->fgrdHIST->rowCount(), 0);
    // The change stays on the screen for the customer.
    QCOMPARE(m_reg->lblCHG->text(), grouped(sale.tendered - sale.total()));
    m_sales << sale;
}

void TestDayInLife::countTheDrawer(frmAdj *screen, const Counts &cash, const std::map<int, int> &changeTyped)
{
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(screen->RowIdx(), qint16(i));
        if (cash[i] != 0)
            QTest::keyClicks(screen, QString::number(cash[i]));
        QTest::keyClick(screen, Qt::Key_Return);
    }
    QCOMPARE(screen->ColIdx(), qint16(1));
    // The last count's change follows it like every other row's.
    QCOMPARE(screen->lblCHG[9]->text(), QString::number(std::min(cash[9], kChangeFund[9])));
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(screen->RowIdx(), qint16(i));
        const auto typed = changeTyped.find(i);
        if (typed != changeTyped.end())
            QTest::keyClicks(screen, QString::number(typed->second));
        QTest::keyClick(screen, Qt::Key_Return);
    }
    QCOMPARE(screen->RowIdx(), AdjGrid::ConfirmRow);
    QVERIFY(screen->lblMSG->isVisible());
}

void TestDayInLife::checkOpeningFloat(frmAdj *screen, const Counts &prev)
{
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(screen->lblPREV[i]->text(), QString::number(prev[i]));
        QCOMPARE(screen->lblDEF[i]->text(), QString::number(kChangeFund[i]));
        QCOMPARE(screen->lblCASH[i]->text(), QStringLiteral("0"));
    }
    QCOMPARE(screen->lblPREV_SUM->text(), grouped(sumOf(prev)));
    QCOMPARE(screen->lblDEF_SUM->text(), grouped(sumOf(kChangeFund)));
}

QStringList TestDayInLife::printed(const QString &pattern) const
{
    return QDir(m_printDir).entryList({pattern}, QDir::Files, QDir::Name);
}

QString TestDayInLife::receiptName(const Sale &sale, const QString &extension)
{
    return QStringLiteral("レシート_") + sale.at.toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral("*.")
        + extension;
}

QString TestDayInLife::adjRow(double day, const QDateTime &at, qint64 takings, const Counts &prev, const Counts &cash,
                              const Counts &change) const
{
    Counts post {};
    for (int i = 0; i < 10; ++i)
        post[i] = cash[i] - change[i];
    QStringList v{dateText(day), at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), n(takings)};
    for (const Counts *column : std::initializer_list<const Counts *>{&prev, &cash, &change, &post})
        v << n(sumOf(*column));
    for (int i = 0; i < 10; ++i)
        v << n(kDenominations[i]) << n(prev[i]) << n(cash[i]) << n(change[i]) << n(post[i]);
    return v.join(u'|');
}
