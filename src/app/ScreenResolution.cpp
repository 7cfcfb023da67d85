#include "app/ScreenResolution.h"

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>

#include "core/AppGlobals.h"
#include "widgets/Messages.h"

namespace {

// The first text starts with a Latin "H" and writes "Tο" with a Latin "T";
// the third has two blanks before "οι". They are the program's texts as
// users know them.
const QString kAskToSwitch = QStringLiteral(
    "H ανάλυση της οθόνης πρέπει να είναι 1024 x 768 pixels. Ο υπολογιστής σου είναι ρυθμισμένος "
    "σε διαφορετική ανάλυση. Tο λογισμικό για να λειτουργήσει σωστά χρειάζεται ανάλυση οθόνης 1024 "
    "x 768 pixels.\r\rΝα γίνει η αλλαγή ανάλυσης της οθόνης αυτόματα;");
const QString kSwitched = QStringLiteral(
    "Η αλλαγή της ανάλυσης οθόνης έχει πραγματοποιηθεί με επιτυχία.\rΤο λογισμικό θα τερματίσει "
    "την λειτουργία του.\r\rΦόρτωσε ξανά το λογισμικό ώστε να\rμπορέσει να ξεκινήσει με την "
    "ανάλυση οθόνης 1024 x 768 pixels.");
const QString kNotSwitched = QStringLiteral(
    "Ο υπολογιστής σου είναι ρυθμισμένος σε διαφορετική ανάλυση οθόνης από το 1024 x 768 "
    "pixels.\r\rΑν δεν εμφανίζονται σωστά  οι οθόνες πρέπει να αλλάξεις την ανάλυση οθόνης στο "
    "1024 x 768 pixels.");
const QString kCheckFailed = QStringLiteral(
    "Παρουσιάστηκε σφάλμα με την ανάλυση της οθόνης.\rΗ ανάλυση της οθόνης πρέπει να είναι 1024 x "
    "768 pixels.");

DisplayAccess& Access() {
    static DisplayAccess access;
    return access;
}

// xrandr answers at once on a working display. Start-up waits for it on the
// user-interface thread, so both calls share this budget and a display that
// does not answer counts as a switch that did not happen.
constexpr int kXrandrMilliseconds = 3000;

ScreenGeometry PrimaryScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        throw DisplayModeError("There is no screen to measure.");
    }
    return {screen->size(), screen->devicePixelRatio()};
}

QString RunXrandr(const QStringList& arguments, const QDeadlineTimer& deadline, bool* succeeded) {
    QProcess xrandr;
    xrandr.start(QStringLiteral("xrandr"), arguments);
    *succeeded = xrandr.waitForFinished(int(deadline.remainingTime())) &&
                 xrandr.exitStatus() == QProcess::NormalExit && xrandr.exitCode() == 0;
    return QString::fromLocal8Bit(xrandr.readAllStandardOutput());
}

// The output marked primary, else the first connected one.
QString PrimaryOutputName(const QString& query) {
    QString firstConnected;
    for (const QString& line : query.split(QLatin1Char('\n'))) {
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() < 2 || words.at(1) != QLatin1String("connected")) {
            continue;
        }
        if (words.size() > 2 && words.at(2) == QLatin1String("primary")) {
            return words.at(0);
        }
        if (firstConnected.isEmpty()) {
            firstConnected = words.at(0);
        }
    }
    return firstConnected;
}

// Only an X11 display can be switched, through the xrandr tool.
bool SwitchDisplayWithXrandr(int width, int height) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return false;
    }
    const QDeadlineTimer deadline(kXrandrMilliseconds);
    bool queried = false;
    const QString output =
        PrimaryOutputName(RunXrandr({QStringLiteral("--query")}, deadline, &queried));
    if (!queried || output.isEmpty()) {
        return false;
    }
    bool switched = false;
    RunXrandr({QStringLiteral("--output"), output, QStringLiteral("--mode"),
               QStringLiteral("%1x%2").arg(width).arg(height)},
              deadline, &switched);
    return switched;
}

ScreenGeometry Screen() {
    return Access().screen ? Access().screen() : PrimaryScreen();
}

bool MatchesPhysically(int deviceIndependent, qreal ratio, int physical) {
    return qAbs(deviceIndependent * ratio - physical) < ratio / 2;
}

}  // namespace

bool HasDesignedSize(const ScreenGeometry& screen) {
    return MatchesPhysically(screen.size.width(), screen.devicePixelRatio,
                             kDesignedScreenSize.width()) &&
           MatchesPhysically(screen.size.height(), screen.devicePixelRatio,
                             kDesignedScreenSize.height());
}

void SetDisplayAccess(DisplayAccess access) {
    Access() = std::move(access);
}

void CheckScreenResolution() {
    try {
        if (HasDesignedSize(Screen())) {
            return;
        }
        if (widgets::ShowConfirm(nullptr, kAskToSwitch) == widgets::Answer::Yes) {
            SetScreenResolution(kDesignedScreenSize.width(), kDesignedScreenSize.height());
            widgets::ShowInformation(nullptr, kSwitched);
            app().ExitMarker = kExitRequested;
            return;
        }
        widgets::ShowInformation(nullptr, kNotSwitched);
    } catch (const std::exception&) {
        widgets::ShowErrorDialog(nullptr, kCheckFailed);
    }
}

void SetScreenResolution(int width, int height) {
    if (width < 0 || height < 0) {
        throw DisplayModeError("A display mode cannot have a negative size.");
    }
    const bool switched = Access().switchMode ? Access().switchMode(width, height)
                                              : SwitchDisplayWithXrandr(width, height);
    if (!switched) {
        throw DisplayModeError("The display mode was not changed.");
    }
}
