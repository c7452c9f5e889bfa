#pragma once

// What the printing tests share: a program folder with databases, printers that record what is printed on
// them, a stored sale to print and the reviewed dumps of the forms beside the tests.
#include "data/Globals.h"
#include "data/SqlDialect.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"
#include "printing/Printers.h"
#include "support/FormDump.h"
#include "support/RecordingSurface.h"
#include "support/TestProgram.h"

#include <QTest>
#include <memory>

namespace PrintFixture {

inline const QString kPagePrinter = QStringLiteral("Test Page Printer");
inline const QString kReceiptPrinter = QStringLiteral("Test Receipt Printer");

// Opens a program with fresh databases; no system printers, no virtual ones, and two recording printers (one
// for pages, one for receipts) named in the settings.
inline std::unique_ptr<TestProgram> open()
{
    qunsetenv("VANTLE_PRINT_DIR");
    qunsetenv("VANTLE_RECEIPT_DEVICES");
    Printers::setSystemSource({});
    Printers::clearAdded();
    auto program = TestProgram::opened();
    Printers::add({kPagePrinter, [] { return std::make_unique<RecordingSurface>(true); }, {}});
    Printers::add({kReceiptPrinter, {}, [] { return std::make_unique<RecordingSurface>(true); }});
    gIni->SaveCtrl(QStringLiteral("DEF_PRINTER"), Variant(kPagePrinter));
    gIni->SaveCtrl(QStringLiteral("DEF_RECEIPT"), Variant(kReceiptPrinter));
    return program;
}

inline void close(std::unique_ptr<TestProgram> &program)
{
    Printers::clearAdded();
    program.reset();
}

// The recording surface of a printer of the list, as a page or receipt printer.
inline RecordingSurface &recorder(const QString &name, Printers::Role role)
{
    Printers::select(int(Printers::names().indexOf(name)), role);
    return dynamic_cast<RecordingSurface &>(Printer());
}

// A sale stored by 佐藤 on 2024-04-01 and its lines: name, producer, quantity and amount, and the price before a
// change and the change.
struct Line { const char *name; const char *farmer; const char *qty; const char *amt; const char *oPrc = "0"; const char *dPrc = "0"; };
inline void sale(int id, const char *amountSum, std::initializer_list<Line> lines, const char *rcv = "2000", const char *chg = "920")
{
    gDb->EXEC(QStringLiteral("INSERT INTO D_REG ( REG_ID, REG_NO, REG_DTM, SALES_DATE, REG_USER, DTL_CNT, AMT_SUM, RCV, CHG) "
                             "VALUES (%1,%1,#2024-04-01 09:30:00#,#2024-04-01 00:00:00#,'佐藤',1,%2,%3,%4)")
                  .arg(id).arg(QString::fromLatin1(amountSum), QString::fromLatin1(rcv), QString::fromLatin1(chg)));
    int no = 0;
    for (const Line &l : lines)
        gDb->EXEC(QStringLiteral("INSERT INTO D_REG_DTL ( REG_ID, DTL_NO, BCD, PRD_ID, BCD_NM, FMR_ID, FMR_NM, O_PRC, D_PRC, PRC, QTY, UNIT_ID, AMT) "
                                 "VALUES (%1,%2,'4900000000000',1,%3,7,%4,%5,%6,%5,%7,1,%8)")
                      .arg(id).arg(++no)
                      .arg(SqlDialect::text(QString::fromUtf8(l.name)), SqlDialect::text(QString::fromUtf8(l.farmer)),
                           QString::fromLatin1(l.oPrc), QString::fromLatin1(l.dPrc), QString::fromLatin1(l.qty),
                           QString::fromLatin1(l.amt)));
}

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

// The reviewed dump of a form, kept in this folder under that name.
inline QString reviewed(const char *name, const QString &actual)
{
    return FormDump::reviewed(QStringLiteral(VANTLE_PRINTING_TESTS "/") + QString::fromLatin1(name), actual);
}

} // namespace PrintFixture
