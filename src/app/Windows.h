#pragma once

class TForm7;
class TForm14;
class TForm15;

// The windows that live for the whole run. Program entry creates them and
// registers them here; a window that shows one of them reaches it through
// these calls, never through a global of its own.
struct LongLivedWindows {
    TForm7* notebookPrinting = nullptr;
    TForm14* expensesSearch = nullptr;
    TForm15* expensesByMonth = nullptr;
};

// Registers the run's windows; an empty set withdraws them.
void RegisterLongLivedWindows(const LongLivedWindows& windows);

// Throw std::logic_error when the window was not registered, a fault of the
// program's wiring, shown like any other error rather than a crash.
TForm7& NotebookPrintingWindow();
TForm14& ExpensesSearchWindow();
TForm15& ExpensesByMonthWindow();
