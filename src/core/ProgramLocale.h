#pragma once

class QLocale;

// The program shows Greek regional settings whatever the machine's LANG:
// day/month/year with "/", the decimal comma, Greek month and day names.
// Program entry applies it before any window exists.
void ApplyProgramLocale();

// Greek (Greece): the locale every date, number and name follows.
const QLocale& ProgramLocale();
