#include "core/ProgramLocale.h"

#include <QLocale>

const QLocale& ProgramLocale() {
    static const QLocale greek(QLocale::Greek, QLocale::Greece);
    return greek;
}

void ApplyProgramLocale() {
    QLocale::setDefault(ProgramLocale());
}
