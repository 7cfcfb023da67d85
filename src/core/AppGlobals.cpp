#include "core/AppGlobals.h"

AppGlobals& app() {
    static AppGlobals values;
    return values;
}

namespace {

QDateTime& PinnedNow() {
    static QDateTime pinned;
    return pinned;
}

}  // namespace

QDateTime LocalNow() {
    return PinnedNow().isValid() ? PinnedNow() : QDateTime::currentDateTime();
}

void SetLocalNowForTests(const QDateTime& now) {
    PinnedNow() = now;
}
