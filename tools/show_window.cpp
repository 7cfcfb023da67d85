// Shows one window of the program by its class name, for a person to look at
// (screenshots under Xvfb).
//   build/tools/show-window TForm65
// The expenses windows take two criteria and show the window after a search:
//   build/tools/show-window TForm14 1/3/2007 31/3/2007

#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QWidget>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>

#include "access/Unit165.h"
#include "access/Unit17.h"
#include "access/Unit27.h"
#include "app/Unit1.h"
#include "app/Unit100.h"
#include "app/Unit62.h"
#include "app/Windows.h"
#include "calc/Unit65.h"
#include "calendar/MonthCalendar.h"
#include "contacts/Unit10.h"
#include "core/AppGlobals.h"
#include "core/ProgramLocale.h"
#include "day/Unit2.h"
#include "expenses/Unit13.h"
#include "expenses/Unit14.h"
#include "expenses/Unit15.h"
#include "expenses/Unit5.h"
#include "notebook/Unit6.h"
#include "notebook/Unit7.h"
#include "sticky/Unit35.h"
#include "store/ConnectionString.h"
#include "widgets/WindowStyle.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    ApplyProgramLocale();
    widgets::InstallFontSubstitutions();
    // The calendar, the day task table, the contacts and the expenses need data.mdb in the
    // working directory; the table opens on today's row.
    app().AppDirectory = store::CurrentAppDirectory();
    app().AppConnectionString = store::BuildConnectionString(app().AppDirectory);
    std::unique_ptr<TForm1> calendar;
    std::unique_ptr<TForm14> search;
    std::unique_ptr<TForm15> byMonth;
    const std::map<QString, std::function<QWidget*()>> windows{
        {QStringLiteral("TForm1"), [] { return new TForm1(StartupMode::CalendarOnly); }},
        {QStringLiteral("TForm2"),
         [&calendar] {
             calendar = std::make_unique<TForm1>(StartupMode::CalendarOnly);
             app().SelectedDay = app().TodayDay;
             return calendar->Calendar()->PrepareSelectedDayTable().release();
         }},
        {QStringLiteral("TForm10"), [] { return new TForm10; }},
        {QStringLiteral("TForm13"), [] { return new TForm13; }},
        {QStringLiteral("TForm100"), [] { return new TForm100; }},
        {QStringLiteral("TForm14"), [] { return new TForm14; }},
        {QStringLiteral("TForm15"), [] { return new TForm15; }},
        {QStringLiteral("TForm165"), [] { return new TForm165; }},
        {QStringLiteral("TForm17"), [] { return new TForm17; }},
        {QStringLiteral("TForm27"), [] { return new TForm27; }},
        {QStringLiteral("TForm35"), [] { return new TForm35; }},
        {QStringLiteral("TForm5"),
         [&search, &byMonth] {
             search = std::make_unique<TForm14>();
             byMonth = std::make_unique<TForm15>();
             RegisterLongLivedWindows({nullptr, search.get(), byMonth.get()});
             return new TForm5;
         }},
        {QStringLiteral("TForm6"), [] { return new TForm6; }},
        {QStringLiteral("TForm7"), [] { return new TForm7; }},
        {QStringLiteral("TForm62"), [] { return new TForm62; }},
        {QStringLiteral("TForm65"), [] { return new TForm65; }},
    };
    const auto found =
        argc == 2 || argc == 4 ? windows.find(QString::fromLocal8Bit(argv[1])) : windows.end();
    if (found == windows.end()) {
        std::fprintf(stderr,
                     "usage: show-window "
                     "TForm1|TForm2|TForm5|TForm6|TForm7|TForm10|TForm13|TForm14|TForm15|TForm100|"
                     "TForm165|TForm17|TForm27|TForm35|TForm62|TForm65 [from to]\n");
        return 2;
    }
    const std::unique_ptr<QWidget> window(found->second());
    if (window == nullptr) {
        // The day's row could not be written; the program has said why.
        return 1;
    }
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->show();
    if (argc == 4) {
        window->findChild<QLineEdit*>(QStringLiteral("Edit1"))
            ->setText(QString::fromLocal8Bit(argv[2]));
        window->findChild<QLineEdit*>(QStringLiteral("Edit2"))
            ->setText(QString::fromLocal8Bit(argv[3]));
        window->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    }
    return QApplication::exec();
}
