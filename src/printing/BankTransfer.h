#pragma once

#include "base/Currency.h"

#include <QList>
#include <QString>

class Surface;

// One line of the transfer request: one producer's payment of a payment closing.
struct TrnRec
{
    qint32 NO = 0;          // line number on its page (1..20), set while the page is drawn
    double CLS_DATE = 0;
    double PAY_DATE = 0;
    qint32 FMR_ID = 0;
    Currency PAY_AMT;
    QString BANK_NM;
    QString BR_NM;
    QString ACC_KBN;
    QString ACC_NO;
    QString ACC_NM;
    Currency BANK_FEE;
    Currency REAL_AMT;
};

// The lines of the transfer request being printed or previewed, in the order the database returned them.
extern QList<TrnRec> gTrn;

inline constexpr int kTrnLinesPerPage = 20;

// Loads the payment lines of the closing of that day into gTrn and returns their number. With none, gTrn
// stays as it was and the result is 0.
qint16 LoadTrnData(double closingDate);
// Pages of the loaded lines: 1..20 lines one page, 21..40 two, none for no lines.
int TrnPageCount();
// Every page, each one print job.
void PrintBankTrn(Surface &surface, float left, float top);
// One page (from 1) at the margins (twips); pages below 1 or beyond the lines draw nothing.
void PrintBankTrnPage(Surface &surface, float left, float top, int page);
// The texts of one line in its slot, and the frame of a slot.
void PrintTrnLine(Surface &surface, double originX, double slotTop, const TrnRec &line);
void DrawTrnFrame(Surface &surface, double originX, double slotTop);
