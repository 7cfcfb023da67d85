#pragma once

#include <QIcon>
#include <QString>
#include <optional>

// The desktop calculators tried, in this order, on PATH.
inline constexpr const char* kCalculatorPrograms[] = {"gnome-calculator", "kcalc", "galculator",
                                                      "mate-calc", "xcalc"};

// The full path of the first calculator found on PATH; empty when none is.
QString FindCalculator();

// Starts the first calculator found, detached: the program does not wait
// for it, passes nothing to it and says nothing when none can be started.
void StartCalculator();

// Whether the desktop offers a notification area for the tray icon. Tests
// pin the answer to drive both kinds of desktop; std::nullopt asks the
// desktop again.
bool SystemTrayAvailable();
void SetSystemTrayAvailableForTests(std::optional<bool> available);

// The program's icon: a small calendar page, drawn rather than shipped so
// that it is crisp at every size the desktop asks for.
QIcon ApplicationIcon();
