#include "app/Windows.h"

#include <stdexcept>

namespace {

LongLivedWindows& Registered() {
    static LongLivedWindows windows;
    return windows;
}

template <typename Window>
Window& Require(Window* window, const char* what) {
    if (window == nullptr) {
        throw std::logic_error(std::string("The window ") + what + " was not created.");
    }
    return *window;
}

}  // namespace

void RegisterLongLivedWindows(const LongLivedWindows& windows) {
    Registered() = windows;
}

TForm7& NotebookPrintingWindow() {
    return Require(Registered().notebookPrinting, "TForm7");
}

TForm14& ExpensesSearchWindow() {
    return Require(Registered().expensesSearch, "TForm14");
}

TForm15& ExpensesByMonthWindow() {
    return Require(Registered().expensesByMonth, "TForm15");
}
