#pragma once

// What the printing tests share: a program folder with databases, printers that record what is printed on
// them, and a stored sale to print.
#include "data/Globals.h"
#include "data/SqlDialect.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"
#include "printing/Printers.h"
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
    auto program = std::make_unique<TestProgram>();
    program->createDatabases(false);
    program->openAll();
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
    const int index = int(Printers::names().indexOf(name));
    Printers::select(index, role);
    return dynamic_cast<RecordingSurface &>(Printer());
}

inline void sale(int id, const QString &amountSum, const QString &user = QString(), const QString &rcv = QStringLiteral("2000"),
                 const QString &chg = QStringLiteral("920"))
{
    gDb->EXEC(QStringLiteral("INSERT INTO D_REG ( REG_ID, REG_NO, REG_DTM, SALES_DATE, REG_USER, DTL_CNT, AMT_SUM, RCV, CHG) "
                             "VALUES (%1,%1,#2024-04-01 09:30:00#,#2024-04-01 00:00:00#,%2,1,%3,%4,%5)")
                  .arg(id).arg(SqlDialect::text(user), amountSum, rcv, chg));
}

inline void saleLine(int id, int no, const QString &name, const QString &farmer, const QString &qty, const QString &amt,
                     const QString &oPrc = QStringLiteral("0"), const QString &dPrc = QStringLiteral("0"))
{
    gDb->EXEC(QStringLiteral("INSERT INTO D_REG_DTL ( REG_ID, DTL_NO, BCD, PRD_ID, BCD_NM, FMR_ID, FMR_NM, O_PRC, D_PRC, PRC, QTY, UNIT_ID, AMT) "
                             "VALUES (%1,%2,'4900000000000',1,%3,7,%4,%5,%6,%5,%7,1,%8)")
                  .arg(id).arg(no).arg(SqlDialect::text(name), SqlDialect::text(farmer), oPrc, dPrc, qty, amt));
}

// The receipt's width in twips.
constexpr double W = 4025.7;

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

inline const RecordingSurface::Text *findText(const RecordingSurface::Job &job, const QString &text)
{
    for (const auto &t : job.texts)
        if (t.text == text)
            return &t;
    return nullptr;
}

inline QStringList textsOf(const RecordingSurface::Job &job)
{
    QStringList out;
    for (const auto &t : job.texts)
        out.append(t.text);
    return out;
}

// The right end of a recorded text, measured as the surface measures it.
inline double rightEnd(const RecordingSurface::Text &t)
{
    RecordingSurface probe;
    probe.setFontName(t.font);
    probe.setFontSize(t.size);
    return t.x + probe.TextWidth(t.text);
}

} // namespace PrintFixture
