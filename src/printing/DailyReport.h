#pragma once

class Surface;

// The daily report of a closed sales day, from its settlement row (D_ADJ): one page, drawn at the margins
// (twips) on the printer (one print job) or on the preview's picture. A day without settlement draws nothing.
void PrintDailyRpt(Surface &surface, float left, float top, double reportDate);
