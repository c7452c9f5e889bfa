#pragma once

#include "base/Progress.h"
#include "payment/PayStatement.h"

class Surface;

// The printed payment statement: one A4 page per producer (a producer with more sales days than a page
// holds continues on further pages), drawn on any Surface like the other forms: the preview's picture, a
// printer, a PDF.
namespace PayStatementForm {

inline constexpr int DaysPerPage = 25;

// Pages of one producer's statement (at least one).
int Pages(const PayStatement &statement);
// One page (from 1) at the margins (twips). Draws only; the caller ends the job.
void PrintPage(Surface &surface, float left, float top, const PayStatementSet &set, const PayStatement &statement, int page);
// Every page of every statement of the set; on a printer each producer is one print job. `progress` counts
// the statements drawn of all.
void PrintAll(Surface &surface, float left, float top, const PayStatementSet &set, Progress &progress = Progress::none());

} // namespace PayStatementForm
